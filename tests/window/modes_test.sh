#!/usr/bin/env bash
# Window modes and the input hook: "fullscreen" requests, Escape, the right
# mouse button.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Modes.exe" "${STANDARD_KEYS[@]}" --key "122=f11:" || exit 1
start_reader "$WORK/Modes.exe" || finish
wait_log "fscommand ready" 60
focus_movie
MAX="0 0 1024 768"
WIN="82 49 860 660"
got=$(wait_geometry "$MAX"); check "starts maximized" "" "$got"

# --- "fullscreen" "false" gives the window of an 800x600 movie; other args maximize.
key w; got=$(wait_geometry "$WIN"); check "windowed at 82,49 860x660" "" "$got"
key w; focus_movie; check "windowed again changes nothing" "$WIN" "$(geometry "$WID")"
for k in m z f; do
  key "$k"; got=$(wait_geometry "$MAX"); check "key $k maximizes" "" "$got"
  key w; got=$(wait_geometry "$WIN"); check "and windowed again" "" "$got"
done
check "no variable sent for mode requests" "0" "$(log_count "set incommand")"

# --- Escape in windowed mode: nothing, and the movie hears nothing.
key Escape; wait_log "Escape released" 10; focus_movie
check "windowed Escape keeps the window" "$WIN" "$(geometry "$WID")"
check "windowed Escape tells nothing" "0" "$(log_count "set incommand = restore")"

# --- Escape released in maximized mode: "restore" first, then the switch.
key f; got=$(wait_geometry "$MAX"); check "maximized for Escape" "" "$got"
key Escape
wait_log "echo | incommand=restore" 10
got=$(wait_geometry "$WIN"); check "Escape leaves maximized mode" "" "$got"
restore_line=$(grep -nF "set incommand = restore" "$READER_LOG" | head -1 | cut -d: -f1)
switch_line=$(grep -nF "windowed:" "$READER_LOG" | tail -1 | cut -d: -f1)
check "restore sent before the switch" "yes" "$([ "${restore_line:-0}" -gt 0 ] && [ "$restore_line" -lt "$switch_line" ] && echo yes || echo no)"

# --- A held Escape switches once, on its release.
key f; got=$(wait_geometry "$MAX"); check "maximized for the held Escape" "" "$got"
xdotool windowactivate --sync "$WID" >/dev/null 2>&1
xdotool keydown Escape
sleep 2  # how long the key is held: the keyboard repeats it meanwhile
focus_movie
check "held Escape switches nothing" "$MAX" "$(geometry "$WID")"
check "held Escape tells nothing more" "1" "$(log_count "set incommand = restore")"
log "Escape key-up events while held: $(log_count "Escape key up")"
xdotool keyup Escape
got=$(wait_geometry "$WIN"); check "released Escape switches" "" "$got"
COUNT=2 wait_log "echo | incommand=restore" 10
focus_movie
check "one restore for the held key" "2" "$(log_count "set incommand = restore")"

# --- Each right press sends "restorePage", in both modes; the movie never sees it.
focus_movie
before=$(log_count "fscommand mouse | down")
xdotool mousemove --sync 500 380
import -silent -window root -crop 300x300+350+230 "$WORK/before.png"
xdotool mousemove --sync 500 380 click 3
wait_log "echo | incommand=restorePage" 10
# A key the movie turns into a command: an open menu would take it instead.
n=$(log_count "fscommand Quit |"); key c; COUNT=$((n + 1)) wait_log "fscommand Quit |" 10
import -silent -window root -crop 300x300+350+230 "$WORK/after.png"
diff_px=$(compare -metric AE "$WORK/before.png" "$WORK/after.png" null: 2>&1)
check "no context menu after a right press" "0" "$diff_px"
key f; got=$(wait_geometry "$MAX"); check "maximized for the right press" "" "$got"
xdotool mousemove --sync 300 300 click 3
COUNT=2 wait_log "echo | incommand=restorePage" 10
check "right press reported each time" "2" "$(log_count "set incommand = restorePage")"
check "right press leaves the mode" "$MAX" "$(geometry "$WID")"
check "the movie saw no right press" "$before" "$(log_count "fscommand mouse | down")"

# --- F11: true full screen and back to the mode it left, in both modes;
# the movie never sees the key, and is told nothing.
full_screen() { xprop -id "$WID" _NET_WM_STATE | grep -c _NET_WM_STATE_FULLSCREEN; }
full_screen_is() { [ "$(full_screen)" == "$1" ]; }
wait_full_screen() { wait_until 10 full_screen_is "$1"; }  # WANT (1 or 0)
restores=$(log_count "set incommand")
key f; got=$(wait_geometry "$MAX"); check "maximized for F11" "" "$got"
key F11; wait_full_screen 1 && pass "F11 gives full screen"
key F11; wait_full_screen 0 && pass "F11 again leaves it"
got=$(wait_geometry "$MAX"); check "back to maximized mode" "" "$got"
key w; got=$(wait_geometry "$WIN"); check "windowed for F11" "" "$got"
key F11; wait_full_screen 1 && pass "F11 gives full screen from the window"
got=$(wait_geometry "0 0 1024 768"); check "full screen covers the screen" "" "$got"
key F11; got=$(wait_geometry "$WIN"); check "F11 again: back to the window" "" "$got"
focus_movie
check "the movie never saw F11" "0" "$(log_count "fscommand f11")"
check "the movie was told nothing for F11" "$restores" "$(log_count "set incommand")"

# --- F11 ten times from the maximized window, without waiting for the
# window manager between presses, then Escape, then F11.
key f; got=$(wait_geometry "$MAX"); check "maximized for F11 ten times" "" "$got"
for i in $(seq 10); do
  if ((i % 2)); then what=on; else what=off; fi
  n=$(log_count "full screen: $what")
  key F11; COUNT=$((n + 1)) wait_log "full screen: $what" 30
done
wait_full_screen 0 && pass "F11 ten times: not full screen"
got=$(wait_geometry "$MAX"); check "F11 ten times: maximized" "" "$got"
n=$(log_count "set incommand = restore")
key Escape; got=$(wait_geometry "$WIN"); check "then Escape: the window" "" "$got"
check "then Escape: restore told" "$((n + 1))" "$(log_count "set incommand = restore")"
key F11; wait_full_screen 1 && pass "then F11: full screen"
got=$(wait_geometry "0 0 1024 768"); check "then F11: the whole screen" "" "$got"
key F11; got=$(wait_geometry "$WIN"); check "F11: back to the window" "" "$got"
check "alive after F11 ten times" "yes" "$(kill -0 "$READER_PID" 2>/dev/null && echo yes || echo no)"

# --- A movie larger than the screen: the largest window that fits the
# screen, in the movie's shape (884x708 and the margin), centred.
stop_reader
MOVIE_SIZE=1281x1025 make_book "$WORK/Big.exe" "${STANDARD_KEYS[@]}" || exit 1
start_reader "$WORK/Big.exe" || finish
wait_log "fscommand ready" 60
focus_movie
key w; got=$(wait_geometry "40 0 944 768"); check "oversized movie: window within the screen" "" "$got"

# --- A compressed (LZMA) movie opened by itself: the window of its own
# stage, 640x480, whose size lies in the compressed part of the file.
stop_reader
"$REMOTE_MOVIE" "$WORK/Packed.swf" --size 640x480 --lzma "${STANDARD_KEYS[@]}" || exit 1
start_reader "$PAGORO" "$WORK/Packed.swf" || finish
wait_log "fscommand ready" 60
focus_movie
key w; got=$(wait_geometry "162 109 700 540"); check "compressed movie: window of its stage" "" "$got"

[ "$FAILURES" -gt 0 ] && grep "pagoro.protocol\|pagoro.app" "$READER_LOG" | uniq -c >&2
finish
