#!/usr/bin/env bash
# Packs a small sample book executable from the built reader and starts it.
#   scripts/run-sample.sh BUILD_DIR
# The sample movie shows the folder its files were written to (TempPath)
# and offers keys: F full screen, W window, Q quit (Escape also leaves full
# screen, as in every book).
set -euo pipefail
build=${1:-build/release}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: there is no display (DISPLAY is not set); the reader needs one to show its window." >&2
  echo "run: on a machine without a display, try: tests/with-display.sh -- $0 $build" >&2
  exit 1
fi
if [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; then
  echo "run: the display $DISPLAY cannot be opened; the reader needs one to show its window." >&2
  exit 1
fi

reader=$build/app/pagoro
packer=$build/tools/pagoro-book/pagoro-book
writer=$build/tests/window/pagoro-remote-movie
for f in "$reader" "$packer" "$writer"; do
  [ -x "$f" ] || { echo "run: $f is missing; build first (make build)." >&2; exit 1; }
done

out=$build/sample
rm -rf "$out/files"
mkdir -p "$out/files"
"$writer" "$out/files/main.swf" --size 800x600 \
  --text "pagoro sample book.  F: full screen   W: window   Q: quit   (Esc: window)
The book's files are in:" \
  --show TempPath --start "outcommand:SetTempPath" \
  --key "70=fullscreen:true" --key "87=fullscreen:false" --key "81=quit:"
echo "A page of the sample book." >"$out/files/page1.txt"
"$packer" pack "$out/files" -o "$out/Sample.exe" --size 800x600 --reader "$reader" >/dev/null
# The web engine's sandbox does not run as root; the sample runs without it then.
if [ "$(id -u)" -eq 0 ] && [ -z "${QTWEBENGINE_DISABLE_SANDBOX:-}" ]; then
  echo "run: running as root: the web engine's sandbox is off for this run" >&2
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
echo "run: starting $out/Sample.exe"
exec "$out/Sample.exe"
