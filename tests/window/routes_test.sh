#!/usr/bin/env bash
# Every route alike: what is dropped on a playing magazine is judged by its
# content as `pagoro FILE` judges it; one window per movie file as per book;
# the window says what it plays; a start and close print nothing.
source "$(dirname "$0")/../lib.sh"

mkdir -p "$WORK/game"
"$REMOTE_MOVIE" "$WORK/game/intro.swf" --watch TempPath "${STANDARD_KEYS[@]}" || exit 1
"$REMOTE_MOVIE" "$WORK/game.swf" --watch TempPath "${STANDARD_KEYS[@]}" --text game || exit 1
make_projector "$WORK/game/Game.exe" "$WORK/game.swf"
make_book "$WORK/Own.exe" "${STANDARD_KEYS[@]}" || exit 1

# --- A projector and a plain movie dropped on a playing book play; the book
# executable keeps its own title.
start_reader "$WORK/Own.exe" || finish
wait_log "fscommand ready" 60
focus_movie
drop "$WORK/game/Game.exe"
wait_log "plays a projector's movie" 30 && pass "a dropped projector plays"
COUNT=2 wait_log "fscommand ready" 60
check "no error box for it" "0" "$(log_count "error box")"
focus_movie
key t; wait_log "echo | TempPath=$WORK/game/" 20 && pass "TempPath names the projector's folder"
drop "$WORK/game/intro.swf"
wait_log "plays a movie" 30 && pass "a dropped .swf plays"
COUNT=3 wait_log "fscommand ready" 60
check "the book executable keeps its title" "Own" "$(xdotool getwindowname "$WID")"
close_window
wait_exit 20
check "the projector's movie file removed" "0" "$(movie_files | wc -l)"

# --- `pagoro intro.swf` is titled by the movie; a second one brings the first
# to the front and ends.
start_reader "$PAGORO" "$WORK/game/intro.swf" || finish
wait_log "fscommand ready" 60
check "titled by the movie" "intro" "$(xdotool getwindowname "$WID")"
FIRST=("$READER_PID" "$READER_LOG" "$WID")
launch_reader "$PAGORO" "$WORK/game/intro.swf"
wait_exit 60 && check "the second start ends with success" "0" "$READER_RC"
check "it showed no window of its own" "0" "$(log_count "fscommand ready")"
READER_PID=${FIRST[0]} READER_LOG=${FIRST[1]} WID=${FIRST[2]}
wait_log "called to the front by another reader" 20 && pass "the first reader is called to the front"
# A drop of a book on it: the title follows what plays.
drop "$WORK/Own.exe"
COUNT=2 wait_log "fscommand ready" 60
check "titled by the dropped book" "Own" "$(xdotool getwindowname "$WID")"
# The movie is free again: a new start of it plays in a reader of its own.
SECOND=("$READER_PID" "$READER_LOG" "$WID")
start_reader "$PAGORO" "$WORK/game/intro.swf" || finish
wait_log "fscommand ready" 60 && pass "a movie the first reader left plays in another"
stop_reader
READER_PID=${SECOND[0]} READER_LOG=${SECOND[1]} WID=${SECOND[2]}
close_window
wait_exit 20
check "the dropped book's folder removed" "no" "$([ -e "$(book_folder Own)" ] && echo yes || echo no)"

# --- A start and close print nothing on standard error (the log is off).
"$REMOTE_MOVIE" "$WORK/Quit.swf" --start "quit:" || exit 1
"$PAGORO" "$WORK/Quit.swf" >"$WORK/quiet.out" 2>"$WORK/quiet.err" &
READER_PID=$!
wait_exit 90 && check "the movie's own quit ends the reader" "0" "$READER_RC"
check "nothing on standard error" "" "$(cat "$WORK/quiet.err")"
check "nothing on standard output" "" "$(cat "$WORK/quiet.out")"

finish
