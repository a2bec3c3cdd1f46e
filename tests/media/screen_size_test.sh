#!/usr/bin/env bash
# The screen's size a movie reads (System.capabilities.screenResolutionX/Y)
# is the display's, in full screen and in the window, not the size of the
# area the movie is drawn in.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

screen=$(xdpyinfo | awk '/dimensions:/ { print $2; exit }')
mkdir -p "$WORK/Screen"
src=$(mktemp -d "$WORK/src.XXXXXX")
"$MEDIA_MOVIE" "$src/main.swf" screen || exit 1
"$PAGORO_BOOK" pack "$src" -o "$WORK/Screen/Screen.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/Screen/Screen.exe"

windowed_geometry() { read -r _ _ w h < <(geometry "$WID"); [ "${w}x$h" != "$screen" ]; }
said() { grep -F "fscommand screen |" "$READER_LOG" | sed -n "${1}p" | sed -e 's/.*fscommand screen | *//' -e 's/ *->.*//'; }

start_reader "$WORK/Screen/Screen.exe" || finish
wait_log "fscommand screen |" 90
check "the movie reads the screen's size in full screen" "$screen" "$(said 1)"
# In the window, a press makes the movie read it again.
key Escape
wait_log "windowed:" 30 || finish
wait_until 30 windowed_geometry
read -r x y w h < <(geometry "$WID")
check "the window is smaller than the screen" yes "$([ "${w}x$h" != "$screen" ] && echo yes)"
xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
COUNT=2 wait_log "fscommand screen |" 30
check "the movie reads the screen's size in the window" "$screen" "$(said 2)"
close_window
wait_exit 30
finish
