#!/usr/bin/env bash
# Ends other than a close: SIGTERM, SIGHUP, SIGINT (also while the start-up
# error box is up) and a lost display clean up as a close does.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Ends.exe" "${STANDARD_KEYS[@]}" || exit 1
folder=$(book_folder Ends)
gone() { [ -e "$1" ] && echo "no" || echo "gone"; }

# --- SIGTERM (log-out), SIGHUP (terminal closed), SIGINT (Ctrl+C).
for sig in TERM HUP INT; do
  start_reader "$WORK/Ends.exe" || finish
  wait_log "fscommand ready" 60
  check "SIG$sig: assets written" "page1.txt pic.gif" "$(ls "$folder" | tr '\n' ' ' | sed 's/ $//')"
  kill -s "$sig" "$READER_PID"
  wait_exit 30
  check "SIG$sig: exit code" "$((128 + $(kill -l "$sig")))" "${READER_RC:-}"
  check "SIG$sig: cache folder removed" "gone" "$(gone "$folder")"
  check "SIG$sig: movie file removed" "0" "$(movie_files | wc -l)"
  check "SIG$sig: clean-up logged" "1" "$(log_count "clean-up: book released")"
done

# --- A signal while the start-up error box is up (a program file without a book).
cp "$PAGORO" "$WORK/Bare.exe"
printf '\0\0\0\0' >>"$WORK/Bare.exe"
launch_reader "$WORK/Bare.exe"
wait_log "error box: Bare | List index out of bounds (1)" 30
kill -s TERM "$READER_PID"
wait_exit 30
check "signal under the start-up box: exit code" "143" "${READER_RC:-}"
check "signal under the start-up box: cache folder removed" "gone" "$(gone "$(book_folder Bare)")"

# --- The display goes away: a display of its own, ended under the reader.
start_xvfb 1024x768x24 "$WORK/xvfb2.log"
xvfb2=$XVFB_PID
display2=$XVFB_DISPLAY
if [ -n "$display2" ]; then
  DISPLAY=":$display2" launch_reader "$WORK/Ends.exe"
  wait_log "fscommand ready" 60
  check "second display: assets written" "yes" "$([ -e "$folder/page1.txt" ] && echo yes || echo no)"
  kill "$xvfb2"
  wait "$xvfb2" 2>/dev/null
  wait_exit 30
  check "display lost: cache folder removed" "gone" "$(gone "$folder")"
  check "display lost: movie file removed" "0" "$(movie_files | wc -l)"
else
  fail "no second display"
  kill "$xvfb2" 2>/dev/null
fi

finish
