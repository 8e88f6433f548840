// The page as node plays it for the one-thread module (build-web/lumenwaltz.js): a screen of a
// given size, a clock that moves only when the program sleeps (so a frame takes no time and the
// same seed gives the same frames, as the native record mode's), and each finished frame handed
// to onFrame(frame, pixels, key) (pixels only when keepPixels: the benchmark leaves the frame where
// it is, as a page's upload does; key(keyCode, pressed) reaches the program as the page's keys do,
// read at the end of this frame). After `frames` frames it presses and releases Esc, as the record
// mode does.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

export async function runScene({ site, width, height, seed = 1, frames, onFrame, keepPixels = true }) {
  const createLumenwaltz = createRequire(import.meta.url)(path.join(site, 'lumenwaltz.js'));
  let now = 0;
  let nextTimer = 1;
  const timers = new Map();  // id -> { fn, period, due }
  let latest = null;  // the last presented surface, bottom-up rows
  let presentedSinceSleep = false;
  let framesDone = 0;
  const messages = [];
  let module = null;
  let finish;
  const ended = new Promise((resolve, reject) => { finish = { resolve, reject }; });

  const page = {
    simulatedClock: true,
    screenSize: () => [width, height],
    now: () => now,
    tickCount: () => seed,
    surface: (w, h) => { latest = new Uint8Array(w * h * 4); },
    present: (rows, rowWidth, first) => {
      if (keepPixels) latest.set(rows, first * rowWidth * 4);
      presentedSinceSleep = true;
    },
    // A frame ends where the program sleeps after presenting it, as on the headless host.
    sleep: (ms) => {
      if (presentedSinceSleep) {
        presentedSinceSleep = false;
        framesDone += 1;
        onFrame(framesDone, latest, (keyCode, pressed) => module._lw_web_key(keyCode, pressed ? 1 : 0, 0, 0));
        if (framesDone === frames) {
          module._lw_web_key(27, 1, 0, 0);
          module._lw_web_key(27, 0, 0, 0);
        }
      }
      now += ms;
      for (const timer of timers.values()) {
        // Ticks that pile up arrive as one, as a window timer's do.
        if (now >= timer.due) {
          while (timer.due <= now) timer.due += timer.period;
          timer.fn();
        }
      }
    },
    setInterval: (fn, period) => {
      timers.set(nextTimer, { fn, period, due: now + period });
      return nextTimer++;
    },
    clearInterval: (id) => timers.delete(id),
    message: (text, caption) => messages.push(`${caption}: ${text}`),
    cursor: () => {},
    close: () => finish.resolve({ frames: framesDone, messages }),
    fail: (error) => finish.reject(error instanceof Error ? error : new Error(String(error))),
  };
  // Given the bytes, the module does not fetch them: node's fetch takes no file paths.
  const wasmBinary = readFileSync(path.join(site, 'lumenwaltz.wasm'));
  module = await createLumenwaltz({ lwPage: page, wasmBinary, print: () => {}, printErr: (text) => messages.push(text) });
  return ended;
}
