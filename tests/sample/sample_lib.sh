# Helpers for the sample magazine's end-to-end tests, on top of the reader's
# (tests/window/lib.sh). The test's CMake rule also passes PAGORO_SAMPLE (the
# generator, for the layout), SAMPLE_BIN (where Sample.exe and Sample-v1.exe
# are) and SAMPLE_FILES (the generator's output folders).
source "$(dirname "${BASH_SOURCE[0]}")/../window/lib.sh"
: "${PAGORO_SAMPLE:?}" "${SAMPLE_BIN:?}" "${SAMPLE_FILES:?}"

STAGE_W=800
STAGE_H=600
declare -A SPOT
while read -r name x y w h; do SPOT[$name]="$x $y $w $h"; done < <("$PAGORO_SAMPLE" --layout)
SPOT[page]="0 48 800 504"

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
  local ox oy i
  read -r ox oy < <(stage_origin)
  for i in $(seq 120); do
    [ "$(pixel $((ox + 2)) $((oy + 2)))" = "17,26,51" ] && return 0
    sleep 0.5
  done
  fail "the stage was not drawn at $ox,$oy"
}

# hover NAME: rests the pointer on a spot of the layout until, for a
# button, the button shows it is under the pointer: after a change of window
# mode the player takes a moment to place the stage anew.
hover() {
  local ox oy x y w h i
  read -r ox oy < <(stage_origin)
  read -r x y w h <<<"${SPOT[$1]:?no spot $1}"
  if [ "$1" != page ]; then shot hover.before "$1"; fi
  xdotool mousemove --sync $((ox + x + w / 2)) $((oy + y + h / 2))
  sleep 0.3
  [ "$1" != page ] || return 0
  for i in $(seq 40); do
    shot hover.after "$1"
    [ "$(pixels_differing hover.before hover.after)" -gt 20 ] && return 0
    sleep 0.25
  done
}

# click NAME [BUTTON]: clicks the middle of a spot of the layout.
click() {
  hover "$1"
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

# settle NAME: waits until the screen stops changing (pictures loaded), at
# most 10 s, and keeps the last shot as NAME.png.
settle() {
  local i
  shot "$1"
  for i in $(seq 20); do
    sleep 0.5
    shot "$1.next"
    [ "$(pixels_differing "$1" "$1.next")" = 0 ] && return 0
    mv "$WORK/$1.next.png" "$WORK/$1.png"
  done
  log "the screen kept changing"
}

# expect_change DESCRIPTION A B: the screen comes to differ from shot A in
# more than a few pixels: B, taken before, or taken again until it does (at
# most 60 s; a loaded machine may report a page before it draws it). B is
# then settled.
expect_change() {
  local i n
  for i in $(seq 120); do
    n=$(pixels_differing "$2" "$3")
    [ "${n:-0}" -gt 200 ] 2>/dev/null && break
    sleep 0.5
    shot "$3"
  done
  if [ "${n:-0}" -gt 200 ] 2>/dev/null; then
    settle "$3"
    pass "$1 ($n pixels changed)"
  else
    fail "$1: only ${n:-?} pixels changed"
  fi
}

# expect_spot_change DESCRIPTION BEFORE SPOT: waits (at most 60 s) until
# the spot no longer looks as in the shot BEFORE.
expect_spot_change() {
  local i n=0
  for i in $(seq 120); do
    shot "$2.later" "$3"
    n=$(pixels_differing "$2" "$2.later")
    [ "${n:-0}" -gt 20 ] && { pass "$1 ($n pixels changed)"; return 0; }
    sleep 0.5
  done
  fail "$1: only ${n:-?} pixels changed"
}

# page_shown N: waits until the movie reports page N for the COUNT-th time.
page_shown() { wait_log "fscommand pageShown | $1 -> ignored" "${2:-60}"; }
