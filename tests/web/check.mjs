// What the suite's cases share: a failed check ends its case with a message, and each case prints
// one line.
export class CaseFailed extends Error {}

export function check(condition, message) {
  if (!condition) throw new CaseFailed(message);
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const tally = { passed: 0, failed: 0 };

export async function runCase(name, body) {
  const began = performance.now();
  try {
    const note = await body();
    tally.passed += 1;
    console.log(`ok    ${name}${note ? `: ${note}` : ''} (${((performance.now() - began) / 1000).toFixed(1)} s)`);
  } catch (error) {
    tally.failed += 1;
    console.log(`FAIL  ${name}: ${error instanceof CaseFailed ? error.message : error.stack}`);
  }
}

export function summary() {
  console.log(`${tally.passed} passed, ${tally.failed} failed`);
  return tally.failed === 0;
}
