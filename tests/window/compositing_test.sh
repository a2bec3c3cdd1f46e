#!/usr/bin/env bash
# The compositing path: chosen by the machine (this display's OpenGL is
# Mesa's, drawn by the processor, or none), forced either way by
# PAGORO_COMPOSITING, named in the log, and drawing the same pixels.
source "$(dirname "$0")/../lib.sh"

# text_white: the upper half of the screen shows the stage's white text; sets
# white to its pixels.
text_white() {
  white=$(import -silent -window root -crop 1024x384+0+0 png:- 2>/dev/null |
    convert - -colorspace gray -threshold 99% -format '%[fx:round(mean*w*h)]' info:)
  [ "${white:-0}" -gt 100 ]
}

# shot PATH: starts the book on PATH (empty: the reader's own choice), waits
# for the movie and its text, and saves the screen as $WORK/PATH.png.
shot() {
  PAGORO_COMPOSITING=$1 start_reader "$WORK/Paths.exe" || return 1
  wait_log "fscommand ready" 60
  check "the movie shows (${1:-auto})" "0,0,160" "$(wait_pixel 512 384 0,0,160 30)"
  # The stage's text is white on the movie's blue, in the upper half of the
  # screen: wait until it is drawn.
  white=0
  wait_until 20 text_white
  check "the text shows (${1:-auto})" yes "$([ "${white:-0}" -gt 100 ] && echo yes || echo no)"
  import -silent -window root -depth 8 "$WORK/${1:-auto}.png"
}

make_book "$WORK/Paths.exe" --text "Compositing 合成路径 test" || exit 1

# --- By the machine: Xvfb's OpenGL (if any) is drawn by the processor.
shot ""
check "chosen by the machine" "software" \
  "$(sed -n 's/.*compositing: \([a-z]*\) - .*/\1/p' "$READER_LOG" | head -1)"
check "the reason names the renderer or its absence" "1" \
  "$(grep -cE 'compositing: software - (OpenGL is drawn by the processor \(renderer "[^"]+"\)|no OpenGL context could be made)' "$READER_LOG")"
stop_reader

# --- Forced either way.
shot hardware
check "forced hardware" "1" "$(log_count "compositing: hardware - forced by PAGORO_COMPOSITING=hardware")"
stop_reader
shot software
check "forced software" "1" "$(log_count "compositing: software - forced by PAGORO_COMPOSITING=software")"
stop_reader

# --- Both paths draw the same screen.
check "same pixels on both paths" "0" \
  "$(compare -metric AE "$WORK/hardware.png" "$WORK/software.png" null: 2>&1 | cut -d' ' -f1)"
finish
