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

# The start screen names the folder of each book on its shelf: the books
# are opened from a reader's ~/Magazines. Where a mount namespace of our own
# can be made, an empty /home is mounted in it (the machine's is not
# touched) and the reader is /home/reader; elsewhere the display's private
# home serves.
if [ -z "${PAGORO_SCREENSHOTS_HOME:-}" ] && unshare --user --map-root-user --mount true 2>/dev/null; then
  exec env PAGORO_SCREENSHOTS_HOME=1 unshare --user --map-root-user --mount "$0" "$build"
fi
if [ -n "${PAGORO_SCREENSHOTS_HOME:-}" ]; then
  mount -t tmpfs -o mode=755 magazines /home
  # The reader's own folders too: the cover names the magazine's folder.
  export HOME=/home/reader XDG_DATA_HOME=/home/reader/.local/share XDG_STATE_HOME=/home/reader/.local/state \
         XDG_CONFIG_HOME=/home/reader/.config XDG_CACHE_HOME=/home/reader/.cache
  mkdir -p "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
fi
magazines=$HOME/Magazines
mkdir -p "$magazines"
cp "$SAMPLE_BIN/Sample.exe" "$SAMPLE_BIN/Sample-v1.exe" "$magazines/"
source "$root/tests/lib.sh"
set +e  # the test helpers report failures themselves
docs=$root/docs

start_reader "$magazines/Sample.exe" || finish
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
start_reader "$magazines/Sample-v1.exe" || finish
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
