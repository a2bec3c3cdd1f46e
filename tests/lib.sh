# shellcheck shell=bash
# Helpers for the end-to-end tests: the reader's (tests/window), the
# sample magazine's (tests/sample), the soak run and scripts/screenshots.sh.
# Sourced by each script, which runs inside tests/with-display.sh (private X
# display, openbox, private HOME, XDG and TMPDIR folders).
#
# The test's CMake rule passes: PAGORO (the reader), PAGORO_BOOK (the
# packer), REMOTE_MOVIE (the test movie writer), DRAG_SOURCE (a drag source).
# The sample magazine's tests also pass PAGORO_SAMPLE (the generator, for the
# layout), SAMPLE_BIN (where Sample.exe and Sample-v1.exe are) and
# SAMPLE_FILES (the generator's output folders).

# start_xvfb SCREEN LOG: starts an X server (Xvfb, screen WxHxDEPTH, its
# output in LOG) on a display of its own, never one a user may have:
# numbers from 99 up, each tried by starting Xvfb on it. Xvfb takes the
# display's lock file and gives up if another server holds it (two tests
# starting at once may want the same number: the loser tries the next),
# and writes the number to a pipe once it listens. Sets XVFB_PID and
# XVFB_DISPLAY (the number); returns 1 if no server came up.
start_xvfb() {
  local n dfd
  XVFB_PID=
  XVFB_DISPLAY=
  for n in $(seq 99 399); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    exec {dfd}<> <(:)
    Xvfb ":$n" -displayfd "$dfd" -screen 0 "$1" -nolisten tcp -noreset >"$2" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 60); do
      if read -r -t 1 -u "$dfd" XVFB_DISPLAY && [ -n "$XVFB_DISPLAY" ]; then break; fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
    done
    exec {dfd}<&-
    [ -n "$XVFB_DISPLAY" ] && return 0
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  done
  return 1
}
# tests/with-display.sh takes only the display.
[ -z "${PAGORO_DISPLAY_ONLY:-}" ] || return 0

set -uo pipefail

: "${PAGORO:?}" "${PAGORO_BOOK:?}" "${REMOTE_MOVIE:?}"
WORK=$(mktemp -d "$TMPDIR/work.XXXXXX")
FAILURES=0
READER_PID=
READER_LOG=
WID=

# Keys by their Flash key codes, for the remote movie.
KEY_W=87 KEY_M=77 KEY_F=70 KEY_Q=81 KEY_R=82 KEY_T=84 KEY_Z=90 KEY_X=88 KEY_C=67 KEY_V=86 KEY_B=66

# wait_until SECONDS COMMAND [ARGS...]: runs COMMAND until it succeeds,
# ten times a second for SECONDS (each try counts, so a slow command on a
# busy machine waits longer, never less). Returns 1 if it never did. Every
# wait of the tests is one: for a sign, with a bound, never a fixed time.
wait_until() {
  local tries=$(($1 * 10)) i; shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
# ended PID: the process has ended.
ended() { ! kill -0 "$1" 2>/dev/null; }

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

# make_projector OUT MOVIE: a projector: a program, the movie, the marker
# 0xFA123456 and the movie's length.
make_projector() {  # OUT MOVIE
  local len; len=$(stat -c %s "$2")
  { printf 'MZ\x90\0 a projector program'; cat "$2"
    printf '\x56\x34\x12\xfa'
    # shellcheck disable=SC2059 # the bytes of LEN, written as escapes
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((len & 255)) $((len >> 8 & 255)) $((len >> 16 & 255)) $((len >> 24 & 255)))"
  } >"$1"
}

# The keys of the remote movie most tests use, and what each raises.
# shellcheck disable=SC2034 # for the tests that source this file
STANDARD_KEYS=(
  --key "$KEY_W=fullscreen:false" --key "$KEY_F=fullscreen:" --key "$KEY_M=fullscreen:FALSE"
  --key "$KEY_Z=fullscreen:0" --key "$KEY_Q=quit:" --key "$KEY_X=quit:now"
  --key "$KEY_R=outcommand:Refresh" --key "$KEY_T=outcommand:SetTempPath"
  --key "$KEY_C=Quit:" --key "$KEY_V=quit :" --key "$KEY_B=outcommand:SetTempPath "
)

# start_reader EXE [ARGS...]: starts a book executable (or the reader with
# its arguments) with its log on and waits for its first window (WID).
# launch_reader only starts it. The frame count stays off (it adds a script
# to the page) unless a test sets LOG_RULES to ask for it.
launch_reader() {
  READER_LOG="$WORK/reader.$RANDOM.log"
  QT_LOGGING_RULES="${LOG_RULES:-pagoro.*=true;pagoro.frames=false}" "$@" >"$READER_LOG" 2>&1 &
  READER_PID=$!
  WID=
}
start_reader() {
  launch_reader "$@"
  wait_until 30 first_window
  [ -n "$WID" ] || { fail "no window for $1"; cat "$READER_LOG" >&2; return 1; }
}

# shown_windows: the reader's windows that are shown, one id a line.
shown_windows() { xdotool search --all --onlyvisible --pid "$READER_PID" --name '.' 2>/dev/null; }

# first_window: sets WID to the reader's first visible window; also
# succeeds when the reader has ended.
first_window() {
  WID=$(shown_windows | head -1)
  [ -n "$WID" ] || ended "$READER_PID"
}

# wait_log TEXT [SECONDS]: waits until the reader's log holds TEXT (fixed
# string) as often as given by COUNT (default 1).
wait_log() {
  local text=$1 seconds=${2:-30} count=${COUNT:-1}
  wait_until "$seconds" log_has "$text" "$count" && return 0
  fail "log never showed [$text] x$count within ${seconds}s"
  tail -20 "$READER_LOG" >&2
  return 1
}
log_count() { grep -cF -- "$1" "$READER_LOG"; }
log_has() { [ "$(log_count "$1")" -ge "$2" ]; }  # log_has TEXT COUNT

# Waits until the reader has ended; its exit code in READER_RC.
# shellcheck disable=SC2034 # READER_RC is for the tests that source this file
wait_exit() {
  local seconds=${1:-20}
  if wait_until "$seconds" ended "$READER_PID"; then
    wait "$READER_PID"; READER_RC=$?; READER_PID=; return 0
  fi
  fail "the reader did not end within ${seconds}s"
  # What it was doing: its last log lines and where its threads wait.
  tail -n 15 "$READER_LOG" >&2
  log "its window ${WID:-none}, the active window $(xdotool getactivewindow 2>/dev/null), its windows:" \
    "$(xdotool search --all --pid "$READER_PID" --name '.' 2>/dev/null | tr '\n' ' ')"
  gdb -p "$READER_PID" -batch -ex "thread 1" -ex "bt 30" -ex "thread apply all bt 6" 2>/dev/null |
    grep -E "^\[Current|^Thread|^#" | head -n 140 >&2
  return 1
}

stop_reader() {
  [ -n "$READER_PID" ] || return 0
  kill "$READER_PID" 2>/dev/null
  wait_until 5 ended "$READER_PID"
  kill -9 "$READER_PID" 2>/dev/null
  wait "$READER_PID" 2>/dev/null
  READER_PID=
}

# geometry WID: "left top width height" of the window's client area.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print x, y, w, h}'
}
# wait_geometry WANT [SECONDS]: waits until the window stands at WANT
# (a minute by default: a busy machine is slow to switch window modes).
wait_geometry() {
  local got
  wait_until "${2:-60}" at_geometry "$1" && return 0
  echo "$got"
  return 1
}
at_geometry() { got=$(geometry "$WID"); [ "$got" == "$1" ]; }  # sets wait_geometry's got

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

# Closes the reader's window as the user does, through the window manager
# (openbox, as for its close button or Alt+F4): the window gets the
# manager's request to close, whichever window has the keyboard.
close_window() {
  shown_window || { fail "the reader shows no window to close"; return 1; }
  wmctrl -i -c "$WID"
}
# shown_window: true when WID is a window the reader shows; a WID that is
# no longer shown (the start screen gave way to the magazine, whose window
# is new) is replaced by the reader's one window shown, if it has just one.
shown_window() {
  local shown
  shown=$(shown_windows)
  grep -qx "$WID" <<<"$shown" && return 0
  [ "$(grep -c . <<<"$shown")" == 1 ] || return 1
  WID=$shown
}

# dismiss_box: presses Enter in the newest message box of the reader.
dismiss_box() { press_in_box Return; }

# press_in_box KEY: waits for a message box of the reader (a window but WID
# that is shown), makes it the active window and presses KEY there, so that
# the key never reaches the movie's window instead.
press_in_box() {
  local box
  wait_until 20 newest_box || { fail "no message box for $1"; return 1; }
  xdotool windowactivate --sync "$box" >/dev/null 2>&1
  [ "$(xdotool getactivewindow 2>/dev/null)" == "$box" ] || { fail "the message box did not take the focus"; return 1; }
  xdotool key "$1"
}

# newest_box: sets dismiss_box's box to the reader's newest window but WID.
newest_box() {
  box=$(shown_windows | grep -vx "${WID:-none}" | tail -1)
  [ -n "$box" ]
}

# wait_no_box [SECONDS]: waits until the reader shows no window but WID
# (a dismissed box has gone).
wait_no_box() {
  wait_until "${1:-10}" no_box && return 0
  fail "a box of the reader stayed up"
  return 1
}

# shellcheck disable=SC2143 # xdotool finds nothing: no box
no_box() { [ -z "$(xdotool search --onlyvisible --pid "$READER_PID" --name '.' 2>/dev/null | grep -vx "${WID:-none}")" ]; }

# drop FILE...: drags the files from a drag source onto the reader's window.
drop() {
  : "${DRAG_SOURCE:?}"
  "$DRAG_SOURCE" "$@" >"$WORK/drag.log" 2>&1 &
  local pid=$! src
  wait_until 10 drag_source_window "$pid"
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
  # shellcheck disable=SC2034 # read by the tests that time their drops
  DROP_RELEASED_MS=$(date +%s%3N)  # when the button went up
  xdotool mouseup 1
  wait_until 10 ended "$pid"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  true
}

# drag_source_window PID: sets drop's src to the drag source's window.
drag_source_window() {
  src=$(xdotool search --all --onlyvisible --pid "$1" --name 'pagoro-drag-source' 2>/dev/null | head -1)
  [ -n "$src" ]
}

# find_window W H: sets WID to the reader's visible window of that size.
find_window() {
  wait_until 60 window_of_size "$1" "$2" && return 0
  fail "no $1x$2 window"
  return 1
}

window_of_size() {
  local w ww hh
  for w in $(shown_windows); do
    read -r _ _ ww hh < <(geometry "$w")
    [ "$ww $hh" == "$1 $2" ] && { WID=$w; return 0; }
  done
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
  local got
  wait_until "${4:-10}" pixel_is "$1" "$2" "$3"
  echo "$got"
}
pixel_is() { got=$(pixel "$1" "$2"); [ "$got" == "$3" ]; }  # sets wait_pixel's got

# The sample magazine: its stage and the spots of its layout.
STAGE_W=800
STAGE_H=600
declare -A SPOT
if [ -n "${PAGORO_SAMPLE:-}" ]; then
  : "${SAMPLE_BIN:?}" "${SAMPLE_FILES:?}"
  while read -r name x y w h; do SPOT[$name]="$x $y $w $h"; done < <("$PAGORO_SAMPLE" --layout)
  SPOT[page]="0 48 800 504"
fi

# stage_origin: "x y" of the movie's top left corner on the screen; the
# player shows the stage unscaled in the middle of the window.
stage_origin() {
  local left top width height
  read -r left top width height < <(geometry "$WID")
  echo "$((left + (width - STAGE_W) / 2)) $((top + (height - STAGE_H) / 2))"
}

# wait_stage_placed: waits (at most 60 s) until the player draws the stage
# where the window's size puts it: the title bar's colour at its corner.
wait_stage_placed() {
  local ox oy got
  read -r ox oy < <(stage_origin)
  wait_until 60 pixel_is $((ox + 2)) $((oy + 2)) "17,26,51" && return 0
  fail "the stage was not drawn at $ox,$oy"
}

# hover NAME: rests the pointer on a spot of the layout until, for a
# button, the button shows it is under the pointer: after a change of window
# mode the player takes a moment to place the stage anew. Returns 1 when the
# button never showed it.
hover() {
  local ox oy x y w h
  read -r ox oy < <(stage_origin)
  read -r x y w h <<<"${SPOT[$1]:?no spot $1}"
  if [ "$1" != page ]; then shot hover.before "$1"; fi
  xdotool mousemove --sync $((ox + x + w / 2)) $((oy + y + h / 2))
  [ "$1" != page ] || return 0
  wait_until 10 spot_differs "$1" hover.before hover.after 20
}
# spot_differs SPOT BEFORE AFTER N: a new shot AFTER of the spot differs
# from BEFORE in more than N pixels; sets n.
spot_differs() {
  shot "$3" "$1"
  n=$(pixels_differing "$2" "$3")
  [ "${n:-0}" -gt "$4" ] 2>/dev/null
}

# click NAME [BUTTON]: clicks the middle of a spot of the layout, once a
# button there shows the pointer; fails (and clicks nothing) when it doesn't.
click() {
  if ! hover "$1"; then
    fail "the $1 button did not show the pointer over it"
    return 1
  fi
  xdotool click "${2:-1}"
}

# shot NAME [SPOT]: saves the screen (or a spot of the stage) as NAME.png.
shot() {
  if [ $# -eq 1 ]; then
    import -silent -window root "$WORK/$1.png"
    return
  fi
  local ox oy x y w h
  read -r ox oy < <(stage_origin)
  read -r x y w h <<<"${SPOT[$2]}"
  import -silent -window root -crop "${w}x${h}+$((ox + x))+$((oy + y))" +repage "$WORK/$1.png"
}

# pixels_differing A B: how many pixels of two shots differ.
pixels_differing() {
  compare -metric AE -fuzz 8% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1
}

# settle NAME: waits until the screen stops changing (pictures loaded): the
# same for half a second, at most 10 s. Keeps the last shot as NAME.png;
# fails when the screen kept changing. settled NAME: the same wait, which
# only answers whether it settled.
settle() {
  settled "$1" && return 0
  fail "the screen kept changing ($1)"
  return 1
}
settled() {
  shot "$1"
  still_since=${EPOCHREALTIME//[!0-9]/}
  wait_until 10 screen_still "$1"
}
# screen_still NAME: a new shot equals NAME.png and has for half a second;
# a shot that differs becomes NAME.png, and the half second starts again.
screen_still() {
  shot "$1.next"
  if [ "$(pixels_differing "$1" "$1.next")" != 0 ]; then
    mv "$WORK/$1.next.png" "$WORK/$1.png"
    still_since=${EPOCHREALTIME//[!0-9]/}
    return 1
  fi
  [ $((${EPOCHREALTIME//[!0-9]/} - still_since)) -ge 500000 ]
}

# expect_change DESCRIPTION A B: the screen comes to differ from shot A in
# more than a few pixels: B, taken before, or taken again until it does (at
# most 60 s; a loaded machine may report a page before it draws it). B is
# then settled.
expect_change() {
  local n
  if screen_differs "$2" "$3" || wait_until 60 shot_differs "$2" "$3"; then
    settle "$3"
    pass "$1 ($n pixels changed)"
  else
    fail "$1: only ${n:-?} pixels changed"
  fi
}

# screen_differs A B: shot B differs from A in more than 200 pixels (sets
# n); shot_differs takes B anew first.
screen_differs() {
  n=$(pixels_differing "$1" "$2")
  [ "${n:-0}" -gt 200 ] 2>/dev/null
}
shot_differs() { shot "$2"; screen_differs "$1" "$2"; }

# expect_spot_change DESCRIPTION BEFORE SPOT: waits (at most 60 s) until
# the spot no longer looks as in the shot BEFORE.
expect_spot_change() {
  local n=0
  wait_until 60 spot_differs "$3" "$2" "$2.later" 20 && { pass "$1 ($n pixels changed)"; return 0; }
  fail "$1: only ${n:-?} pixels changed"
}

# page_shown N: waits until the movie reports page N for the COUNT-th time.
page_shown() { wait_log "fscommand pageShown | $1 -> ignored" "${2:-60}"; }
