#!/usr/bin/env bash
# Makes the README's pictures of the sample magazine, in full screen and in
# the window, on a private 1024x768 X display (tests/with-display.sh):
#   scripts/screenshots.sh [BUILD_DIR]     (default: build/release, as make run)
# Needs a build with the reader (make build). Writes docs/sample-*.png and
# docs/start-screen.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)

if [ -z "${PAGORO_SCREENSHOTS_DISPLAY:-}" ]; then
  exec env PAGORO_SCREENSHOTS_DISPLAY=1 "$root/tests/with-display.sh" --size 1024x768 -- "$0" "$build"
fi

export PAGORO=$build/bin/pagoro PAGORO_BOOK=$build/bin/pagoro-book PAGORO_SAMPLE=$build/bin/pagoro-sample \
       SAMPLE_BIN=$build/bin SAMPLE_FILES=$build/sample-magazine REMOTE_MOVIE=none
[ -x "$SAMPLE_BIN/Sample.exe" ] || { echo "screenshots: $SAMPLE_BIN/Sample.exe is missing; run make build" >&2; exit 1; }
source "$root/tests/lib.sh"
set +e  # the test helpers report failures themselves
docs=$root/docs

start_reader "$SAMPLE_BIN/Sample.exe" || finish
page_shown 0 60
# The cover's picture is loaded after the page: wait for it to show.
for _ in $(seq 120); do
  [ "$(pixel 512 400)" != "48,48,48" ] && break
  sleep 0.5
done
settle cover
cp "$WORK/cover.png" "$docs/sample-cover-fullscreen.png"

# turn_to SPOT N: clicks SPOT and waits until page N has been drawn.
turn_to() {
  shot before page
  click "$1"
  page_shown "$2"
  expect_spot_change "page $2 shows" before page
  settle "page$2"
}

turn_to Contents 1
cp "$WORK/page1.png" "$docs/sample-contents-fullscreen.png"
turn_to row3 3
key Escape
wait_geometry "82 49 860 660" >/dev/null || fail "no window"
wait_stage_placed
settle windowed
cp "$WORK/windowed.png" "$docs/sample-chinese-window.png"

click Quit
wait_exit 30

# A second magazine for the shelf, kept until its cover is taken.
start_reader "$SAMPLE_BIN/Sample-v1.exe" || finish
wait_log "shelf: cover of" 60
close_window
wait_exit 30

# The reader started alone: its start screen with the shelf, with the
# window's frame.
start_reader "$PAGORO" || finish
wait_log "shelf: 2 entries" 30
wait_log "start screen" 30
sleep 1
import -silent -frame -window "$WID" "$docs/start-screen.png"
close_window
wait_exit 30
ls -l "$docs"/sample-*.png "$docs"/start-screen.png >&2
finish
