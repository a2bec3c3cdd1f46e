#!/usr/bin/env bash
# Starts the sample magazine, the book executable Sample.exe that the build
# makes from the reader and the magazine's generated files.
#   scripts/run-sample.sh BUILD_DIR
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

book=$build/bin/Sample.exe
[ -x "$book" ] || { echo "run: $book is missing; build first (make build)." >&2; exit 1; }

# The web engine's sandbox does not run as root; the sample runs without it then.
if [ "$(id -u)" -eq 0 ] && [ -z "${QTWEBENGINE_DISABLE_SANDBOX:-}" ]; then
  echo "run: running as root: the web engine's sandbox is off for this run" >&2
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
echo "run: starting $book"
exec "$book"
