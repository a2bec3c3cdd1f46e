// The web engine refuses fetch() on our own URL scheme while XMLHttpRequest
// to it works; Ruffle loads its core and the movies with fetch(). So fetches
// of this page's scheme go through XMLHttpRequest, the others pass unchanged.
"use strict";
(() => {
  const nativeFetch = window.fetch.bind(window);
  const ownScheme = window.location.protocol;
  const forbiddenHeaders = /^(host|origin|referer|cookie|content-length|connection|accept-encoding)$/i;

  // What the movie loads is a file name, taken into the URL as it is. Two of
  // its characters would not reach the scheme handler: a "#" starts the
  // URL's fragment, which a request leaves out, and a "%" not followed by two
  // hex digits makes the engine take the whole path for unencoded and encode
  // each "%" again. Both are sent percent-encoded instead; the handler finds
  // the file by the name the path decodes to.
  function sendable(href) {
    const hash = href.indexOf("#");
    const whole = hash < 0 ? href : href.slice(0, hash) + href.slice(hash).replace(/#/g, "%23");
    return whole.replace(/%(?![0-9A-Fa-f]{2})/g, "%25");
  }

  async function describe(input, init) {
    const request = input instanceof Request ? input : null;
    const options = init || {};
    const headers = new Headers(options.headers || (request ? request.headers : undefined));
    let body = options.body;
    if (body === undefined && request && request.method !== "GET" && request.method !== "HEAD") {
      body = await request.arrayBuffer();
    }
    return {
      url: sendable(new URL(request ? request.url : String(input), document.baseURI).href),
      method: options.method || (request ? request.method : "GET"),
      headers,
      body: body === undefined ? null : body,
      signal: options.signal || (request ? request.signal : null),
    };
  }

  function viaXhr(call) {
    return new Promise((resolve, reject) => {
      const xhr = new XMLHttpRequest();
      xhr.open(call.method, call.url, true);
      xhr.responseType = "arraybuffer";
      call.headers.forEach((value, name) => {
        if (!forbiddenHeaders.test(name)) xhr.setRequestHeader(name, value);
      });
      xhr.onload = () => {
        const status = xhr.status || 200;
        const type = xhr.getResponseHeader("Content-Type") || "application/octet-stream";
        const nullBody = status === 204 || status === 205 || status === 304;
        const response = new Response(nullBody ? null : xhr.response, {
          status, statusText: xhr.statusText, headers: { "Content-Type": type } });
        // Ruffle resolves a loaded movie's own loads against response.url.
        Object.defineProperty(response, "url", { value: xhr.responseURL || call.url });
        resolve(response);
      };
      xhr.onerror = () => reject(new TypeError("Failed to fetch " + call.url));
      xhr.onabort = () => reject(new DOMException("The request was aborted", "AbortError"));
      if (call.signal) {
        if (call.signal.aborted) { xhr.abort(); return; }
        call.signal.addEventListener("abort", () => xhr.abort());
      }
      xhr.send(call.body);
    });
  }

  window.fetch = async function (input, init) {
    const target = new URL(input instanceof Request ? input.url : String(input), document.baseURI);
    if (target.protocol !== ownScheme) return nativeFetch(input, init);
    return viaXhr(await describe(input, init));
  };
})();
