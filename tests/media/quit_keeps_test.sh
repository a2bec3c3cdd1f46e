#!/usr/bin/env bash
# What a movie stores without flushing it is written as the reader closes,
# however it closes: the movie's own quit 0.2 s after the change, the
# window's close, SIGTERM and a drop of another book right after it; the
# next start of the magazine reads it.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

unset XDG_STATE_HOME

# book NAME KIND ARGS...: makes $WORK/NAME/NAME.exe of a test movie.
book() {
  local name=$1; shift
  local src; src=$(mktemp -d "$WORK/src.XXXXXX")
  mkdir -p "$WORK/$name"
  "$MEDIA_MOVIE" "$src/main.swf" "$@" || return 1
  "$PAGORO_BOOK" pack "$src" -o "$WORK/$name/$name.exe" --size 800x600 --reader "$PAGORO" >/dev/null ||
    return 1
  chmod +x "$WORK/$name/$name.exe"
}

# read_back NAME: starts NAME again (the same book: a magazine is known by
# what it holds); its movie first tells the page it finds in its bookmark,
# which is printed. The quitting movie ends by itself again.
read_back() {
  start_reader "$WORK/$1/$1.exe" || return 1
  wait_log "fscommand read |" 90 || return 1
  grep -F "fscommand read |" "$READER_LOG" | head -1 | sed -e 's/.*fscommand read | *//' -e 's/ *->.*//'
  [ "$1" = Quit ] || close_window
  wait_exit 30
}

# --- The movie quits by itself 0.2 s after storing.
book Quit keep q1 quit || finish
start_reader "$WORK/Quit/Quit.exe" || finish
wait_exit 60
check "a quitting movie's last change: the reader ends by itself" 0 "$READER_RC"
answered() { check "$1: the page answered in time" 0 "$(log_count "the page did not answer")"; }
answered "quit"
check "a quitting movie's last change is kept" q1 "$(read_back Quit)"

# --- The window is closed, SIGTERM, a drop: each right after the change.
book Close keep c1 || finish
start_reader "$WORK/Close/Close.exe" || finish
wait_log "fscommand kept" 90 && close_window
wait_exit 30
answered "the window's close"
check "the last change before the window closes is kept" c1 "$(read_back Close)"

book Term keep t1 || finish
start_reader "$WORK/Term/Term.exe" || finish
wait_log "fscommand kept" 90 && kill -TERM "$READER_PID"
wait_exit 30
answered "SIGTERM"
check "the last change before SIGTERM is kept" t1 "$(read_back Term)"

book Drop keep d1 || finish
book Other store o1 x || finish
start_reader "$WORK/Drop/Drop.exe" || finish
wait_log "fscommand kept" 90 && drop "$WORK/Other/Other.exe"
wait_log "fscommand flushed |" 90 && pass "the dropped book plays"
close_window
wait_exit 30
check "the last change before a drop of another book is kept" d1 "$(read_back Drop)"

# --- A page that doesn't answer doesn't hold the close up.
book Hung keep h1 || finish
start_reader "$WORK/Hung/Hung.exe" || finish
wait_log "fscommand kept" 90
# The web engine's renderer (a child of its zygote, a child of the reader)
# stops: the page never answers.
descendants() { local c; for c in $(pgrep -P "$1"); do echo "$c"; descendants "$c"; done; }
renderer=$(for p in $(descendants "$READER_PID"); do
  grep -qa -- "--type=renderer" "/proc/$p/cmdline" 2>/dev/null && echo "$p"; done | head -1)
check "a page that doesn't answer: its renderer is found" yes "$([ -n "$renderer" ] && echo yes)"
kill -STOP "$renderer"
close_window
wait_exit 30
kill -KILL "$renderer" 2>/dev/null
check "a page that doesn't answer: the reader still ends" 0 "$READER_RC"
check "a page that doesn't answer: the log says the writing was cut short" 1 \
  "$(grep -c "shared objects: the page did not answer" "$READER_LOG")"
finish
