// The player's page: one Ruffle player filling the view, driven by the
// control through the web channel object "bridge".
/* global pagoroKeepsObject -- player/object-names.js */
"use strict";
(() => {
  const rufflePath = new URL("ruffle/", document.baseURI).href;

  // The control's settings in Ruffle's terms.
  window.RufflePlayer = window.RufflePlayer || {};
  window.RufflePlayer.config = {
    publicPath: rufflePath,
    polyfills: false,
    autoplay: "on",
    splashScreen: false,
    unmuteOverlay: "hidden",
    contextMenu: "off",
    menu: false,
    showSwfDownload: false,
    warnOnUnsupportedContent: false,
    quality: "high",
    scale: "noScale",
    forceScale: true,
    letterbox: "off",
    wmode: "window",
    allowScriptAccess: true,
    allowNetworking: "all",
    openUrlMode: "allow",
    upgradeToHttps: false,
    allowFullscreen: false,
    // Text in named device fonts ("宋体") is drawn by the page with the
    // system's fonts, Chinese included; Ruffle's built-in font, which it
    // uses otherwise, has no Chinese glyphs.
    deviceFontRenderer: "canvas",
    // Ruffle's warnings and errors reach the control's log through the
    // console (HostPage).
    logLevel: "warn",
  };

  // Ruffle asks for the gamepads on every frame, and the first asking starts
  // the engine's gamepad polling thread for good. ActionScript 1, 2 and 3
  // have no gamepad API, so a movie can't tell: the page has none.
  Object.defineProperty(Navigator.prototype, "getGamepads", {
    value: function getGamepads() {
      return [];
    },
    configurable: true,
    writable: true,
  });

  let bridge = null;
  let player = null;
  let receiver = "";

  // The movie's shared objects. Ruffle keeps them in window.localStorage,
  // under keys "reader/<local path>/<name>", as base64 text; the page's
  // storage is the control's instead: filled before the movie starts, and
  // every change is handed to the control at once, which keeps it on disk.
  // Within the limit, whatever the control answers, the movie sees its data
  // for this run; over it, or for a name the store can't keep
  // (object-names.js), a write fails (flush() answers false). The control's
  // answer can't come within the call: once a write failed on its disk, it
  // says so, and writes fail here (yet reach it) until one succeeds again.
  const saved = new Map();
  let store = { session: 0, own: [], others: new Set(), limit: 0, prefix: "", writing: true };

  function storedSize(value) {
    const padding = value.endsWith("==") ? 2 : value.endsWith("=") ? 1 : 0;
    return Math.floor((value.length * 3) / 4) - padding;
  }

  function isOwn(key) {
    return store.own.some((prefix) => key.startsWith(prefix));
  }

  function fitsLimit(key, value) {
    const own = isOwn(key);
    let total = storedSize(value);
    for (const [k, v] of saved) {
      if (k !== key && isOwn(k) === own && !store.others.has(k)) total += storedSize(v);
    }
    return total <= store.limit;
  }

  function setItem(key, value) {
    const text = String(value);
    if (saved.get(key) === text && store.writing) return;
    if (!pagoroKeepsObject(key, store.prefix) || !fitsLimit(key, text)) {
      throw new DOMException("over the shared objects' limit", "QuotaExceededError");
    }
    saved.set(key, text);
    store.others.delete(key);
    if (bridge) bridge.sharedObjectStored(store.session, key, text);
    if (!store.writing) throw new DOMException("the store can't write", "QuotaExceededError");
  }

  function removeItem(key) {
    if (saved.delete(key) && bridge) bridge.sharedObjectRemoved(store.session, key);
  }

  // Ruffle's core reaches storage through properties only (player/shims.md);
  // what else of the Storage interface is called (Ruffle's own save manager
  // does) gets the same answers from the same map, as the interface's
  // methods win over stored keys in a real Storage. The first such call is
  // logged, as it means Ruffle works differently than assumed.
  let methodsNoted = false;
  function noteMethod(name) {
    if (methodsNoted) return;
    methodsNoted = true;
    console.warn("shared objects: Ruffle called localStorage." + name + "()");
  }
  const methods = {
    getItem: (key) => (saved.has(String(key)) ? saved.get(String(key)) : null),
    setItem: (key, value) => setItem(String(key), value),
    removeItem: (key) => removeItem(String(key)),
    key: (index) => [...saved.keys()][index] ?? null,
    clear: () => [...saved.keys()].forEach(removeItem),
  };

  const storage = new Proxy(Object.create(null), {
    get(_, key) {
      if (typeof key !== "string") return undefined;
      if (key === "length") return saved.size;
      if (Object.hasOwn(methods, key)) {
        return (...args) => {
          noteMethod(key);
          return methods[key](...args);
        };
      }
      return saved.get(key);
    },
    has: (_, key) => saved.has(key),
    set(_, key, value) {
      setItem(key, value);
      return true;
    },
    deleteProperty(_, key) {
      removeItem(key);
      return true;
    },
    ownKeys: () => [...saved.keys()],
    getOwnPropertyDescriptor: (_, key) =>
      saved.has(key)
        ? { value: saved.get(key), writable: true, enumerable: true, configurable: true }
        : undefined,
  });
  Object.defineProperty(window, "localStorage", { get: () => storage, configurable: false });

  // Flash Player wrote a movie's shared objects as the movie ended, flushed
  // or not. Ruffle does so as the page goes ("pagehide"), which a reader
  // that closes does not wait for: the page has it write them now, every
  // few seconds, as a movie gives way to another and when the control asks
  // (it closes); only those that changed reach the control.
  // Ruffle: each player instance listens for "pagehide" on the window and
  // writes every shared object of its movie, synchronously, into
  // localStorage (through `storage` above) from the listener; it does
  // nothing else there for an event whose `persisted` is false.
  function writeSharedObjects() {
    if (!player) return;
    try {
      window.dispatchEvent(new PageTransitionEvent("pagehide", { persisted: false }));
    } catch (error) {
      console.warn("writing the shared objects failed: " + error);
    }
  }
  const kWriteEvery = 3000;
  setInterval(writeSharedObjects, kWriteEvery);

  // The control waits for the answer: the writes cross before it.
  function writeRequested(token) {
    writeSharedObjects();
    bridge.sharedObjectsWritten(token);
  }

  function openStore(given) {
    saved.clear();
    store = {
      session: Number(given.session),
      own: given.own || [],
      // Shared objects other magazines kept: they count for those.
      others: new Set(given.others || []),
      limit: Number(given.limit),
      prefix: String(given.prefix || ""),
      writing: given.writing !== false,
    };
    const entries = given.entries || [];
    for (let i = 0; i + 1 < entries.length; i += 2) saved.set(entries[i], entries[i + 1]);
  }

  // Values for the movie not yet taken: the latest of each name, in the
  // order they were set. The movie's receiver (a function it registered
  // with Ruffle's external interface as it started) sets each on level 0
  // and answers true; until it exists, before the movie's first frame, the
  // values wait for the next animation frame. Nothing runs while nothing
  // waits.
  const pending = new Map();
  let retryScheduled = false;
  // The movie's commands so far, and per name the rank of the value set
  // last: an answer to command n ranks 2n-1 (it belongs inside the
  // command, where a host of the original player set it), another value
  // set after n commands 2n+1. A late answer to a command made before a
  // value was set is older than that value and dropped.
  let commands = 0;
  const ranks = new Map();

  // The movie's commands cross to the control together once the task that
  // raised them ends (name, args, number, name, ...), so that a movie
  // raising hundreds a frame costs one message a frame. A command that
  // repeats the one queued before it is sent once, with the later number:
  // its answer is the same, and the movie takes values as they come.
  let outgoing = [];
  let flushQueued = false;

  function flushCommands() {
    flushQueued = false;
    if (outgoing.length === 0) return;
    const batch = outgoing;
    outgoing = [];
    bridge.fsCommands(batch);
  }

  function queueCommand(command, args) {
    const number = String(++commands);
    const last = outgoing.length - 3;
    if (last >= 0 && outgoing[last] === command && outgoing[last + 1] === args) {
      outgoing[last + 2] = number;
    } else {
      outgoing.push(command, args, number);
    }
    if (!flushQueued) {
      flushQueued = true;
      queueMicrotask(flushCommands);
    }
  }

  // Sets one value on the movie now; false when it can't take it yet.
  function setOnMovie(name, value) {
    // Ruffle shows a registered callback as a method of the player element.
    if (!player || typeof player[receiver] !== "function") return false;
    try {
      return player.ruffle().callExternalInterface(receiver, name, value) === true;
    } catch (error) {
      return false;
    }
  }

  function deliver() {
    retryScheduled = false;
    if (!player) return;
    for (const [name, value] of pending) {
      if (!setOnMovie(name, value)) break;
      pending.delete(name);
    }
    if (pending.size > 0 && !retryScheduled) {
      retryScheduled = true;
      requestAnimationFrame(deliver);
    }
  }

  function setVariables(assignments) {
    for (let i = 0; i + 2 < assignments.length; i += 3) {
      const [name, value, answerTo] = [assignments[i], assignments[i + 1], Number(assignments[i + 2])];
      // An answer to a command this movie has not made is a late one for
      // the movie played before.
      if (answerTo > commands) continue;
      const rank = answerTo > 0 ? 2 * answerTo - 1 : 2 * commands + 1;
      if (ranks.has(name) && rank < ranks.get(name)) continue;
      ranks.set(name, rank);
      // Each value the movie can take goes to it in turn (answers to two
      // commands are two changes); behind one it can't take yet, a value
      // waits, the latest of its name.
      if (pending.size === 0 && setOnMovie(name, value)) continue;
      pending.delete(name);
      pending.set(name, value);
    }
    deliver();
  }

  function stop() {
    // What the movie changed and what it raised before it goes still
    // reach the control, under its own store.
    writeSharedObjects();
    flushCommands();
    pending.clear();
    ranks.clear();
    commands = 0;
    if (player) {
      player.remove();
      player = null;
    }
  }

  function play(url, base, receiverName, storeGiven) {
    // The movie before this one writes its last objects as it goes, to
    // its own store.
    stop();
    openStore(storeGiven);
    receiver = receiverName;
    player = window.RufflePlayer.newest().createPlayer();
    document.body.appendChild(player);
    const api = player.ruffle();
    // Ruffle calls this after the movie's fscommand has returned to it.
    api.addFSCommandHandler((command, args) => queueCommand(String(command), String(args)));
    player.addEventListener("loadeddata", () => bridge.movieLoaded(url));
    const playing = player;
    api
      .load(base ? { url, base } : { url })
      // Ruffle keeps a trace observer only once its instance exists, which
      // load() makes before the movie is fetched and runs.
      .then(() => {
        if (player === playing) api.traceObserver = (message) => bridge.trace(String(message));
      })
      .catch((error) => bridge.movieFailed(url, String(error && error.message ? error.message : error)));
  }

  // Ruffle takes keys only while its element has the page's focus, which a
  // click would give it; the control gives it without one.
  function focusMovie() {
    const element = document.querySelector("ruffle-player");
    if (element) element.focus({ preventScroll: true });
  }

  // The right mouse button belongs to the movie protocol, not to a menu.
  document.addEventListener("contextmenu", (event) => event.preventDefault(), true);

  new QWebChannel(qt.webChannelTransport, (channel) => {
    bridge = channel.objects.bridge;
    bridge.playRequested.connect(play);
    bridge.stopRequested.connect(stop);
    bridge.variablesSet.connect(setVariables);
    bridge.focusRequested.connect(focusMovie);
    bridge.storeWriting.connect((session, writing) => {
      if (session === store.session) store.writing = writing;
    });
    bridge.writeRequested.connect(writeRequested);
    bridge.pageReady();
  });
})();
