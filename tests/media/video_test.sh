#!/usr/bin/env bash
# H.264 video plays: an FLV made with ffmpeg, its whole picture red and
# green by turns every half second, played through a NetStream; the screen
# in the middle of the video shows both colours.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

src=$(mktemp -d "$WORK/src.XXXXXX")
ffmpeg -nostdin -v error -f lavfi \
  -i "nullsrc=s=320x240:r=10,geq=r='255*mod(floor(N/5),2)':g='255*(1-mod(floor(N/5),2))':b=0" \
  -t 30 -c:v libx264 -pix_fmt yuv420p -f flv "$src/clip.flv" || { fail "ffmpeg made no FLV"; finish; }
check "the FLV holds H.264" h264 \
  "$(ffprobe -v error -select_streams v -show_entries stream=codec_name -of csv=p=0 "$src/clip.flv")"
"$MEDIA_MOVIE" "$src/main.swf" video clip.flv || exit 1
"$PAGORO_BOOK" pack "$src" -o "$WORK/Video.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/Video.exe"

start_reader "$WORK/Video.exe" || finish
wait_log "fscommand status | NetStream.Play.Start" 90
# Full screen on 1024x768: the 800x600 stage at (112, 84), the video in its
# middle. Red and green must both show within the clip's 30 s.
red=0 green=0
seen_both() {
  local r g
  IFS=, read -r r g _ <<<"$(pixel 512 384)"
  if [ "${r:-0}" -gt 150 ] && [ "${g:-0}" -lt 100 ]; then red=1; fi
  if [ "${g:-0}" -gt 150 ] && [ "${r:-0}" -lt 100 ]; then green=1; fi
  [ "$red" = 1 ] && [ "$green" = 1 ]
}
wait_until 30 seen_both
check "the H.264 picture shows and changes (red, then green, or so)" "1 1" "$red $green"
[ $red = 1 ] && [ $green = 1 ] || grep -iE "video|codec|h264|decod" "$READER_LOG" | head -5 >&2
close_window
wait_exit 30
finish
