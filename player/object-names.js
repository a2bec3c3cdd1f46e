// Which of the movie's shared objects the reader's store keeps, by the
// page's key for it: prefix, the local path as the movie's URL spells it
// (percent-encoded), "/", the name. The store's rule, so that the page
// refuses at once (flush() answers false) what the store would not keep:
// every part of the path and of the name is not empty, at most 200 bytes,
// without NUL and not led by "."; no part of the path is led by "#"; the
// name begins at the first part led by "#" (a name holding "/"), else it
// is the last part. The player's unit tests hold it to the store's cases.
"use strict";
// A property of the page's global object: host.js calls it.
globalThis.pagoroKeepsObject = function pagoroKeepsObject(key, prefix) {
  const kMaxPart = 200;
  // The first byte of a part (256: not ASCII) when it is one the store
  // keeps; -1 else. In the path, %XX is one byte.
  function firstByte(part, escaped) {
    let bytes = 0;
    let first = -1;
    for (let i = 0; i < part.length; ++i) {
      const c = part.charCodeAt(i);
      let byte = 256;
      const hex = part.substr(i + 1, 2);
      if (escaped && c === 0x25 && /^[0-9A-Fa-f]{2}$/.test(hex)) {
        byte = parseInt(hex, 16);
        i += 2;
        bytes += 1;
      } else if (c < 0x80) {
        byte = c;
        bytes += 1;
      } else if (c < 0x800) {
        bytes += 2;
      } else if (c >= 0xd800 && c < 0xdc00 && i + 1 < part.length) {
        bytes += 4;
        i += 1;
      } else {
        bytes += 3;
      }
      if (byte === 0) return -1;
      if (first < 0) first = byte;
    }
    return bytes > 0 && bytes <= kMaxPart && first !== 0x2e ? first : -1;
  }
  if (typeof key !== "string" || !key.startsWith(prefix)) return false;
  const parts = key.slice(prefix.length).split("/");
  let nameAt = parts.findIndex((part) => part.startsWith("#"));
  if (nameAt < 0) nameAt = parts.length - 1;
  const path = parts.slice(0, nameAt);
  if (path.join("/") !== "") {
    for (const part of path) {
      const first = firstByte(part, true);
      if (first < 0 || first === 0x23) return false;
    }
  }
  return parts.slice(nameAt).every((part) => firstByte(part, false) >= 0);
};
