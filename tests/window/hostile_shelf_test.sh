#!/usr/bin/env bash
# The shelf's files replaced by something that is no file of the shelf: the
# list or a cover a FIFO, a link to /dev/zero, a folder. The start screen
# and a book come up as always, the shelf empty or without that cover, with
# a warning; nothing waits on the FIFO, nothing reads /dev/zero (the
# reader's peak memory stays where it is with a good shelf), and what lies
# there is left alone.
source "$(dirname "$0")/../lib.sh"

STATE=$HOME/.local/state/pagoro
mkdir -p "$WORK/mags"
make_book "$WORK/mags/Own.exe" "${STANDARD_KEYS[@]}" || exit 1

# peak_mib: the reader's peak resident memory so far (VmHWM), MiB.
peak_mib() { awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$READER_PID/status"; }
# put WHAT PATH: puts a fifo, a link to /dev/zero (zero) or a folder at PATH.
put() {
  rm -rf "$2"
  case $1 in
    fifo) mkfifo "$2" ;;
    zero) ln -s /dev/zero "$2" ;;
    folder) mkdir "$2" ;;
  esac
}
# still WHAT PATH: PATH is still what put made.
still() {
  case $1 in
    fifo) [ -p "$2" ] ;;
    zero) [ "$(readlink "$2")" == /dev/zero ] ;;
    folder) [ -d "$2" ] && [ ! -L "$2" ] ;;
  esac
}
# start_screen_up / book_up: the reader started alone or with the book, up
# within the usual time; their peak memory in PEAK.
start_screen_up() {
  start_reader "$PAGORO" || return 1
  wait_log "shelf: " 30 || return 1
  PEAK=$(peak_mib)
}
book_up() {
  start_reader "$PAGORO" "$WORK/mags/Own.exe" || return 1
  wait_log "fscommand ready" 60 || return 1
  wait_log "shelf: opened" 10 || return 1
  PEAK=$(peak_mib)
}
quit() {
  close_window
  wait_exit 30
}

# A good shelf: one entry with its cover; the peaks to compare with.
book_up || finish
wait_log "shelf: cover of" 30
book_peak=$PEAK
quit
start_screen_up || finish
check "a good shelf" "1" "$(log_count "shelf: 1 entries")"
screen_peak=$PEAK
quit
cover=$(find "$STATE/covers" -name '*.png' | head -1)
[ -n "$cover" ] || { fail "no cover was made"; finish; }
cp "$STATE/recent" "$WORK/recent.good"
cp "$cover" "$WORK/cover.good"
log "peaks with a good shelf: start screen $screen_peak MiB, book $book_peak MiB"

# flat WHAT PEAK BASE: no more than a little above the good shelf's.
flat() {
  if [ "$2" -le $(($3 + 100)) ]; then pass "$1: memory flat ($2 MiB)"; else
    fail "$1: peak $2 MiB against $3 MiB with a good shelf"; fi
}

# with WHAT PATH NAME ENTRIES WARNING: WHAT put at PATH (the shelf's NAME);
# the start screen comes up showing ENTRIES with one WARNING, the book
# comes up, both with flat memory, and what was put there stays.
with() {
  local what=$1 path=$2 name="$3 as $1"
  put "$what" "$path"
  if start_screen_up; then
    check "$name: the shelf shown" "1" "$(log_count "shelf: $4 entries")"
    check "$name: one warning" "1" "$(log_count "$5")"
    flat "$name, start screen" "$PEAK" "$screen_peak"
    quit
  fi
  if book_up; then
    pass "$name: the book comes up"
    flat "$name, book" "$PEAK" "$book_peak"
    quit
  fi
  still "$what" "$path" && pass "$name: left alone" || fail "$name: changed"
  rm -rf "$path"
  cp "$WORK/recent.good" "$STATE/recent"
  cp "$WORK/cover.good" "$cover"
}

for what in fifo zero folder; do
  with "$what" "$STATE/recent" list 0 "the list of recent magazines $STATE/recent can't be read"
  with "$what" "$cover" cover 1 "the cover $cover can't be read"
done

finish
