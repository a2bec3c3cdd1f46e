// The player's page: one Ruffle player filling the view, driven by the
// control through the web channel object "bridge".
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
    logLevel: "error",
  };

  let bridge = null;
  let player = null;

  // The movie's frame rate, 0 while unknown (for fetch-shim.js).
  window.pagoroFrameRate = () => (player && player.ruffle().metadata ? player.ruffle().metadata.frameRate : 0);

  function stop() {
    if (player) {
      player.remove();
      player = null;
    }
  }

  function play(url) {
    stop();
    player = window.RufflePlayer.newest().createPlayer();
    document.body.appendChild(player);
    const api = player.ruffle();
    // Ruffle calls this after the movie's fscommand has returned to it.
    api.addFSCommandHandler((command, args) => bridge.fsCommand(String(command), String(args)));
    api.traceObserver = (message) => bridge.trace(String(message));
    player.addEventListener("loadeddata", () => bridge.movieLoaded(url));
    api.load({ url }).catch((error) => bridge.movieFailed(url, String(error && error.message ? error.message : error)));
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
    bridge.focusRequested.connect(focusMovie);
    bridge.pageReady();
  });
})();
