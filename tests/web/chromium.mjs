// Debian's Chromium, headless, driven by puppeteer-core, and the page served by scripts/serve-page
// on a free port of 127.0.0.1, plainly or cross-origin isolated.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

import { check } from './check.mjs';
import { readPngBytes } from './png.mjs';

// WebGL in software; and none of Chromium's own connections, which this machine's closed network
// would refuse many at a time.
const FLAGS = ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader', '--disable-quic',
               '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--window-size=1024,640'];

export async function withBrowser(extraFlags, body) {
  const profile = mkdtempSync(path.join(os.tmpdir(), 'lw-chromium-'));
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
                                           args: [...FLAGS, ...extraFlags], defaultViewport: null });
  try {
    return await body(browser);
  } finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

export async function withServer(root, site, isolated, body) {
  const server = spawn(process.execPath, [path.join(root, 'scripts', 'serve-page'), ...(isolated ? [] : ['--plain']), site],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  try {
    const url = await new Promise((resolve, reject) => {
      server.stdout.once('data', (line) => resolve(String(line).split(' ')[0]));
      server.once('exit', (code) => reject(new Error(`scripts/serve-page ended with ${code}`)));
    });
    return await body(url);
  } finally {
    server.kill();
  }
}

// Runs in the page before its own scripts: records every call the page makes of the program's
// input functions in window.lwCalls. The module binds each export on its first call, replacing
// the property; the accessor keeps the record in front of whatever it puts there.
function recordInputCalls() {
  window.lwCalls = [];
  let factory = null;
  const recorded = (module) => {
    for (const name of ['_lw_web_key', '_lw_web_button', '_lw_web_mouse_move', '_lw_web_wheel']) {
      let target = module[name];
      const record = (...args) => {
        window.lwCalls.push([name.slice(8), ...args.map(Number)]);
        return target(...args);
      };
      Object.defineProperty(module, name, { get: () => record, set: (f) => { target = f; } });
    }
    return module;
  };
  Object.defineProperty(window, 'createLumenwaltz', {
    configurable: true,
    get: () => factory && ((settings) => factory(settings).then(recorded)),
    set: (f) => { factory = f; },
  });
}

// A new tab on the page, with its console errors collected and its input calls recorded.
export async function openPage(browser, url, { beforeScripts } = {}) {
  const page = await browser.newPage();
  const errors = [];
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', (error) => errors.push(error.message));
  await page.evaluateOnNewDocument(recordInputCalls);
  if (beforeScripts) await page.evaluateOnNewDocument(beforeScripts);
  await page.goto(url);
  return { page, errors };
}

export const pageState = (page) => page.evaluate(() => ({
  ...document.documentElement.dataset,
  frames: Number(document.documentElement.dataset.frames || 0),
  fullScreen: document.fullscreenElement !== null,
  note: document.getElementById('note').classList.contains('shown') ? document.getElementById('note').innerText : '',
  startAgain: !document.getElementById('again').hidden,
  canvas: [document.querySelector('canvas').width, document.querySelector('canvas').height],
  window: [innerWidth, innerHeight, devicePixelRatio],
}));

export async function waitForState(page, wanted, seconds = 30) {
  try {
    await page.waitForFunction((state) => document.documentElement.dataset.state === state, { timeout: seconds * 1000 },
                               wanted);
  } catch {
    const state = await pageState(page);
    check(false, `the page is ${state.state}, not ${wanted}${state.note ? `: ${state.note}` : ''}`);
  }
}

export async function waitForFrames(page, count, seconds = 30) {
  const target = (await pageState(page)).frames + count;
  try {
    await page.waitForFunction((n) => Number(document.documentElement.dataset.frames) >= n, { timeout: seconds * 1000 },
                               target);
  } catch {
    check(false, `fewer than ${count} frames in ${seconds} s`);
  }
}

export const takeCalls = (page) => page.evaluate(() => window.lwCalls.splice(0));

// The canvas as the screen shows it: RGB rows top down, at device pixels.
export async function screenshot(page) {
  return readPngBytes(Buffer.from(await page.screenshot({ type: 'png', captureBeyondViewport: false })));
}
