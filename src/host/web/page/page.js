// The page: chooses the module it can run, gives it the page's side of the host (lwPage, read by
// page_bridge.js), and says in the page why when it cannot run. A cross-origin isolated page
// (served with Cross-Origin-Opener-Policy: same-origin and Cross-Origin-Embedder-Policy:
// require-corp) has SharedArrayBuffer and runs the module with threads; any other page the one
// without. The page's state is on <html>: data-build, data-state, data-frame (the frame's size)
// and data-frames (how many it has shown).
import { attachControls } from './controls.js';
import { makePresenter } from './presenter.js';

const root = document.documentElement;
const canvas = document.getElementById('scene');
const note = document.getElementById('note');
const again = document.getElementById('again');

let ended = false;
let controls = null;

function showNote(caption, text) {
  document.getElementById('note-caption').textContent = caption;
  document.getElementById('note-text').textContent = text;
  note.classList.add('shown');
}

function offerStartAgain() {
  again.hidden = false;
  again.onclick = () => location.reload();
  again.focus();
}

function leaveFullScreen() {
  if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
}

// The program has ended (a released Esc, or after its own message): the page's way out.
function end() {
  if (ended) return;
  ended = true;
  if (controls) controls.detach();
  leaveFullScreen();
  canvas.style.cursor = '';
  if (root.dataset.state !== 'failed') {
    root.dataset.state = 'ended';
    showNote('Lumenwaltz', 'The animation has ended.');
  }
  offerStartAgain();
}

function fail(caption, text) {
  root.dataset.state = 'failed';
  showNote(caption, text);
  end();
}

// The canvas at device pixels, whatever the window's size; the last frame is shown again at once.
// Returns the check that a frame makes: a new pixel ratio alone (a zoom, another monitor) leaves
// the canvas' size in the page as it was, and so tells no observer.
function followCanvasSize(presenter) {
  let ratio = 0;
  const fit = () => {
    ratio = window.devicePixelRatio || 1;
    const box = canvas.getBoundingClientRect();
    const width = Math.round(box.width * ratio);
    const height = Math.round(box.height * ratio);
    if (canvas.width === width && canvas.height === height) return;
    canvas.width = width;
    canvas.height = height;
    presenter.redraw();
  };
  new ResizeObserver(fit).observe(canvas);
  return () => {
    if ((window.devicePixelRatio || 1) !== ratio) fit();
  };
}

function pageFor(presenter, checkPixelRatio) {
  let frames = 0;
  const ratio = window.devicePixelRatio || 1;
  return {
    simulatedClock: false,
    // The frame is made for the whole screen, at its device pixels: in full screen it fills it
    // pixel for pixel, in a window it is scaled to fit.
    screenSize: () => [Math.round(screen.width * ratio), Math.round(screen.height * ratio)],
    now: () => performance.now(),
    sleep: () => {},
    tickCount: () => Date.now(),
    surface: (width, height, background) => {
      presenter.surface(width, height, background);
      root.dataset.frame = `${width}x${height}`;
    },
    present: (rows, width, first, count) => {
      if (ended) return;
      checkPixelRatio();
      presenter.present(rows, width, first, count);
      root.dataset.frames = String(++frames);
    },
    message: (text, caption) => fail(caption, text),
    cursor: (visible) => { canvas.style.cursor = visible ? '' : 'none'; },
    close: end,
    setInterval: (tick, ms) => setInterval(tick, ms),
    clearInterval: (id) => clearInterval(id),
    fail: (error) => fail('Lumenwaltz stopped', String(error)),
  };
}

function start(presenter, threads) {
  const checkPixelRatio = followCanvasSize(presenter);
  const script = document.createElement('script');
  script.src = threads ? 'lumenwaltz-threads.js' : 'lumenwaltz.js';
  script.onerror = () => fail('Lumenwaltz cannot start', `${script.src} could not be loaded.`);
  script.onload = () => {
    globalThis.createLumenwaltz({
      lwPage: pageFor(presenter, checkPixelRatio),
      onAbort: (what) => fail('Lumenwaltz stopped', String(what)),
    }).then((module) => {
      if (ended) return;
      controls = attachControls(canvas, module);
      root.dataset.state = 'running';
    }, (error) => fail('Lumenwaltz cannot start', String(error)));
  };
  document.head.appendChild(script);
}

const threads = window.crossOriginIsolated === true && typeof SharedArrayBuffer === 'function';
root.dataset.build = threads ? 'threads' : 'one thread';
if (typeof WebAssembly !== 'object') {
  fail('Lumenwaltz cannot run here', 'It needs WebAssembly, which this browser does not offer.');
} else {
  const presenter = makePresenter(canvas);
  if (presenter) start(presenter, threads);
  else fail('Lumenwaltz cannot run here', 'It needs WebGL, which this browser does not offer or has turned off.');
}
