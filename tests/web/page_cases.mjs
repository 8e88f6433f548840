// The page in Chromium as a person meets it, served plainly (one thread) and cross-origin
// isolated (threads), and the pages that cannot run.
import { check, sleep } from './check.mjs';
import { openPage, pageState, screenshot, takeCalls, waitForFrames, waitForState, withBrowser,
         withServer } from './chromium.mjs';

const BACKGROUND = [0xA0, 0x8C, 0xF0];
const percent = (share) => `${(100 * share).toFixed(1)} %`;

function backgroundShare({ width, rgb }, [left, top, right, bottom]) {
  let count = 0;
  for (let y = top; y < bottom; y++) {
    for (let x = left, i = (y * width + left) * 3; x < right; x++, i += 3) {
      if (rgb[i] === BACKGROUND[0] && rgb[i + 1] === BACKGROUND[1] && rgb[i + 2] === BACKGROUND[2]) count++;
    }
  }
  return count / ((right - left) * (bottom - top));
}

const wholeShot = (shot) => [0, 0, shot.width, shot.height];

// The calls wanted, in this order, among those the page made (others may come between).
function checkCallsInOrder(calls, wanted) {
  let at = 0;
  for (const call of calls) if (at < wanted.length && wanted[at].every((v, i) => v === call[i])) at++;
  check(at === wanted.length, `the program was not given ${JSON.stringify(wanted[at])}; it was given ${JSON.stringify(calls)}`);
}

async function showsTheScene(page, isolated) {
  await waitForState(page, 'running');
  await waitForFrames(page, 20);
  const state = await pageState(page);
  check(state.build === (isolated ? 'threads' : 'one thread'), `the page runs the build "${state.build}"`);
  const share = backgroundShare(await screenshot(page), [0, 0, ...state.window.slice(0, 2)]);
  check(share > 0.3, `only ${percent(share)} of the page is the background colour`);
  check(share < 0.995, 'no particles on the page');
  return `${state.build}, frame ${state.frame}, ${percent(share)} background`;
}

async function animatesAtItsPace(page) {
  const first = await screenshot(page);
  const before = (await pageState(page)).frames;
  const began = performance.now();
  await sleep(2000);
  const rate = ((await pageState(page)).frames - before) / ((performance.now() - began) / 1000);
  const second = await screenshot(page);
  check(!first.rgb.equals(second.rgb), 'two pictures 2 s apart are the same');
  // The display's rate (60 here) would show as twice this.
  check(rate > 0 && rate < 32, `${rate.toFixed(1)} frames a second`);
  return `${rate.toFixed(1)} frames a second`;
}

// The frame keeps its size and is shown fitted into the canvas, the bars beside it background.
async function followsAResize(page) {
  await page.setViewport({ width: 900, height: 500, deviceScaleFactor: 2 });
  await page.waitForFunction(() => document.querySelector('canvas').width === 1800, { timeout: 5000 }).catch(() => {});
  await waitForFrames(page, 3);
  const state = await pageState(page);
  check(state.canvas[0] === 1800 && state.canvas[1] === 1000, `the canvas is ${state.canvas} in a 900x500 window at 2 device pixels a pixel`);
  const [frameWidth, frameHeight] = state.frame.split('x').map(Number);
  const shownWidth = Math.round(frameWidth * Math.min(1800 / frameWidth, 1000 / frameHeight));
  const left = Math.floor((1800 - shownWidth) / 2);
  check(left > 2, `frame ${state.frame} leaves no bars in a wider canvas`);
  const shot = await screenshot(page);
  const bars = Math.min(backgroundShare(shot, [0, 0, left - 1, 1000]), backgroundShare(shot, [left + shownWidth + 1, 0, 1800, 1000]));
  check(bars === 1, `only ${percent(bars)} of the bars beside the frame are the background colour`);
  check(backgroundShare(shot, [left, 0, left + shownWidth, 1000]) < 0.995, 'no particles in the fitted frame');
  await page.setViewport(null);
  return `frame ${state.frame} shown ${shownWidth}x1000 in a canvas of 1800x1000`;
}

async function controlsReachTheProgram(page) {
  await takeCalls(page);
  await page.mouse.click(300, 200);
  await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 5000 }).catch(() => {});
  check((await pageState(page)).fullScreen, 'a click did not take the page to full screen');
  check(!(await takeCalls(page)).some(([name]) => name === 'button'), 'the click that asked for full screen reached the program');

  for (const key of ['Space', 'ArrowLeft', 'ArrowRight']) await page.keyboard.press(key);
  await page.mouse.move(120, 100);
  await page.mouse.move(100, 100);
  await page.mouse.click(100, 100);
  await page.mouse.wheel({ deltaY: -100 });
  await page.mouse.wheel({ deltaY: 100 });
  await sleep(300);  // moves and wheel steps come with the next animation frame
  const ratio = (await pageState(page)).window[2];
  checkCallsInOrder(await takeCalls(page), [
    ['key', 32, 1], ['key', 32, 0], ['key', 37, 1], ['key', 37, 0], ['key', 39, 1], ['key', 39, 0],
    ['mouse_move', 120 * ratio, 100 * ratio], ['mouse_move', 100 * ratio, 100 * ratio], ['button', 0, 1],
    ['button', 0, 0], ['wheel', 1], ['wheel', -1]]);

  await page.evaluate(() => document.exitFullscreen());
  await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 5000 });
  await page.keyboard.press('KeyA');
  await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 5000 }).catch(() => {});
  check((await pageState(page)).fullScreen, 'a key did not take the page to full screen');
  check(!(await takeCalls(page)).some(([name]) => name === 'key'), 'the key that asked for full screen reached the program');
  return 'full screen by a click and by a key; Space, arrows, moves, click and wheel given as the window records them';
}

// Down held moves the camera back: the particles shrink and more of the background shows.
async function anArrowMovesTheCamera(page) {
  const before = backgroundShare(await screenshot(page), wholeShot(await screenshot(page)));
  for (let i = 0; i < 60; i++) {
    await page.keyboard.down('ArrowDown');
    await sleep(33);
  }
  await page.keyboard.up('ArrowDown');
  await waitForFrames(page, 3);
  const shot = await screenshot(page);
  const after = backgroundShare(shot, wholeShot(shot));
  check(after > before + 0.03, `the background went from ${percent(before)} to ${percent(after)} only`);
  return `background ${percent(before)} before, ${percent(after)} after`;
}

async function escapeEndsItThePagesWay(page) {
  await page.keyboard.down('Escape');
  const held = await pageState(page);
  await sleep(1500);
  const stillHeld = await pageState(page);
  check(stillHeld.state === 'running' && stillHeld.frames > held.frames, 'a held Esc stopped it');
  await page.keyboard.up('Escape');
  await waitForState(page, 'ended', 10);
  const ended = await pageState(page);
  check(!ended.fullScreen, 'still in full screen after it ended');
  check(ended.startAgain && /ended/.test(ended.note), `no offer to start again: "${ended.note}"`);
  await sleep(700);
  check((await pageState(page)).frames === ended.frames, 'it went on drawing after it ended');
  await Promise.all([page.waitForNavigation(), page.click('#again')]);
  await waitForState(page, 'running');
  await waitForFrames(page, 5);
  return 'full screen left, drawing stopped, started again';
}

export async function casesOfServedPage(root, site, isolated, runCase) {
  const label = isolated ? 'cross-origin isolated' : 'served plainly';
  await withServer(root, site, isolated, (url) => withBrowser([], async (browser) => {
    const { page, errors } = await openPage(browser, url);
    await runCase(`${label}: the page shows the scene`, () => showsTheScene(page, isolated));
    await runCase(`${label}: it animates, at the scene's pace`, () => animatesAtItsPace(page));
    await runCase(`${label}: it follows a resize`, () => followsAResize(page));
    await runCase(`${label}: a click or a key takes it to full screen; keys and the mouse reach the program`,
                  () => controlsReachTheProgram(page));
    await runCase(`${label}: an arrow held moves the camera`, () => anArrowMovesTheCamera(page));
    await runCase(`${label}: a held Esc does not end it; released, it ends the page's way`,
                  () => escapeEndsItThePagesWay(page));
    await runCase(`${label}: the console shows no error`, () => check(errors.length === 0, errors.join(' | ')));
  }));
}

// A page that cannot run says why, and is never left blank.
async function failsWithItsMessage(url, flags, beforeScripts, wanted) {
  return withBrowser(flags, async (browser) => {
    const { page } = await openPage(browser, url, { beforeScripts });
    await waitForState(page, 'failed', 30);
    const state = await pageState(page);
    for (const text of wanted) check(state.note.includes(text), `the page says "${state.note}", without "${text}"`);
    return state.note.replace(/\s+/g, ' ');
  });
}

// A screen so large that its frame does not fit the module's memory: the program's own fatal error.
function hugeScreen() {
  Object.defineProperty(screen, 'width', { get: () => 30000 });
  Object.defineProperty(screen, 'height', { get: () => 17000 });
}

export async function casesOfFailingPages(root, site, runCase) {
  await withServer(root, site, false, async (url) => {
    await runCase('without WebGL the page says so', () =>
      failsWithItsMessage(url, ['--disable-webgl', '--disable-3d-apis'], null, ['WebGL']));
    await runCase('without WebAssembly the page says so', () =>
      failsWithItsMessage(url, [], () => { delete globalThis.WebAssembly; }, ['WebAssembly']));
    await runCase('served plainly: a fatal error of the program shows its message', () =>
      failsWithItsMessage(url, [], hugeScreen, ['Process Runtime Error', 'memory allocation return is NULL']));
  });
  await withServer(root, site, true, (url) => runCase('cross-origin isolated: a fatal error of the program shows its message',
    () => failsWithItsMessage(url, [], hugeScreen, ['Process Runtime Error', 'memory allocation return is NULL'])));
}
