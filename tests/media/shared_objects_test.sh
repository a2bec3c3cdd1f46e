#!/usr/bin/env bash
# Shared objects last: what a movie stores with SharedObject is there at
# the next start of the same magazine, kept apart from other magazines
# (but "/" shared), through a crash, with two readers at once, with a
# damaged store and a store that can't be written; the limit; --forget.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

# The store, in the test's private HOME.
unset XDG_STATE_HOME
STORE="$HOME/.local/state/pagoro/shared-objects"

# store_book OUT.exe DEFAULT ROOT [BIG]: a book whose movie reads, then
# stores and flushes, the bookmark of its default path and of "/".
store_book() {
  local out=$1; shift
  local src; src=$(mktemp -d "$WORK/src.XXXXXX")
  "$MEDIA_MOVIE" "$src/main.swf" store "$@" || return 1
  "$PAGORO_BOOK" pack "$src" -o "$out" --size 800x600 --reader "$PAGORO" >/dev/null || return 1
  chmod +x "$out"
}

# run_store NAME DEFAULT ROOT [BIG]: starts book NAME (made anew with these
# values), waits until it has read and flushed; READ and FLUSHED hold what
# it raised.
run_store() {
  local name=$1; shift
  mkdir -p "$WORK/$name"
  store_book "$WORK/$name/$name.exe" "$@" || return 1
  start_reader "$WORK/$name/$name.exe" || return 1
  wait_log "fscommand flushed |" 90 || return 1
  READ=$(said read)
  FLUSHED=$(said flushed)
}
# said COMMAND: the args of the movie's first such command in the log.
said() {
  grep -F "fscommand $1 |" "$READER_LOG" | head -1 | sed -e "s/.*fscommand $1 | *//" -e 's/ *->.*//'
}
warnings() { grep -c "shared objects:.*lasts until it ends" "$READER_LOG"; }
close_reader() { close_window; wait_exit 30; }

# --- Stored in one start, read in the next: the default path and "/".
run_store Mag p1 r1 || finish
check "a first start finds nothing" "undefined|undefined" "$READ"
check "both flushes succeed" "true|true" "$FLUSHED"
# A crash right after the flush loses nothing.
kill -9 "$READER_PID"; wait "$READER_PID" 2>/dev/null; READER_PID=
run_store Mag p2 r2 || finish
check "the next start reads both bookmarks" "p1|r1" "$READ"
check "no warning" 0 "$(warnings)"
close_reader
check "the book's own object is kept under its name" yes \
  "$([ -f "$STORE/books/Mag/main.swf/bookmark.sol" ] && echo yes)"
check "the temporary movie's name is in no place" "" \
  "$(find "$STORE" -name 'tem*' | head -1)"

# --- What the movie stores without a flush is written while it plays (as
# Flash Player wrote it at the end), and is there at the next start.
mkdir -p "$WORK/Keep"
src=$(mktemp -d "$WORK/src.XXXXXX")
"$MEDIA_MOVIE" "$src/main.swf" keep k1 || exit 1
"$PAGORO_BOOK" pack "$src" -o "$WORK/Keep/Keep.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/Keep/Keep.exe"
start_reader "$WORK/Keep/Keep.exe" || finish
wait_log "fscommand kept" 90
wait_until 30 test -f "$STORE/books/Keep/main.swf/bookmark.sol"
close_reader
run_store Keep k2 r2 || finish
check "an object never flushed is there at the next start" "k1|r2" "$READ"
close_reader

# --- A plain movie keeps its own under its own path.
mkdir -p "$WORK/plain"
"$MEDIA_MOVIE" "$WORK/plain/run.swf" store m1 r2 || exit 1
start_reader "$PAGORO" "$WORK/plain/run.swf" || finish
wait_log "fscommand flushed |" 90
check "a plain movie starts with its own empty" "undefined|r2" "$(said read)"
close_reader
check "a plain movie's own are kept under its path" yes \
  "$([ -f "$STORE/files$WORK/plain/run.swf/bookmark.sol" ] && echo yes)"
start_reader "$PAGORO" "$WORK/plain/run.swf" || finish
wait_log "fscommand flushed |" 90
check "a plain movie reads its own at the next start" "m1|r2" "$(said read)"
close_reader

# --- Another magazine: its own default path, "/" shared.
run_store Other o1 s1 || finish
check "another magazine sees \"/\" only" "undefined|r2" "$READ"
close_reader
run_store Mag p3 r3 || finish
check "the first keeps its own" "p2|s1" "$READ"
close_reader

# --- Two readers of different magazines at once each keep theirs.
run_store One a1 x || finish
first_pid=$READER_PID first_wid=$WID first_log=$READER_LOG
run_store Two b1 x || finish
check "both flushed while both run" "true|true true|true" "$(grep -ho "flushed | true|true" "$first_log" "$READER_LOG" | sed 's/flushed | //' | xargs)"
close_reader
READER_PID=$first_pid WID=$first_wid READER_LOG=$first_log
close_reader
run_store One a2 x || finish; check "the first of two at once keeps its data" "a1|x" "$READ"; close_reader
run_store Two b2 x || finish; check "the second of two at once keeps its data" "b1|x" "$READ"; close_reader

# --- Over the limit, flush() fails, and what fits is still kept.
run_store Big g1 x 2097152 || finish
wait_log "fscommand big |" 60
check "a flush over the limit answers false" "false" "$(said big)"
close_reader
run_store Big g2 x || finish
check "what fitted is kept" "g1|x" "$READ"
check "nothing of the big object is on disk" "" "$(find "$STORE" -name 'big.sol')"
close_reader

# --- A damaged store: the magazine plays, one warning, the file stays.
head -c 300 /dev/urandom >"$STORE/books/Mag/main.swf/bookmark.sol"
printf 'not a shared object' >"$STORE/localhost/bookmark.sol"
run_store Mag p4 r4 || finish
check "a damaged store: the magazine plays without them" "undefined|undefined" "$READ"
check "a damaged store: one warning" 1 "$(warnings)"
close_reader
run_store Mag p5 r5 || finish
check "a damaged object is written anew" "p4|r4" "$READ"
close_reader

# --- A store that can't be written (a file where its folder goes): plays,
# the data stays for the run, one warning, nothing else touched.
blocked="$PAGORO_TEST_ROOT/blocked"
echo "not a folder" >"$blocked"
XDG_STATE_HOME="$blocked/state" run_store Mag p6 r6 || finish
check "an unwritable store: the magazine plays" "undefined|undefined" "$READ"
check "an unwritable store: the movie's flush still succeeds for the run" "true|true" "$FLUSHED"
check "an unwritable store: one warning" 1 "$(warnings)"
check "an unwritable store: the file in its way is untouched" "not a folder" "$(cat "$blocked")"
close_reader

# --- --forget removes one magazine's own objects, not the shared ones.
"$PAGORO" --forget "$WORK/Mag/Mag.exe" >"$WORK/forget.txt" 2>&1
check "--forget succeeds" 0 "$?"
check "--forget says where" 1 "$(grep -c "$STORE/books/Mag" "$WORK/forget.txt")"
run_store Mag p7 r7 || finish
check "after --forget the magazine's own are gone, \"/\" stays" "undefined|r5" "$READ"
close_reader
check "other magazines keep theirs" yes "$([ -f "$STORE/books/Other/main.swf/bookmark.sol" ] && echo yes)"
finish
