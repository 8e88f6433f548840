// The page's keys and mouse. Each event goes to the program as the Win32 window records it (the
// DOM's keyCodes are Windows' virtual-key codes). Outside full screen, a click or a key other than
// Esc takes the page to full screen and does nothing else, so that the click which asks for it
// does not also pause the animation.

// Keys whose browser meaning (scrolling, focus, going back) would fight the program's.
const KEPT_FROM_BROWSER = new Set([8, 9, 13, 27, 32, 33, 34, 35, 36, 37, 38, 39, 40]);
const ESCAPE = 27;

function askForFullScreen() {
  if (!document.fullscreenEnabled || document.fullscreenElement) return false;
  document.documentElement.requestFullscreen({ navigationUI: 'hide' }).then(() => {
    // Where the keyboard can be locked, Esc comes to the page as to the Windows program; the
    // browser then leaves full screen only on an Esc held down.
    if (navigator.keyboard && navigator.keyboard.lock) return navigator.keyboard.lock(['Escape']);
  }).catch(() => {});
  return true;
}

export function attachControls(canvas, module) {
  let swallowedKey = 0;  // a key whose press asked for full screen: its release is not the program's
  let swallowedButton = -1;
  const devicePixels = (cssPixels) => Math.round(cssPixels * (window.devicePixelRatio || 1));

  const handlers = {
    keydown(event) {
      if (KEPT_FROM_BROWSER.has(event.keyCode)) event.preventDefault();
      if (event.keyCode !== ESCAPE && !event.repeat && askForFullScreen()) {
        swallowedKey = event.keyCode;
        return;
      }
      module._lw_web_key(event.keyCode, 1, event.altKey, event.ctrlKey);
    },
    keyup(event) {
      if (KEPT_FROM_BROWSER.has(event.keyCode)) event.preventDefault();
      if (event.keyCode === swallowedKey) {
        swallowedKey = 0;
        return;
      }
      module._lw_web_key(event.keyCode, 0, event.altKey, event.ctrlKey);
    },
    mousedown(event) {
      if (askForFullScreen()) {
        swallowedButton = event.button;
        return;
      }
      module._lw_web_button(event.button, 1);
    },
    mouseup(event) {
      if (event.button === swallowedButton) {
        swallowedButton = -1;
        return;
      }
      module._lw_web_button(event.button, 0);
    },
    mousemove(event) {
      const box = canvas.getBoundingClientRect();
      module._lw_web_mouse_move(devicePixels(event.clientX - box.left), devicePixels(event.clientY - box.top));
    },
    wheel(event) {
      event.preventDefault();
      if (event.deltaY !== 0) module._lw_web_wheel(event.deltaY < 0 ? 1 : -1, event.buttons, event.ctrlKey, event.shiftKey);
    },
    contextmenu(event) { event.preventDefault(); },
  };
  const targets = { keydown: window, keyup: window, mouseup: window, mousemove: window };
  for (const [type, handler] of Object.entries(handlers)) {
    (targets[type] || canvas).addEventListener(type, handler, { passive: false });
  }
  return {
    detach() {
      for (const [type, handler] of Object.entries(handlers)) (targets[type] || canvas).removeEventListener(type, handler);
    },
  };
}
