#!/usr/bin/env bash
# Makes the README's pictures of the sample magazine, in full screen and in
# the window, on a private 1024x768 X display (tests/with-display.sh):
#   scripts/screenshots.sh [BUILD_DIR]     (default: build/release, as make run)
# Needs a build with the reader (make build). Writes docs/sample-*.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)

if [ -z "${PAGORO_SCREENSHOTS_DISPLAY:-}" ]; then
  exec env PAGORO_SCREENSHOTS_DISPLAY=1 "$root/tests/with-display.sh" --size 1024x768 -- "$0" "$build"
fi

export PAGORO=$build/bin/pagoro PAGORO_BOOK=$build/bin/pagoro-book PAGORO_SAMPLE=$build/bin/pagoro-sample \
       SAMPLE_BIN=$build/bin SAMPLE_FILES=$build/sample REMOTE_MOVIE=none
[ -x "$SAMPLE_BIN/Sample.exe" ] || { echo "screenshots: $SAMPLE_BIN/Sample.exe is missing; run make build" >&2; exit 1; }
source "$root/tests/sample/sample_lib.sh"
docs=$root/docs

start_reader "$SAMPLE_BIN/Sample.exe" || finish
page_shown 0 60
settle cover
cp "$WORK/cover.png" "$docs/sample-cover-fullscreen.png"

click Contents
page_shown 1
settle contents
cp "$WORK/contents.png" "$docs/sample-contents-fullscreen.png"

key Escape
wait_geometry "82 49 860 660" >/dev/null || fail "no window"
settle windowed
click row3
page_shown 3
settle chinese
cp "$WORK/chinese.png" "$docs/sample-chinese-window.png"

click Next
page_shown 4
settle controls
cp "$WORK/controls.png" "$docs/sample-controls-window.png"

click Quit
wait_exit 30
ls -l "$docs"/sample-*.png >&2
finish
