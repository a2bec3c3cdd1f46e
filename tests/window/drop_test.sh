#!/usr/bin/env bash
# Books dropped on the window.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Own.exe" "${STANDARD_KEYS[@]}" || exit 1
make_book "$WORK/Dropped.exe" "${STANDARD_KEYS[@]}" --text "dropped" || exit 1
make_book "$WORK/First.exe" "${STANDARD_KEYS[@]}" || exit 1
make_book "$WORK/Second.exe" "${STANDARD_KEYS[@]}" || exit 1
# Each log line carries its time, for the timed drops.
export QT_MESSAGE_PATTERN='%{time yyyy-MM-dd hh:mm:ss.zzz} %{if-category}%{category}: %{endif}%{message}'
start_reader "$WORK/Own.exe" || finish
wait_log "fscommand ready" 60
focus_movie

# --- A dropped book plays instead, and "TempPath" names its folder.
drop "$WORK/Dropped.exe"
wait_log "opened $WORK/Dropped.exe" 20
COUNT=2 wait_log "fscommand ready" 60 && pass "the dropped book plays"
focus_movie
key t; wait_log "set TempPath = $(book_folder Dropped)/" 10 && pass "TempPath after the drop"
wait_log "echo | TempPath=$(book_folder Dropped)/" 10 && pass "the movie learns it"
check "title unchanged" "Own" "$(xdotool getwindowname "$WID")"
check "one movie file" "1" "$(movie_files | wc -l)"

# --- Two dropped files open only the first.
drop "$WORK/First.exe" "$WORK/Second.exe"
wait_log "opened $WORK/First.exe" 20
COUNT=3 wait_log "fscommand ready" 60
focus_movie
check "the second one not opened" "0" "$(log_count "open $WORK/Second.exe")"
check "no folder for the second one" "no" "$([ -e "$(book_folder Second)" ] && echo yes || echo no)"

# --- Twenty drops in a row (a book, a movie, a projector), each taken
# within half a second of the button's release: the reader's "dropped:"
# line against the time of the release.
"$REMOTE_MOVIE" "$WORK/movie.swf" "${STANDARD_KEYS[@]}" || exit 1
make_projector "$WORK/Projector.exe" "$WORK/movie.swf"
files=("$WORK/Dropped.exe" "$WORK/movie.swf" "$WORK/Projector.exe")
slow=0
for i in $(seq 20); do
  file=${files[$((i % 3))]}
  n=$(log_count "dropped:"); opened=$(log_count "opened $file")
  ready=$(log_count "fscommand ready")
  drop "$file"
  COUNT=$((n + 1)) wait_log "dropped:" 20 || break
  line=$(grep -F "dropped:" "$READER_LOG" | tail -1)
  taken=$(( $(date -d "${line:0:23}" +%s%3N) - DROP_RELEASED_MS ))
  [ "$taken" -le 500 ] || { slow=$((slow + 1)); log "drop $i ($(basename "$file")) took $taken ms"; }
  COUNT=$((opened + 1)) wait_log "opened $file" 60
  # Its movie is playing (a click before would find no movie to take it).
  COUNT=$((ready + 1)) wait_log "fscommand ready" 60
done
check "twenty drops, each taken within 0.5 s" "0" "$slow"
focus_movie

# --- A dropped file that can't be mapped (a sysfs file behind a link): the
# plain message, which Escape closes, then the error; the program goes on.
if [ -f /sys/kernel/uevent_seqnum ]; then
  ln -s /sys/kernel/uevent_seqnum "$WORK/Unmappable.exe"
  drop "$WORK/Unmappable.exe"
  wait_log "message box: Own | 创建内存映射时发生错误！" 20
  press_in_box Escape
  wait_log "error box: Own | List index out of bounds (1)" 10 && pass "Escape closes the plain message"
  dismiss_box
  wait_no_box
  check "still running after the mapping failure" "yes" "$(kill -0 "$READER_PID" 2>/dev/null && echo yes || echo no)"
else
  log "skipped: no sysfs file to stand in for an unmappable book"
fi

# --- Close removes the own folder, the dropped books' folders (copies that
# each opening writes anew) and the movie file.
close_window
wait_exit 20
check "own folder removed" "no" "$([ -e "$(book_folder Own)" ] && echo yes || echo no)"
check "dropped folder removed" "no" "$([ -e "$(book_folder Dropped)" ] && echo yes || echo no)"
check "first dropped folder removed" "no" "$([ -e "$(book_folder First)" ] && echo yes || echo no)"
check "movie file removed" "0" "$(movie_files | wc -l)"

finish
