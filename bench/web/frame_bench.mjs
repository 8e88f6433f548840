// The page's scene frame under node beside the native program's, one thread each, as
// lw_scene_bench times it: the median of 200 frames after 300, the clock simulated so that the
// pacing costs nothing. One line per size:
//   web WxH frame_ms=W native_ms=N ratio=R
// Usage: node bench/web/frame_bench.mjs SITE LW_SCENE_BENCH   (scripts/web --bench)
import { spawnSync } from 'node:child_process';
import path from 'node:path';

import { runScene } from '../../tests/web/node_page.mjs';

const WARM_UP = 300;
const MEASURED = 200;
const SIZES = [[1280, 720], [1920, 1080]];

const median = (values) => values.sort((a, b) => a - b)[values.length >> 1];

// A frame lasts from one of the program's sleeps to the next; the page under node leaves the
// frame where it is, as the browser's upload from the module's memory does.
async function webFrameMs(site, width, height) {
  const times = [];
  let last = 0;
  await runScene({ site, width, height, frames: WARM_UP + MEASURED, keepPixels: false, onFrame: (n) => {
    const now = performance.now();
    if (n > WARM_UP) times.push(now - last);
    last = now;
  } });
  return median(times);
}

function nativeFrameMs(program, width, height) {
  const run = spawnSync(program, ['--size', `${width}x${height}`, '--warm-up', String(WARM_UP), '--frames', String(MEASURED)],
                        { env: { ...process.env, LW_THREADS: '1' }, encoding: 'utf8' });
  const line = /threads=1 frame_ms=([\d.]+)/.exec(run.stdout || '');
  if (!line) throw new Error(`${program} printed no frame time: ${run.stderr || run.error}`);
  return Number(line[1]);
}

const [site, program] = process.argv.slice(2).map((p) => path.resolve(p));
if (!site || !program) {
  console.error('usage: node bench/web/frame_bench.mjs SITE LW_SCENE_BENCH');
  process.exit(2);
}
for (const [width, height] of SIZES) {
  const web = await webFrameMs(site, width, height);
  const native = nativeFrameMs(program, width, height);
  console.log(`web ${width}x${height} frame_ms=${web.toFixed(3)} native_ms=${native.toFixed(3)} ratio=${(web / native).toFixed(2)}`);
}
