#!/usr/bin/env bash
# Keys reach the movie without a click: from the start, after Escape and
# after the movie's own mode switch. The reader's own keys (Ctrl+O, F1)
# never do.
source "$(dirname "$0")/../lib.sh"

KEY_RIGHT=39
KEY_O=79
KEY_F1=112
make_book "$WORK/Keys.exe" "${STANDARD_KEYS[@]}" --key "$KEY_RIGHT=right:down" \
  --key "$KEY_O=o:down" --key "$KEY_F1=f1:down" || exit 1
make_book "$WORK/Other.exe" "${STANDARD_KEYS[@]}" --text "other" || exit 1
start_reader "$WORK/Keys.exe" || finish
wait_log "fscommand ready" 60
WIN="82 49 860 660"
MAX="0 0 1024 768"

key Right
wait_log "fscommand right | down" 10 && pass "a key reaches the movie at start, with no click"

key Escape
got=$(wait_geometry "$WIN"); check "Escape gives the window" "" "$got"
key Right
COUNT=2 wait_log "fscommand right | down" 10 && pass "a key reaches the movie after Escape"

key f
got=$(wait_geometry "$MAX"); check "the movie maximizes" "" "$got"
key Right
COUNT=3 wait_log "fscommand right | down" 10 && pass "a key reaches the movie after maximizing"

check "the movie saw no click" "0" "$(log_count "fscommand mouse | down")"

# --- The reader's own keys: Ctrl+O and F1 open its boxes and never reach
# the movie; Escape or Enter closes them and the magazine plays on, in the
# mode it was in.
key ctrl+o
wait_log "chooser: " 20 && pass "Ctrl+O opens the Open dialog"
# Escape held: the dialog closes on the press, the release reaches the
# magazine's window, which must not take it for its own Escape.
if newest_box; then
  xdotool windowactivate --sync "$box" >/dev/null 2>&1
  xdotool keydown Escape
fi
wait_log "chosen: nothing" 20
wait_no_box
xdotool windowactivate --sync "$WID" >/dev/null 2>&1
xdotool keyup Escape
wait_log "Escape key up, of a box" 10 && pass "the release of the dialog's Escape is the dialog's"
key F1
wait_log "key sheet: shown" 20 && pass "F1 shows the key sheet"
press_in_box Escape
wait_log "key sheet: closed" 20 && pass "Escape closes the key sheet"
wait_no_box
key F1
COUNT=2 wait_log "key sheet: shown" 20
press_in_box Return
COUNT=2 wait_log "key sheet: closed" 20 && pass "Enter closes the key sheet"
wait_no_box
key Right
COUNT=4 wait_log "fscommand right | down" 10 && pass "the magazine plays on after the boxes"
check "Escape in the boxes leaves the window maximized" "$MAX" "$(geometry "$WID")"
check "and the magazine is told nothing (restore once, for the first Escape)" "1" "$(log_count "set incommand = restore")"
key o
wait_log "fscommand o | down" 10
check "the movie saw Ctrl+O only as o" "1" "$(log_count "fscommand o | down")"
check "the movie never saw F1" "0" "$(log_count "fscommand f1 |")"

# --- The file chosen with Ctrl+O opens as a dropped one does.
key ctrl+o
COUNT=2 wait_log "chooser: " 20
if newest_box; then
  xdotool windowactivate --sync "$box" >/dev/null 2>&1
  xdotool type --delay 20 "$WORK/Other.exe"
  xdotool key Return
fi
wait_log "chosen: $WORK/Other.exe" 20
wait_log "opened $WORK/Other.exe" 20
COUNT=2 wait_log "fscommand ready" 60 && pass "the chosen book plays"
check "the title is the book's own" "Keys" "$(xdotool getwindowname "$WID")"
finish
