# Helpers for the reader's end-to-end tests. Sourced by each test script,
# which runs inside tests/with-display.sh (private X display, openbox,
# private HOME, XDG and TMPDIR folders).
#
# The test's CMake rule passes: PAGORO (the reader), PAGORO_BOOK (the
# packer), REMOTE_MOVIE (the test movie writer), DRAG_SOURCE (a drag source).
set -uo pipefail

: "${PAGORO:?}" "${PAGORO_BOOK:?}" "${REMOTE_MOVIE:?}"
WORK=$(mktemp -d "$TMPDIR/work.XXXXXX")
FAILURES=0
READER_PID=
READER_LOG=
WID=

# Keys by their Flash key codes, for the remote movie.
KEY_W=87 KEY_M=77 KEY_F=70 KEY_Q=81 KEY_R=82 KEY_T=84 KEY_Z=90 KEY_X=88 KEY_C=67 KEY_V=86 KEY_B=66

log() { echo "[$(date +%T.%3N)] $*" >&2; }
fail() { log "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
pass() { log "ok: $*"; }
check() {  # check DESCRIPTION WANT GOT
  if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: want [$2], got [$3]"; fi
}
finish() {
  stop_reader
  if [ "$FAILURES" -gt 0 ]; then log "$FAILURES check(s) failed"; exit 1; fi
  log "all checks passed"
  exit 0
}

# make_book OUT.exe [remote movie options...]: packs a book executable of
# the reader with a remote movie of MOVIE_SIZE (800x600) and two asset files.
make_book() {
  local out=$1 size=${MOVIE_SIZE:-800x600}; shift
  local src; src=$(mktemp -d "$WORK/src.XXXXXX")
  "$REMOTE_MOVIE" "$src/main.swf" --size "$size" --watch incommand --watch TempPath "$@" || return 1
  echo "page one" >"$src/page1.txt"
  printf 'GIF89a' >"$src/pic.gif"
  "$PAGORO_BOOK" pack "$src" -o "$out" --size "$size" --reader "$PAGORO" >/dev/null || return 1
  chmod +x "$out"
}

# make_projector OUT MOVIE: a projector: a program, the movie, the marker 0xFA123456 and the movie's length.
make_projector() {  # OUT MOVIE
  local len; len=$(stat -c %s "$2")
  { printf 'MZ\x90\0 a projector program'; cat "$2"
    printf '\x56\x34\x12\xfa'
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((len & 255)) $((len >> 8 & 255)) $((len >> 16 & 255)) $((len >> 24 & 255)))"
  } >"$1"
}

# The keys of the remote movie most tests use, and what each raises.
STANDARD_KEYS=(
  --key "$KEY_W=fullscreen:false" --key "$KEY_F=fullscreen:" --key "$KEY_M=fullscreen:FALSE"
  --key "$KEY_Z=fullscreen:0" --key "$KEY_Q=quit:" --key "$KEY_X=quit:now"
  --key "$KEY_R=outcommand:Refresh" --key "$KEY_T=outcommand:SetTempPath"
  --key "$KEY_C=Quit:" --key "$KEY_V=quit :" --key "$KEY_B=outcommand:SetTempPath "
)

# start_reader EXE [ARGS...]: starts a book executable (or the reader with
# its arguments) with its log on and waits for its first window (WID).
# launch_reader only starts it.
launch_reader() {
  READER_LOG="$WORK/reader.$RANDOM.log"
  QT_LOGGING_RULES="pagoro.*=true" "$@" >"$READER_LOG" 2>&1 &
  READER_PID=$!
  WID=
}
start_reader() {
  launch_reader "$@"
  local i
  for i in $(seq 150); do
    WID=$(xdotool search --all --onlyvisible --pid "$READER_PID" --name '.' 2>/dev/null | head -1)
    [ -n "$WID" ] && break
    kill -0 "$READER_PID" 2>/dev/null || break
    sleep 0.2
  done
  [ -n "$WID" ] || { fail "no window for $1"; cat "$READER_LOG" >&2; return 1; }
}

# wait_log TEXT [SECONDS]: waits until the reader's log holds TEXT (fixed
# string) as often as given by COUNT (default 1).
wait_log() {
  local text=$1 seconds=${2:-30} count=${COUNT:-1} i
  for i in $(seq $((seconds * 10))); do
    [ "$(grep -cF -- "$text" "$READER_LOG")" -ge "$count" ] && return 0
    sleep 0.1
  done
  fail "log never showed [$text] x$count within ${seconds}s"
  tail -20 "$READER_LOG" >&2
  return 1
}
log_count() { grep -cF -- "$1" "$READER_LOG"; }

# Waits until the reader has ended; its exit code in READER_RC.
wait_exit() {
  local seconds=${1:-20} i
  for i in $(seq $((seconds * 10))); do
    if ! kill -0 "$READER_PID" 2>/dev/null; then
      wait "$READER_PID"; READER_RC=$?; READER_PID=; return 0
    fi
    sleep 0.1
  done
  fail "the reader did not end within ${seconds}s"
  return 1
}

stop_reader() {
  [ -n "$READER_PID" ] || return 0
  kill "$READER_PID" 2>/dev/null
  local i
  for i in $(seq 50); do kill -0 "$READER_PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$READER_PID" 2>/dev/null
  wait "$READER_PID" 2>/dev/null
  READER_PID=
}

# geometry WID: "left top width height" of the window's client area.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
# wait_geometry WANT [SECONDS]: waits until the window stands at WANT.
wait_geometry() {
  local want=$1 seconds=${2:-10} got i
  for i in $(seq $((seconds * 10))); do
    got=$(geometry "$WID")
    [ "$got" == "$want" ] && return 0
    sleep 0.1
  done
  echo "$got"
  return 1
}

# pixel X Y: the screen's colour there, as "r,g,b".
pixel() {
  import -silent -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -1
}

# Presses a key (by its X name) on the reader's window.
key() {
  xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
  xdotool key --delay 50 "$@"
}

# book_folder NAME: the cache folder of a book name.
book_folder() { echo "$XDG_DATA_HOME/pagoro/$1"; }
movie_files() { find "$TMPDIR" -maxdepth 1 -name 'tem*.tmp' | sort; }

# Closes the reader's window as the user does (openbox: Alt+F4).
close_window() {
  xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
  xdotool key alt+F4
}

# dismiss_box: presses Enter in the newest message box of the reader.
dismiss_box() {
  local box i
  for i in $(seq 50); do
    box=$(xdotool search --all --onlyvisible --pid "$READER_PID" --name '.' 2>/dev/null | grep -vx "${WID:-none}" | tail -1)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || { fail "no message box to dismiss"; return 1; }
  xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
  xdotool key Return
}

# wait_no_box [SECONDS]: waits until the reader shows no window but WID
# (a dismissed box has gone).
wait_no_box() {
  local i
  for i in $(seq $((${1:-10} * 10))); do
    [ -z "$(xdotool search --onlyvisible --pid "$READER_PID" --name '.' 2>/dev/null | grep -vx "${WID:-none}")" ] && return 0
    sleep 0.1
  done
  fail "a box of the reader stayed up"
  return 1
}

# drop FILE...: drags the files from a drag source onto the reader's window.
drop() {
  : "${DRAG_SOURCE:?}"
  "$DRAG_SOURCE" "$@" >"$WORK/drag.log" 2>&1 &
  local pid=$! src i
  for i in $(seq 100); do
    src=$(xdotool search --all --onlyvisible --pid "$pid" --name 'pagoro-drag-source' 2>/dev/null | head -1)
    [ -n "$src" ] && break
    sleep 0.1
  done
  [ -n "$src" ] || { fail "the drag source did not show"; kill "$pid"; return 1; }
  xdotool windowactivate --sync "$src" >/dev/null 2>&1 || true
  read -r sx sy _ _ < <(geometry "$src")
  xdotool mousemove --sync $((sx + 60)) $((sy + 60)) mousedown 1
  sleep 0.3
  local step
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --sync $((sx + 60 + step * 50)) $((sy + 60 + step * 40))
    sleep 0.1
  done
  sleep 0.3
  xdotool mouseup 1
  for i in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  true
}

# find_window W H: sets WID to the reader's visible window of that size.
find_window() {
  local i w
  for i in $(seq 100); do
    for w in $(xdotool search --all --onlyvisible --pid "$READER_PID" --name '.' 2>/dev/null); do
      read -r _ _ ww hh < <(geometry "$w")
      [ "$ww $hh" == "$1 $2" ] && { WID=$w; return 0; }
    done
    sleep 0.1
  done
  fail "no $1x$2 window"
  return 1
}

# focus_movie: a left click in the middle of the screen, so that the movie
# (Ruffle's element in the page) takes the keys; waits for the movie to see it.
# Input reaches the movie, and its commands the reader, in order: once the
# click is reported, all input before it has been handled, so a check that
# something did not happen can follow it without sleeping.
focus_movie() {
  local n; n=$(log_count "fscommand mouse | down")
  xdotool mousemove --sync 512 384 click 1
  COUNT=$((n + 1)) wait_log "fscommand mouse | down" 10
}

# wait_pixel X Y WANT [SECONDS]: waits until the screen shows WANT there;
# prints what it shows last.
wait_pixel() {
  local got i
  for i in $(seq $((${4:-10} * 5))); do
    got=$(pixel "$1" "$2")
    [ "$got" == "$3" ] && break
    sleep 0.2
  done
  echo "$got"
}
