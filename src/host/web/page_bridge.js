// The page's side of the web host (a library of emscripten's linker): what the C++ side asks of
// the page, handed on to the page object the module was made with (Module.lwPage: page/page.js in
// the browser, the tests' own page under node). Each runs on the page's main thread; a call from
// a worker thread is carried there and waits for it (the __proxy entries).
mergeInto(LibraryManager.library, {
  lw_page_screen_width__proxy: 'sync',
  lw_page_screen_width: function() { return Module.lwPage.screenSize()[0]; },

  lw_page_screen_height__proxy: 'sync',
  lw_page_screen_height: function() { return Module.lwPage.screenSize()[1]; },

  lw_page_clock_is_simulated__proxy: 'sync',
  lw_page_clock_is_simulated: function() { return Module.lwPage.simulatedClock ? 1 : 0; },

  lw_page_now__proxy: 'sync',
  lw_page_now: function() { return Module.lwPage.now(); },

  lw_page_sleep__proxy: 'sync',
  lw_page_sleep: function(ms) { Module.lwPage.sleep(ms); },

  lw_page_tick_count__proxy: 'sync',
  lw_page_tick_count: function() { return Module.lwPage.tickCount() >>> 0; },

  lw_page_surface__proxy: 'sync',
  lw_page_surface: function(width, height, background) { Module.lwPage.surface(width, height, background >>> 0); },

  lw_page_present__proxy: 'sync',
  lw_page_present: function(pixels, width, first, count) {
    Module.lwPage.present(HEAPU8.subarray(pixels, pixels + width * count * 4), width, first, count);
  },

  lw_page_message__proxy: 'sync',
  lw_page_message: function(text, caption) { Module.lwPage.message(UTF8ToString(text), UTF8ToString(caption)); },

  lw_page_cursor__proxy: 'sync',
  lw_page_cursor: function(visible) { Module.lwPage.cursor(visible !== 0); },

  lw_page_close__proxy: 'sync',
  lw_page_close: function() {
    Module['_lw_web_close_request']();
    Module.lwPage.close();
  },

  lw_page_set_timer__proxy: 'sync',
  lw_page_set_timer: function(id, periodMs) {
    var timers = Module.lwTimers || (Module.lwTimers = {});
    if (timers[id] !== undefined) Module.lwPage.clearInterval(timers[id]);
    timers[id] = Module.lwPage.setInterval(function() { Module['_lw_web_timer_tick'](id); }, Math.max(periodMs, 1));
    return 1;
  },

  lw_page_kill_timer__proxy: 'sync',
  lw_page_kill_timer: function(id) {
    var timers = Module.lwTimers || {};
    if (timers[id] === undefined) return 0;
    Module.lwPage.clearInterval(timers[id]);
    delete timers[id];
    return 1;
  },

  // Only without threads. The worker's call may sleep, so it is made as an asynchronous call;
  // it ends when the program's process has returned, or at the page's marker below.
  lw_page_start_worker: function() {
    setTimeout(function() {
      var ended = function(error) {
        if (error !== 'lw-worker-end') Module.lwPage.fail(error);
      };
      try {
        ccall('lw_web_worker_main', null, [], [], {async: true}).then(null, ended);
      } catch (error) {
        ended(error);
      }
    });
  },

  lw_page_end_worker: function() { throw 'lw-worker-end'; },
});
