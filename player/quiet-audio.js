// No sound output while nothing sounds. Ruffle mixes its sounds into two
// buffers that take turns for as long as a movie plays, silence included:
// each is filled, scheduled on its AudioContext right after the other and
// filled again when it has played ("ended"). A running context keeps the
// engine's audio output open, with its threads, for nothing.
//
// The AudioContext Ruffle makes is held suspended while what it schedules
// is silent: from the start, and again after kQuietSeconds without a sound.
// While it is held the page plays the context's part: its clock
// (currentTime) runs on the page's, and each buffer Ruffle schedules ends
// when it would have, so that Ruffle goes on mixing on time. The first
// buffer that holds a sound lets the context run again, on a clock that
// goes on from where the page's was; that buffer plays as scheduled. What
// Ruffle asks for itself (suspend() to pause, resume() to play) holds as
// before: paused, the clock stops either way.
"use strict";
(() => {
  const Native = window.AudioContext;
  if (typeof Native !== "function") return;
  const kQuietSeconds = 3;

  // later(CALLBACK, MS): calls CALLBACK in MS milliseconds; answers a
  // function that cancels it. The timers run in a worker: the page's own are
  // throttled while it is hidden (a minimized magazine plays on), to once a
  // second and, after five minutes, once a minute.
  let worker = null;
  const waiting = new Map();
  let nextTimer = 0;
  function later(callback, ms) {
    if (worker === null) {
      try {
        const source = "onmessage = (e) => setTimeout(() => postMessage(e.data.id), e.data.ms);";
        worker = new Worker(URL.createObjectURL(new Blob([source], { type: "text/javascript" })));
        worker.onmessage = (e) => {
          const due = waiting.get(e.data);
          waiting.delete(e.data);
          if (due) due();
        };
      } catch (error) {
        worker = undefined;
      }
    }
    if (!worker) {
      const timer = setTimeout(callback, ms);
      return () => clearTimeout(timer);
    }
    const id = ++nextTimer;
    waiting.set(id, callback);
    worker.postMessage({ id, ms });
    return () => waiting.delete(id);
  }

  function audible(buffer) {
    for (let c = 0; c < buffer.numberOfChannels; c++) {
      const samples = buffer.getChannelData(c);
      for (let i = 0; i < samples.length; i++) if (samples[i] !== 0) return true;
    }
    return false;
  }

  class QuietAudioContext extends Native {
    #held = false; // suspended here for the quiet
    #paused = false; // suspended by Ruffle
    #heldTime = 0; // the clock when it was held (or last stopped)
    #heldAt = 0; // performance.now() then
    #offset = 0; // the clock, less the context's own, while not held
    #lastSound = -Infinity; // when the last buffer with a sound ends
    #live = new Map(); // node -> its end: buffers the context plays
    #ending = []; // {node, end, handler}: buffers the page ends
    #cancelTimer = () => {};

    constructor(...args) {
      super(...args);
      this.#hold();
    }

    get currentTime() {
      if (!this.#held) return super.currentTime + this.#offset;
      return this.#heldTime + (this.#paused ? 0 : (performance.now() - this.#heldAt) / 1000);
    }

    get state() {
      const state = super.state;
      if (!this.#held || state === "closed") return state;
      return this.#paused ? "suspended" : "running";
    }

    suspend() {
      if (!this.#paused) {
        if (this.#held) this.#heldTime = this.currentTime;
        this.#paused = true;
        this.#schedule();
      }
      return this.#held ? Promise.resolve() : super.suspend();
    }

    resume() {
      if (this.#paused) {
        this.#paused = false;
        this.#heldAt = performance.now();
        this.#schedule();
      }
      return this.#held ? Promise.resolve() : super.resume();
    }

    close() {
      this.#cancelTimer();
      this.#ending = [];
      this.#live.clear();
      return super.close();
    }

    createBufferSource() {
      const node = super.createBufferSource();
      const start = node.start;
      const context = this;
      node.start = function (when = 0, ...rest) {
        context.#started(node, start, when, rest);
      };
      return node;
    }

    // A buffer Ruffle schedules to start at WHEN (on this clock).
    #started(node, start, when, rest) {
      const buffer = node.buffer;
      const plain = buffer && !node.loop && rest.length === 0;
      const sounds = !plain || audible(buffer);
      const now = this.currentTime;
      const end = Math.max(when, now) + (buffer ? buffer.duration : 0);
      if (sounds) this.#lastSound = Math.max(this.#lastSound, end);
      if (this.#held && sounds) this.#release();
      else if (!this.#held && !sounds && this.#lastSound + kQuietSeconds <= now) this.#hold();
      if (this.#held) {
        this.#ending.push({ node, end, handler: null });
        this.#schedule();
        return;
      }
      this.#live.set(node, end);
      node.addEventListener("ended", () => this.#live.delete(node));
      start.call(node, Math.max(0, when - this.#offset), ...rest);
    }

    // Suspends the context; the buffers it still had to play end here.
    #hold() {
      this.#heldTime = this.currentTime;
      this.#heldAt = performance.now();
      for (const [node, end] of this.#live) {
        const handler = node.onended;
        node.onended = null;
        node.disconnect();
        this.#ending.push({ node, end, handler });
      }
      this.#live.clear();
      this.#held = true;
      super.suspend().catch(() => {});
      this.#schedule();
    }

    // Lets the context run again, its clock going on from the page's.
    #release() {
      const now = this.currentTime;
      this.#held = false;
      this.#offset = now - super.currentTime;
      if (!this.#paused) super.resume().catch(() => {});
    }

    // Ends, on time, the buffers the page ends.
    #schedule() {
      this.#cancelTimer();
      this.#cancelTimer = () => {};
      if (this.#ending.length === 0 || this.#paused) return;
      const next = Math.min(...this.#ending.map((e) => e.end));
      this.#cancelTimer = later(() => this.#endDue(), Math.max(0, (next - this.currentTime) * 1000));
    }

    #endDue() {
      this.#cancelTimer = () => {};
      const now = this.currentTime;
      const due = this.#ending.filter((e) => e.end <= now).sort((a, b) => a.end - b.end);
      this.#ending = this.#ending.filter((e) => e.end > now);
      for (const { node, handler } of due) {
        const ended = handler || node.onended;
        if (ended) ended.call(node, new Event("ended"));
      }
      this.#schedule();
    }
  }

  window.AudioContext = QuietAudioContext;
})();
