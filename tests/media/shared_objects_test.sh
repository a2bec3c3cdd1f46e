#!/usr/bin/env bash
# Shared objects last: what a movie stores with SharedObject is there at
# the next start of the same magazine (known by what it holds: a copy keeps
# them, a namesake does not), kept apart from other magazines (but "/"
# shared), and "/" of movies opened as files kept per sandbox; through a
# crash, with two readers at once, with a damaged store and a store that
# can't be written; the limit; what was kept by name before; --forget.
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

# run_store NAME DEFAULT ROOT [BIG]: starts book NAME (made with these
# values at its first start: the same book after), waits until it has read
# and flushed; READ and FLUSHED hold what it raised.
run_store() {
  local name=$1; shift
  mkdir -p "$WORK/$name"
  [ -f "$WORK/$name/$name.exe" ] || store_book "$WORK/$name/$name.exe" "$@" || return 1
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
# new_area: the one own area made since the last call.
AREAS="$WORK/areas"
: >"$AREAS"
new_area() {
  find "$STORE/magazines" "$STORE"/local-*/movies -mindepth 1 -maxdepth 1 2>/dev/null | sort >"$AREAS.now"
  comm -13 "$AREAS" "$AREAS.now"
  mv "$AREAS.now" "$AREAS"
}

# --- Stored in one start, read in the next: the default path and "/".
run_store Mag p1 r1 || finish
check "a first start finds nothing" "undefined|undefined" "$READ"
check "both flushes succeed" "true|true" "$FLUSHED"
# A crash right after the flush loses nothing.
kill -9 "$READER_PID"; wait "$READER_PID" 2>/dev/null; READER_PID=
MAG=$(new_area)
run_store Mag || finish
check "the next start reads both bookmarks" "p1|r1" "$READ"
check "no warning" 0 "$(warnings)"
close_reader
check "the book's own object is kept under what it holds" yes \
  "$([ -f "$MAG/main.swf/bookmark.sol" ] && [ "$(dirname "$MAG")" == "$STORE/magazines" ] && echo yes)"
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
kept_written() { find "$STORE/magazines" -path '*/main.swf/bookmark.sol' -newer "$READER_LOG" | grep -q .; }
wait_until 30 kept_written
new_area >/dev/null
close_reader
start_reader "$WORK/Keep/Keep.exe" || finish
wait_log "fscommand kept" 90
check "an object never flushed is there at the next start" "k1" "$(said read)"
close_reader

# --- A plain movie keeps its own under its own path.
mkdir -p "$WORK/plain"
"$MEDIA_MOVIE" "$WORK/plain/run.swf" store m1 r2 || exit 1
start_reader "$PAGORO" "$WORK/plain/run.swf" || finish
wait_log "fscommand flushed |" 90
# "/" of the books is not its sandbox's.
check "a plain movie starts with its own and \"/\" empty" "undefined|undefined" "$(said read)"
close_reader
RUN=$(new_area)
check "a plain movie's own are kept under what it holds, in its sandbox's area" yes \
  "$([ -f "$RUN/bookmark.sol" ] && [ "$(dirname "$RUN")" == "$STORE/local-files/movies" ] && echo yes)"
start_reader "$PAGORO" "$WORK/plain/run.swf" || finish
wait_log "fscommand flushed |" 90
check "a plain movie reads its own at the next start" "m1|r2" "$(said read)"
close_reader

# --- Another magazine: its own default path, "/" shared among books (not
# with the plain movie, whose sandbox may read files).
run_store Other o1 s1 || finish
check "another magazine sees \"/\" only" "undefined|r1" "$READ"
close_reader
OTHER=$(new_area)
run_store Mag || finish
check "the first keeps its own" "p1|s1" "$READ"
close_reader

# --- Two readers of different magazines at once each keep theirs.
run_store One a1 x || finish
first_pid=$READER_PID first_wid=$WID first_log=$READER_LOG
run_store Two b1 x || finish
check "both flushed while both run" "true|true true|true" "$(grep -ho "flushed | true|true" "$first_log" "$READER_LOG" | sed 's/flushed | //' | xargs)"
close_reader
READER_PID=$first_pid WID=$first_wid READER_LOG=$first_log
close_reader
run_store One || finish; check "the first of two at once keeps its data" "a1|x" "$READ"; close_reader
run_store Two || finish; check "the second of two at once keeps its data" "b1|x" "$READ"; close_reader

# --- Over the limit, flush() fails, and what fits is still kept.
run_store Big g1 x 2097152 || finish
wait_log "fscommand big |" 60
check "a flush over the limit answers false" "false" "$(said big)"
close_reader
run_store Big || finish
check "what fitted is kept" "g1|x" "$READ"
check "nothing of the big object is on disk" "" "$(find "$STORE" -name 'big.sol')"
close_reader

# --- A damaged store: the magazine plays, one warning, the file stays.
new_area >/dev/null
head -c 300 /dev/urandom >"$MAG/main.swf/bookmark.sol"
printf 'not a shared object' >"$STORE/localhost/bookmark.sol"
run_store Mag || finish
check "a damaged store: the magazine plays without them" "undefined|undefined" "$READ"
check "a damaged store: one warning" 1 "$(warnings)"
close_reader
run_store Mag || finish
check "a damaged object is written anew" "p1|r1" "$READ"
close_reader

# --- A store that can't be written (a file where its folder goes): plays,
# the data stays for the run, one warning, nothing else touched.
blocked="$PAGORO_TEST_ROOT/blocked"
echo "not a folder" >"$blocked"
XDG_STATE_HOME="$blocked/state" run_store Mag || finish
check "an unwritable store: the magazine plays" "undefined|undefined" "$READ"
check "an unwritable store: flush() answers false" "false|false" "$FLUSHED"
check "an unwritable store: one warning" 1 "$(warnings)"
check "an unwritable store: the file in its way is untouched" "not a folder" "$(cat "$blocked")"
close_reader

# --- A disk that fills while the movie plays: the old object stays byte for
# byte, one warning names it, and flush() answers false from the failed
# write on until a write succeeds again. (Root only: a small file system is
# mounted as the state folder.)
small="$PAGORO_TEST_ROOT/small"
mkdir -p "$small"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=256k,nr_inodes=64,mode=0700 tmpfs "$small"; then
  src=$(mktemp -d "$WORK/src.XXXXXX")
  "$MEDIA_MOVIE" "$src/main.swf" presses || exit 1
  mkdir -p "$WORK/Press"
  "$PAGORO_BOOK" pack "$src" -o "$WORK/Press/Press.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
  chmod +x "$WORK/Press/Press.exe"
  XDG_STATE_HOME="$small" start_reader "$WORK/Press/Press.exe" || { umount -l "$small"; finish; }
  wait_log "fscommand ready" 90
  # press_until RESULT: presses (at most 5 times) until a flush answers
  # RESULT; PRESSED says whether one did.
  PRESSES=0
  press_until() {
    local i
    PRESSED=no
    for i in 1 2 3 4 5; do
      PRESSES=$((PRESSES + 1))
      xdotool mousemove --sync 512 384 click 1
      wait_until 30 grep -q "fscommand flush | [a-z]*|$PRESSES\b" "$READER_LOG" || return
      grep -q "fscommand flush | $1|$PRESSES\b" "$READER_LOG" && PRESSED=yes && return
    done
  }
  press_until true
  check "a flush on a disk with room answers true" yes "$PRESSED"
  sol=$(find "$small/pagoro/shared-objects/magazines" -name bookmark.sol)
  cp "$sol" "$WORK/kept.sol"
  dd if=/dev/zero of="$small/filler" bs=4k 2>/dev/null
  press_until false
  check "once a write failed on the full disk, flush() answers false" yes "$PRESSED"
  check "the full disk kept the old object byte for byte" yes "$(cmp -s "$sol" "$WORK/kept.sol" && echo yes)"
  check "the full disk: one warning, naming the file and the cause" 1 \
    "$(grep -c "shared objects: cannot write $sol: No space left on device - " "$READER_LOG")"
  rm -f "$small/filler"
  press_until true
  check "with room again, flush() answers true again" yes "$PRESSED"
  check "and the object is written anew" yes "$(cmp -s "$sol" "$WORK/kept.sol" || echo yes)"
  close_reader
  umount -l "$small"
fi

# --- Movies opened as files share "/" only within their sandbox: what a
# movie that may read files keeps can't be read by one of the same folder
# that may use the network, nor the other way round.
mkdir -p "$WORK/dl"
"$MEDIA_MOVIE" "$WORK/dl/game.swf" store g1 secret || exit 1
"$MEDIA_MOVIE" "$WORK/dl/netgame.swf" netstore n1 net || exit 1
play_movie() {
  start_reader "$PAGORO" "$1" || return 1
  wait_log "fscommand flushed |" 90 || return 1
  READ=$(said read)
  close_reader
}
play_movie "$WORK/dl/game.swf" || finish
# "/" is shared with the plain movie before, which may read files too.
check "a local-files movie sees its sandbox's \"/\"" "undefined|r2" "$READ"
play_movie "$WORK/dl/netgame.swf" || finish
check "a use-network movie can't read the local-files movie's \"/\"" "undefined|undefined" "$READ"
play_movie "$WORK/dl/game.swf" || finish
check "the local-files movie can't read the use-network movie's \"/\"" "g1|secret" "$READ"
play_movie "$WORK/dl/netgame.swf" || finish
check "the use-network movie reads its own sandbox's" "n1|net" "$READ"
in_sol() { grep -ac "$1" "$STORE/$2/localhost/bookmark.sol"; }
check "each sandbox's \"/\" holds its own movie's only" "1 0 1 0" \
  "$(in_sol secret local-files) $(in_sol net local-files) $(in_sol net local-network) $(in_sol secret local-network)"
new_area >/dev/null

# --- A magazine is known by what it holds: two MAGAZINE.EXE of different
# issues keep theirs apart; a copy elsewhere keeps the first one's.
for issue in 1 2; do
  mkdir -p "$WORK/issue$issue"
  store_book "$WORK/issue$issue/MAGAZINE.EXE" "i$issue" x || exit 1
done
play_book() {
  start_reader "$PAGORO" "$1" || return 1
  wait_log "fscommand flushed |" 90 || return 1
  READ=$(said read)
  close_reader
}
play_book "$WORK/issue1/MAGAZINE.EXE" || finish
check "issue 1 starts with nothing" "undefined" "${READ%%|*}"
play_book "$WORK/issue2/MAGAZINE.EXE" || finish
check "issue 2 of the same name does not get issue 1's" "undefined" "${READ%%|*}"
mkdir -p "$WORK/copied" && cp "$WORK/issue1/MAGAZINE.EXE" "$WORK/copied/"
play_book "$WORK/copied/MAGAZINE.EXE" || finish
check "a copy of issue 1 keeps its objects" "i1" "${READ%%|*}"
new_area >/dev/null

# --- Objects kept by a book's name before it was known by what it holds
# are its own at the first start that shows it was this very file (the
# shelf has its path, and no other of its name), never a namesake's.
run_store Old o1 x || finish
close_reader
OLD=$(new_area)
mkdir -p "$STORE/books" && mv "$OLD" "$STORE/books/Old"
run_store Old || finish
check "what was kept by the name is carried over" "o1" "${READ%%|*}"
close_reader
check "it lies under what the book holds now" "yes" \
  "$([ -f "$OLD/main.swf/bookmark.sol" ] && [ ! -e "$STORE/books/Old" ] && echo yes)"
mkdir -p "$WORK/again"
store_book "$WORK/again/Old.exe" o2 x || exit 1
play_book "$WORK/again/Old.exe" || finish
OLD2=$(new_area)
mv "$OLD2" "$STORE/books/Old"
play_book "$WORK/again/Old.exe" || finish
check "with a namesake on the shelf, nothing is carried over" "undefined" "${READ%%|*}"
check "the name's objects stay where they were" "yes" \
  "$([ -f "$STORE/books/Old/main.swf/bookmark.sol" ] && echo yes)"
new_area >/dev/null

# --- --forget takes a magazine file only: a folder (also by a link, "..",
# "~", "DIR/") removes nothing.
before=$(find "$STORE" | sort | md5sum)
ln -s "$WORK/Mag" "$WORK/maglink"
for what in "$WORK/Mag" "$WORK/Mag/" "$WORK/maglink" ".." "$HOME" "$WORK/Mag/.."; do
  (cd "$WORK/Mag" && "$PAGORO" --forget "$what") >"$WORK/forget.txt" 2>&1
  check "--forget $what fails" 1 "$?"
  check "--forget $what says it is a folder" 1 "$(grep -c "is a folder, not a magazine file; nothing forgotten" "$WORK/forget.txt")"
done
(cd "$WORK/Mag" && "$PAGORO" --forget "~") >"$WORK/forget.txt" 2>&1
check "--forget ~ (no such file) fails" 1 "$?"
check "--forget of folders removes nothing" "$before" "$(find "$STORE" | sort | md5sum)"

# --- --forget removes one magazine's own objects, not the shared ones.
"$PAGORO" --forget "$WORK/Mag/Mag.exe" >"$WORK/forget.txt" 2>&1
check "--forget succeeds" 0 "$?"
check "--forget says where" 1 "$(grep -c "removed $MAG" "$WORK/forget.txt")"
run_store Mag || finish
check "after --forget the magazine's own are gone, \"/\" stays" "undefined|x" "$READ"
close_reader
check "other magazines keep theirs" yes "$([ -f "$OTHER/main.swf/bookmark.sol" ] && echo yes)"
finish
