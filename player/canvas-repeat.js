// A frame that draws the page's canvas exactly as the frames before it did
// is not drawn again. Ruffle redraws its whole stage at the movie's frame
// rate even when nothing on it changes; every such redraw makes the engine
// composite and hand over a new frame, which on a machine without a
// graphics card costs most of a still page's processor time.
//
// Inside an animation-frame callback, the drawing calls on a canvas that is
// part of the page are recorded instead of run. When the callback returns,
// the calls are compared with those of the frame before: the same calls with
// the same arguments (numbers and strings equal, objects the same object and,
// for a canvas drawn from, not drawn on since) leave the canvas as it is;
// anything else runs them. A frame is skipped only after two equal frames,
// so that the context's state (what the calls set) is also the same. Frames
// whose pixels can't be known from their calls always run: a filter other
// than a colour matrix (which names an SVG element that may have changed),
// a video frame, pixel data. Reading from the context while recording runs
// what was recorded first.
//
// Ruffle draws text in device fonts glyph by glyph from a white atlas,
// coloured by an SVG colour matrix filter whose values it sets before each
// glyph. The engine applies the filter to every glyph of every frame (most
// of a text page's drawing time), and with the matrix as it stands when the
// frame is drawn, so that all such text came out in the colour set last.
// Here a glyph is coloured once, by the matrix set for it, into a canvas of
// its own, which is drawn from then on without a filter.
//
// When the reader asks for it (frameLogInterval, set before the page's
// scripts run), the page logs how many frames drew on the stage (every
// frame the player rendered) and how many of them reached the canvas, with
// the page's clock, at most once every that many milliseconds.
"use strict";
(() => {
  const context2d = CanvasRenderingContext2D.prototype;
  // A canvas's (or path's) changes, counted: a drawing source is the same
  // only when it is the same object with the same count.
  const changes = new WeakMap();
  // The calls that made a path, for paths known by them.
  const paths = new WeakMap();
  // The objects this frame's recorded calls draw from.
  let sources = new WeakSet();
  // Counts a change of a canvas or path; one that a recorded call draws
  // from runs the recording first, so that it draws what it would have.
  function changed(object) {
    if (recording && sources.has(object)) {
      runRecorded();
      unsure = true;
    }
    changes.set(object, (changes.get(object) || 0) + 1);
  }

  let inFrame = 0;
  let recording = null; // this frame's calls: [{context, name, original, args, shots}]
  let unsure = false; // this frame's pixels can't be told by its calls
  const last = new WeakMap(); // context -> {calls, repeated, width, height}

  const isStage = (context) => context.canvas && context.canvas.isConnected;

  const logEvery = Number(window.frameLogInterval) || 0;
  let framesRendered = 0;
  let framesDrawn = 0;
  let loggedAt = 0;
  let ranEarly = false; // this frame's calls ran before it ended
  function countFrame(rendered, drawn) {
    if (!logEvery) return;
    if (rendered) framesRendered++;
    if (drawn) framesDrawn++;
    const now = performance.now();
    if (now - loggedAt < logEvery) return;
    loggedAt = now;
    console.info(`frames: ${framesRendered} rendered, ${framesDrawn} drawn, at ${Math.round(now)} ms`);
  }

  // The filter each stage context has in the recorded calls so far.
  let filters = new Map();
  const filterProperty = Object.getOwnPropertyDescriptor(context2d, "filter");
  const drawImage = context2d.drawImage;
  const currentFilter = (context) =>
    filters.has(context) ? filters.get(context) : filterProperty.get.call(context);

  // ---- coloured glyphs

  // The 20 values of the sRGB colour matrix that FILTER ("url('#id')")
  // names in the tree of CONTEXT's canvas, or null for any other filter.
  function colourMatrix(context, filter) {
    const id = /^url\(\s*['"]?#([^'")]+)['"]?\s*\)$/.exec(filter);
    if (!id) return null;
    const root = context.canvas.getRootNode();
    const element = (root.getElementById && root.getElementById(id[1])) || document.getElementById(id[1]);
    if (!element || element.localName !== "filter" || element.children.length !== 1) return null;
    const matrix = element.children[0];
    const space = matrix.getAttribute("color-interpolation-filters") || element.getAttribute("color-interpolation-filters");
    if (matrix.localName !== "feColorMatrix" || (matrix.getAttribute("type") || "matrix") !== "matrix") return null;
    if (!space || space.toLowerCase() !== "srgb" || matrix.hasAttribute("in") || matrix.hasAttribute("result")) return null;
    const values = (matrix.getAttribute("values") || "").trim().split(/[\s,]+/).map(Number);
    return values.length === 20 && values.every(Number.isFinite) ? values : null;
  }

  let glyphs = new WeakMap(); // source -> Map(key -> canvas)
  let glyphCount = 0;

  // The glyph SOURCE (sx, sy, sw, sh) coloured by MATRIX, as the filter
  // colours it: on colour values that are not premultiplied, clamped.
  function colouredGlyph(source, sx, sy, sw, sh, matrix) {
    const key = `${changes.get(source) || 0}|${sx},${sy},${sw},${sh}|${matrix.join(" ")}`;
    let own = glyphs.get(source);
    const known = own && own.get(key);
    if (known) return known;
    if (glyphCount >= 4096) {
      glyphs = new WeakMap();
      glyphCount = 0;
      own = undefined;
    }
    const image = source.getContext("2d").getImageData(sx, sy, sw, sh);
    const pixels = image.data;
    const out = new Uint8ClampedArray(pixels.length);
    for (let i = 0; i < pixels.length; i += 4) {
      const r = pixels[i] / 255;
      const g = pixels[i + 1] / 255;
      const b = pixels[i + 2] / 255;
      const a = pixels[i + 3] / 255;
      for (let c = 0; c < 4; c++) {
        const m = 5 * c;
        const v = matrix[m] * r + matrix[m + 1] * g + matrix[m + 2] * b + matrix[m + 3] * a + matrix[m + 4];
        out[i + c] = Math.round(Math.min(1, Math.max(0, v)) * 255);
      }
    }
    const canvas = document.createElement("canvas");
    canvas.width = sw;
    canvas.height = sh;
    canvas.getContext("2d").putImageData(new ImageData(out, sw, sh), 0, 0);
    if (!own) glyphs.set(source, (own = new Map()));
    own.set(key, canvas);
    glyphCount++;
    return canvas;
  }

  // An image drawn under a filter that the page doesn't colour itself (not
  // a glyph, or not a colour matrix): its frames are drawn as they come,
  // with the engine's filter. Said once.
  let filterNotReadTold = false;
  function tellFilterNotRead(filter) {
    if (filterNotReadTold) return;
    filterNotReadTold = true;
    console.warn(`canvas repeat: an image drawn under the filter ${filter}, which the page doesn't apply itself; such frames are drawn as they come`);
  }

  // Draws a coloured glyph with the context's filter off for the one call.
  function drawUnfiltered(...args) {
    const filter = filterProperty.get.call(this);
    filterProperty.set.call(this, "none");
    drawImage.apply(this, args);
    filterProperty.set.call(this, filter);
  }

  // The recorded call for a drawImage under FILTER: the glyph coloured
  // beforehand, or null when the filter is not a colour matrix or the
  // source can't be read.
  function glyphCall(context, filter, args) {
    if (args.length !== 9) return null;
    const [source, sx, sy, sw, sh] = args;
    const readable = source instanceof HTMLCanvasElement || source instanceof OffscreenCanvas;
    if (!readable || ![sx, sy, sw, sh].every(Number.isInteger) || sw <= 0 || sh <= 0 || sw * sh > 1 << 20) return null;
    const matrix = colourMatrix(context, filter);
    if (!matrix || !source.getContext("2d")) return null;
    const glyph = colouredGlyph(source, sx, sy, sw, sh, matrix);
    const drawn = [glyph, 0, 0, sw, sh, ...args.slice(5)];
    return { context, name: "drawImage", original: drawUnfiltered, args: drawn, shots: drawn.map(snapshot) };
  }

  // A value as it is compared: objects by identity and change count, paths
  // made of numbers by those calls, matrices by their numbers.
  function snapshot(value) {
    if (value === null || typeof value !== "object") return value;
    if (Array.isArray(value)) return { array: value.map(snapshot) };
    if (value instanceof HTMLVideoElement || value instanceof ImageData) unsure = true;
    sources.add(value);
    if (paths.has(value)) return { path: paths.get(value) };
    if (typeof DOMMatrix !== "undefined" && value instanceof DOMMatrixReadOnly) {
      return { matrix: [value.a, value.b, value.c, value.d, value.e, value.f] };
    }
    return { object: value, count: changes.get(value) || 0 };
  }

  function same(a, b) {
    if (a === b) return true;
    if (a === null || b === null || typeof a !== "object" || typeof b !== "object") {
      return Number.isNaN(a) && Number.isNaN(b);
    }
    if (a.array && b.array) return a.array.length === b.array.length && a.array.every((x, i) => same(x, b.array[i]));
    if (a.matrix && b.matrix) return a.matrix.every((x, i) => x === b.matrix[i]);
    if (a.path !== undefined || b.path !== undefined) return a.path === b.path;
    return a.object === b.object && a.count === b.count;
  }

  function sameCalls(a, b) {
    if (!a || a.length !== b.length) return false;
    for (let i = 0; i < a.length; i++) {
      const x = a[i];
      const y = b[i];
      if (x.original !== y.original || x.shots.length !== y.shots.length) return false;
      for (let j = 0; j < x.shots.length; j++) if (!same(x.shots[j], y.shots[j])) return false;
    }
    return true;
  }

  function run(call) {
    call.original.apply(call.context, call.args);
  }

  // Runs what was recorded, per context, and forgets the frames before:
  // the canvas no longer shows what they drew alone.
  function runRecorded() {
    if (!recording) return;
    const calls = recording;
    recording = [];
    sources = new WeakSet();
    filters = new Map();
    if (calls.length > 0) ranEarly = true;
    for (const call of calls) {
      run(call);
      last.delete(call.context);
    }
  }

  function endFrame() {
    const calls = recording;
    recording = null;
    sources = new WeakSet();
    filters = new Map();
    const byContext = new Map();
    for (const call of calls) {
      if (!byContext.has(call.context)) byContext.set(call.context, []);
      byContext.get(call.context).push(call);
    }
    let drawn = false;
    for (const [context, own] of byContext) {
      const before = last.get(context);
      const canvas = context.canvas;
      const equal =
        !unsure && before && before.width === canvas.width && before.height === canvas.height && sameCalls(before.calls, own);
      if (equal && before.repeated) continue; // the canvas shows this already
      drawn = true;
      for (const call of own) run(call);
      if (unsure) {
        last.delete(context);
      } else {
        last.set(context, { calls: own, repeated: equal, width: canvas.width, height: canvas.height });
      }
    }
    unsure = false;
    countFrame(ranEarly || calls.length > 0, ranEarly || drawn);
    ranEarly = false;
  }

  // Drawing on an offscreen canvas only counts its changes.
  const prototypes = [context2d];
  if (typeof OffscreenCanvasRenderingContext2D !== "undefined") prototypes.push(OffscreenCanvasRenderingContext2D.prototype);
  for (const prototype of prototypes) wrapContext(prototype);

  function wrapContext(prototype) {
    for (const name of Object.getOwnPropertyNames(prototype)) {
      const descriptor = Object.getOwnPropertyDescriptor(prototype, name);
      if (name === "constructor" || name === "canvas") continue;
      if (typeof descriptor.value === "function") {
        const original = descriptor.value;
        // Calls that make an object draw nothing; calls that read see what
        // was recorded so far.
        const makes = /^create/.test(name);
        const reads = /^(get|is|measure)/.test(name);
        prototype[name] = function (...args) {
          if (makes) return original.apply(this, args);
          if (recording && isStage(this)) {
            if (!reads) {
              if (name === "putImageData") unsure = true;
              const filter = prototype === context2d ? currentFilter(this) : "none";
              let call = null;
              if (filter !== "none") {
                call = name === "drawImage" ? glyphCall(this, filter, args) : null;
                if (!call) {
                  unsure = true;
                  if (name === "drawImage") tellFilterNotRead(filter);
                }
              }
              recording.push(call || { context: this, name, original, args, shots: args.map(snapshot) });
              return undefined;
            }
            runRecorded();
            unsure = true;
          } else if (!reads) {
            changed(this.canvas);
            if (isStage(this)) last.delete(this);
          }
          return original.apply(this, args);
        };
      } else if (descriptor.set) {
        Object.defineProperty(prototype, name, {
          configurable: true,
          enumerable: descriptor.enumerable,
          get() {
            if (recording && isStage(this)) {
              runRecorded();
              unsure = true;
            }
            return descriptor.get.call(this);
          },
          set(value) {
            if (recording && isStage(this)) {
              if (name === "filter") filters.set(this, String(value));
              recording.push({ context: this, name, original: descriptor.set, args: [value], shots: [snapshot(value)] });
              return;
            }
            changed(this.canvas);
            if (isStage(this)) last.delete(this);
            descriptor.set.call(this, value);
          },
        });
      }
    }
  }

  // A canvas resized is cleared; a path changed is another path.
  for (const proto of [HTMLCanvasElement.prototype, OffscreenCanvas.prototype]) {
    for (const name of ["width", "height"]) {
      const descriptor = Object.getOwnPropertyDescriptor(proto, name);
      Object.defineProperty(proto, name, {
        configurable: true,
        enumerable: descriptor.enumerable,
        get: descriptor.get,
        set(value) {
          changed(this);
          descriptor.set.call(this, value);
        },
      });
    }
  }
  // A path made empty and drawn with numbers, other paths and matrices is
  // known by those calls,
  // so that a path made anew every frame (Ruffle's clip of a text field)
  // is the same path as the frame before's.
  const NativePath = window.Path2D;
  const ids = new WeakMap();
  let nextId = 0;
  // An argument of a path's call as it is written down: a number, a path
  // (by its calls, or by identity and change count), a matrix by its
  // numbers; null for anything else.
  function pathWord(arg) {
    if (typeof arg === "number" || typeof arg === "boolean") return String(arg);
    if (arg instanceof NativePath) {
      if (paths.has(arg)) return `{${paths.get(arg)}}`;
      if (!ids.has(arg)) ids.set(arg, ++nextId);
      return `#${ids.get(arg)}.${changes.get(arg) || 0}`;
    }
    if (typeof DOMMatrixReadOnly !== "undefined" && arg instanceof DOMMatrixReadOnly) return `m${arg.toFloat64Array().join(" ")}`;
    return null;
  }
  window.Path2D = class Path2D extends NativePath {
    constructor(...args) {
      super(...args);
      if (args.length === 0) paths.set(this, "");
    }
  };
  for (const name of Object.getOwnPropertyNames(NativePath.prototype)) {
    const original = NativePath.prototype[name];
    if (name === "constructor" || typeof original !== "function") continue;
    NativePath.prototype[name] = function (...args) {
      changed(this);
      const made = paths.get(this);
      if (made !== undefined) {
        const words = args.map(pathWord);
        if (made.length < 65536 && !words.includes(null)) paths.set(this, `${made}${name}(${words.join(",")})`);
        else paths.delete(this);
      }
      return original.apply(this, args);
    };
  }

  const requestFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) =>
    requestFrame((time) => {
      const outer = inFrame === 0;
      if (outer) recording = [];
      inFrame++;
      try {
        callback(time);
      } finally {
        inFrame--;
        if (outer) endFrame();
      }
    });
})();
