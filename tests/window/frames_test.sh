#!/usr/bin/env bash
# The page's frames, counted into the log ("pagoro.frames", asked for here):
# once a second the frames the page rendered and those that reached the
# canvas. A still stage renders on at the movie's rate while its canvas is
# drawn no more.
source "$(dirname "$0")/../lib.sh"
LOG_RULES="pagoro.*=true"

line="pagoro.frames: frames: "
# counts: "RENDERED DRAWN" of the last count in the log.
counts() {
  grep -oE 'pagoro\.frames: frames: [0-9]+ rendered, [0-9]+ drawn' "$READER_LOG" | tail -1 | awk '{print $3, $5}'
}
# next_count: waits for the next count.
next_count() { COUNT=$(($(log_count "$line") + 1)) wait_log "$line" 30; }

make_book "$WORK/Still.exe" --text "A still stage" || exit 1
start_reader "$WORK/Still.exe" || finish
wait_log "fscommand ready" 60
# Once the stage has settled (text comes after the first frames), a count
# that drew nothing since the one before.
drawn=-1 settled=
for _ in $(seq 60); do
  next_count || break
  read -r rendered now <<<"$(counts)"
  if [ "$now" = "$drawn" ]; then settled=yes; break; fi
  drawn=$now
done
check "the stage settles" yes "$settled"
for _ in 1 2 3; do next_count; done
read -r rendered_later drawn_later <<<"$(counts)"
log "frames: $rendered, then $rendered_later rendered; $drawn, then $drawn_later drawn"
check "frames are rendered on" yes "$([ "${rendered_later:-0}" -gt "${rendered:-0}" ] && echo yes)"
check "the still stage is not drawn again" "$drawn" "$drawn_later"
finish
