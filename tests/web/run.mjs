// The page, tested: under node its frames beside the native program's, then in headless Chromium
// as a person meets it, served plainly and cross-origin isolated, and the pages that cannot run.
// Prints one line per case and closes with "N passed, N failed".
// Usage: node tests/web/run.mjs   (after scripts/web, and the native builds of scripts/test web)
import { existsSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { check, runCase, summary } from './check.mjs';
import { compareWithNative } from './frames.mjs';
import { casesOfFailingPages, casesOfServedPage } from './page_cases.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const site = path.join(root, 'build-web');
const stbProgram = path.join(root, 'build-stb', 'lumenwaltz');
const turboJpegProgram = path.join(root, 'build', 'lumenwaltz');
const keepFolder = path.join(root, 'build-web-test');

for (const needed of [path.join(site, 'lumenwaltz.js'), stbProgram, turboJpegProgram]) {
  if (!existsSync(needed)) {
    console.error(`tests/web/run.mjs: ${needed} is missing (scripts/test web builds it)`);
    process.exit(2);
  }
}

// 306 frames: the controls strip goes after ten seconds, at frame 305.
await runCase('under node: the frames at 1280x720 are the native ones with the same decoder; TurboJPEG differs little', async () => {
  const { compared, levels } = await compareWithNative({ site, stbProgram, turboJpegProgram, width: 1280, height: 720,
                                                         frames: 306, every: 1, keepFolder });
  const mean = levels.sum / levels.count;
  check(levels.max <= 8, `beside TurboJPEG's frames a channel differs by up to ${levels.max} levels`);
  return `${compared} frames byte for byte; beside TurboJPEG's a channel differs by at most ${levels.max}, by ${mean.toFixed(4)} on average`;
});
await runCase('under node: the frames at 1920x1080 are the native ones with the same decoder', async () => {
  const { compared } = await compareWithNative({ site, stbProgram, width: 1920, height: 1080, frames: 150, every: 10,
                                                 keepFolder });
  return `${compared} of 150 frames compared, byte for byte`;
});
for (const isolated of [false, true]) await casesOfServedPage(root, site, isolated, runCase);
await casesOfFailingPages(root, site, runCase);

process.exitCode = summary() ? 0 : 1;
