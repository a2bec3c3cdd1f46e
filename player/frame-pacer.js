// Frames on the movie's own clock. Ruffle advances the movie from the
// page's animation frames, which come at the display's refresh, and runs
// at most (frame time / the average run of a frame) frames in one of them,
// at least one. A movie that asks for more frames a second than the display
// refreshes, and whose frames take more than half its frame time to run,
// is so held to one frame a refresh; Flash Player ran them back to back.
//
// While the movie's frame time is clearly shorter than the refresh period,
// the callbacks waiting for the next animation frame also run between two
// refreshes, when the movie's next frame is due, as many times as its
// frames fit into the period: an extra animation frame, with the page's
// clock as its time. For a movie at or below the display's rate nothing
// changes: no timer, no extra call. The time a callback gets never goes
// back, as with the engine's own frames.
"use strict";
(() => {
  const nativeRequest = window.requestAnimationFrame.bind(window);
  const nativeCancel = window.cancelAnimationFrame.bind(window);
  const waiting = new Map(); // id -> callback, for the next animation frame
  let given = 0; // the latest time handed to a callback

  // The display's refresh period: the shortest step between the engine's
  // last animation frames (a frame the page was too busy for makes a step
  // of two periods).
  const kSteps = 32;
  const steps = [];
  let lastRefresh = -1;
  let refreshPeriod = 0;

  // A player whose movie tells no frame rate gets no extra frames; the
  // page says so once.
  let player = null;
  let noRateTold = false;
  function movieFrameTime() {
    if (!player || !player.isConnected) player = document.querySelector("ruffle-player");
    const rate = player && player.metadata ? Number(player.metadata.frameRate) : 0;
    if (player && player.metadata && !(rate > 0) && !noRateTold) {
      noRateTold = true;
      console.warn("frame pacer: the player tells no frame rate; frames come at the display's refresh only");
    }
    return rate > 0 ? 1000 / rate : 0;
  }

  function run(callback, time) {
    given = Math.max(given, time);
    callback(given);
  }

  // The callbacks waiting now run as an extra frame; those they ask for
  // wait for the next one.
  function runWaiting() {
    const now = [...waiting];
    waiting.clear();
    for (const [id, callback] of now) {
      nativeCancel(id);
      run(callback, performance.now());
    }
  }

  let timer = 0;
  function planExtraFrames(refresh) {
    clearTimeout(timer);
    timer = 0;
    const frameTime = movieFrameTime();
    if (!(refreshPeriod > 0 && frameTime > 0 && frameTime < refreshPeriod * 0.9)) return;
    // Nothing is due within a millisecond of the next refresh.
    const end = refresh + refreshPeriod - 1;
    const plan = (due) => {
      if (due >= end) return;
      timer = setTimeout(
        () => {
          timer = 0;
          if (waiting.size === 0) return;
          runWaiting();
          plan(Math.max(due, performance.now()) + frameTime);
        },
        Math.max(0, due - performance.now()),
      );
    };
    plan(refresh + frameTime);
  }

  function noteRefresh(time) {
    if (time === lastRefresh) return;
    if (lastRefresh >= 0 && time > lastRefresh) {
      steps.push(time - lastRefresh);
      if (steps.length > kSteps) steps.shift();
      refreshPeriod = Math.min(...steps);
    }
    lastRefresh = time;
    planExtraFrames(time);
  }

  window.requestAnimationFrame = function requestAnimationFrame(callback) {
    const id = nativeRequest((time) => {
      waiting.delete(id);
      noteRefresh(time);
      run(callback, time);
    });
    waiting.set(id, callback);
    return id;
  };
  window.cancelAnimationFrame = function cancelAnimationFrame(id) {
    waiting.delete(id);
    nativeCancel(id);
  };
})();
