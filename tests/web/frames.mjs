// The page's frames under node beside the native program's: the same seed, the same simulated
// clock, byte for byte the same frames when both decode with stb_image; and how far they lie from
// the frames of the native program's own decoder, TurboJPEG.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { check } from './check.mjs';
import { runScene } from './node_page.mjs';
import { readPng, surfaceToRgb, writePng } from './png.mjs';

const framePath = (folder, n) => path.join(folder, `frame-${String(n).padStart(5, '0')}.png`);

function record(program, width, height, frames, folder) {
  execFileSync(program, ['--record', folder, '--frames', String(frames), '--size', `${width}x${height}`, '--seed', '1'],
    { stdio: ['ignore', 'ignore', 'pipe'] });
}

// The first frame that differs, kept for a person to look at: the page's, the native one, and the
// pixels that differ in white.
function keepDifference(folder, n, width, height, web, native) {
  mkdirSync(folder, { recursive: true });
  const diff = Buffer.alloc(web.length);
  for (let i = 0; i < web.length; i += 3) {
    if (web[i] !== native[i] || web[i + 1] !== native[i + 1] || web[i + 2] !== native[i + 2]) diff.fill(255, i, i + 3);
  }
  for (const [name, rgb] of [['web', web], ['native', native], ['diff', diff]]) {
    writePng(path.join(folder, `frame-${n}-${name}.png`), { width, height, rgb });
  }
}

// Compares frame n (every `every`-th, and the first and last two) with the native stb frames;
// with `turboJpegProgram`, every frame is also measured against that program's.
export async function compareWithNative({ site, stbProgram, turboJpegProgram, width, height, frames, every,
                                          keepFolder }) {
  const scratch = mkdtempSync(path.join(os.tmpdir(), 'lw-frames-'));
  try {
    record(stbProgram, width, height, frames, path.join(scratch, 'stb'));
    if (turboJpegProgram) record(turboJpegProgram, width, height, frames, path.join(scratch, 'turbojpeg'));
    const differing = [];
    let compared = 0;
    const levels = { max: 0, sum: 0, count: 0 };
    const result = await runScene({
      site, width, height, frames,
      onFrame: (n, surface) => {
        const wanted = n % every === 0 || n <= 2 || n > frames - 2;
        if (!wanted && !turboJpegProgram) return;
        const web = surfaceToRgb(surface, width, height);
        if (wanted) {
          compared += 1;
          const native = readPng(framePath(path.join(scratch, 'stb'), n)).rgb;
          if (!native.equals(web)) {
            if (differing.length === 0) keepDifference(keepFolder, n, width, height, web, native);
            differing.push(n);
          }
        }
        if (turboJpegProgram) {
          const other = readPng(framePath(path.join(scratch, 'turbojpeg'), n)).rgb;
          for (let i = 0; i < web.length; i++) {
            const d = Math.abs(web[i] - other[i]);
            if (d > levels.max) levels.max = d;
            levels.sum += d;
          }
          levels.count += web.length;
        }
      },
    });
    check(result.messages.length === 0, `the page's program said: ${result.messages.join(' | ')}`);
    check(result.frames === frames, `it drew ${result.frames} frames, not ${frames}`);
    check(differing.length === 0, `${differing.length} of ${compared} frames differ from the native ones, the ` +
          `first ${differing[0]} (kept in ${keepFolder})`);
    return { compared, levels };
  } finally {
    rmSync(scratch, { recursive: true, force: true });
  }
}
