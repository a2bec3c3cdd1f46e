#!/usr/bin/env bash
# The reader started without a magazine: its start screen, the Open dialog
# (Ctrl+O) and a drop onto it; either way the magazine then plays as a book
# executable's does.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Dropped.exe" "${STANDARD_KEYS[@]}" || exit 1

# visible_windows: how many windows of the reader show.
visible_windows() { xdotool search --onlyvisible --pid "$READER_PID" --name . 2>/dev/null | wc -l; }

# --- A normal decorated window of its own size that says what to do, and
# the Open dialog, in which typing the path opens the book.
start_reader "$PAGORO" || finish
wait_log "start screen" 30
check "title" "pagoro" "$(xdotool getwindowname "$WID")"
read -r _ _ w h < <(geometry "$WID")
check "a window, not the screen" "640x400" "${w}x${h}"
top=$(xprop -id "$WID" _NET_FRAME_EXTENTS | awk -F', ' '{print $3}')
check "decorated by the window manager" "yes" "$([ "${top:-0}" -gt 0 ] && echo yes || echo no)"
check "no gray void" "no" "$([ "$(pixel 512 384)" == "128,128,128" ] && echo yes || echo no)"
check "nothing plays yet" "0" "$(log_count "fscommand ready")"
key ctrl+o
dialog=$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name 'Open a magazine' | head -1)
[ -n "$dialog" ] && pass "Ctrl+O opens the file dialog"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
xdotool type --delay 10 "$WORK/Dropped.exe"
xdotool key Return
wait_log "fscommand ready" 60 && pass "the chosen book plays"
find_window 1024 768 && pass "full screen, as a book executable"
check "titled by the chosen magazine" "Dropped" "$(xdotool getwindowname "$WID")"
check "the start screen is gone" "1" "$(visible_windows)"
# Keys reach the movie at once, without a click, as for a book executable.
key t; wait_log "echo | TempPath=$(book_folder Dropped)/" 20 && pass "a key reaches the movie; TempPath names its folder"
check "the movie started once" "1" "$(log_count "fscommand ready")"
key w; got=$(wait_geometry "82 49 860 660" 10); check "windowed, as a book executable" "" "$got"
close_window
wait_exit 20
check "exit code" "0" "${READER_RC:-}"

# --- A magazine dropped onto the start screen plays.
start_reader "$PAGORO" || finish
wait_log "start screen" 30
drop "$WORK/Dropped.exe"
wait_log "fscommand ready" 60 && pass "the dropped book plays"
find_window 1024 768 && pass "full screen after the drop"
check "titled by the dropped magazine" "Dropped" "$(xdotool getwindowname "$WID")"
check "the start screen is gone after the drop" "1" "$(visible_windows)"
key r; wait_log "echo | incommand=Refresh" 20 && pass "a key reaches the dropped book's movie"
close_window
wait_exit 20

# --- A drop of something else leaves the start screen up.
start_reader "$PAGORO" || finish
wait_log "start screen" 30
echo "no magazine" >"$WORK/notes.txt"
drop "$WORK/notes.txt"
wait_log "holds no magazine" 20 && pass "a junk drop is named"
dismiss_box
wait_no_box 10
check "the start screen stays" "1" "$(visible_windows)"
check "still running" "yes" "$(kill -0 "$READER_PID" 2>/dev/null && echo yes || echo no)"
close_window
wait_exit 20

finish
