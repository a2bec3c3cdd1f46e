#!/usr/bin/env bash
# Sound comes out: a movie plays an event sound of 440 Hz for 2 s, then a
# timeline stream sound of 1000 Hz for 2 s; a private PulseAudio server with
# a null sink, started here, records what the reader plays, and each tone
# must be heard for at least 0.6 s of its 2 (a stream sound follows the
# frames, which a busy machine draws late, and breaks up with them). While
# nothing sounds, the reader's output stream on the server is paused (or
# gone): from the start, and again a while after a sound. A sound that
# starts after such a stretch is heard. Then a minimized magazine plays on
# to its end.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
mkdir -p "$PULSE_RUNTIME_PATH"
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit=yes -n --use-pid-file=no \
  --load="module-native-protocol-unix" --load="module-null-sink sink_name=recorder" \
  >"$WORK/pulseaudio.log" 2>&1 &
PA_PID=$!
REC_PID=
trap 'kill $REC_PID $PA_PID 2>/dev/null' EXIT
pulse_up() { pactl info >/dev/null 2>&1; }
wait_until 10 pulse_up
pactl set-default-sink recorder || { fail "no PulseAudio server"; cat "$WORK/pulseaudio.log" >&2; finish; }

src=$(mktemp -d "$WORK/src.XXXXXX")
"$MEDIA_MOVIE" "$src/main.swf" tone || exit 1
"$PAGORO_BOOK" pack "$src" -o "$WORK/Tone.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/Tone.exe"

# record: records what the server plays into $WORK/rec.raw, until stopped.
record() {
  parec -d recorder.monitor --format=s16le --rate=22050 --channels=1 --raw >"$WORK/rec.raw" &
  REC_PID=$!
}
# stop_recording: the last of a sound is played out, and recorded, a little
# after the movie's last frame: waits until a further second has been
# recorded, then stops.
recorded_beyond() { [ "$(stat -c %s "$WORK/rec.raw")" -ge "$1" ]; }  # BYTES
stop_recording() {
  local size
  size=$(stat -c %s "$WORK/rec.raw")
  wait_until 20 recorded_beyond $((size + 44100))
  kill $REC_PID; wait $REC_PID 2>/dev/null; REC_PID=
}
# heard: "T440 T1000", the tenths of a second of $WORK/rec.raw in which each
# tone is heard. Per tenth: the share of the energy at 440 Hz and at
# 1000 Hz (Goertzel); a tenth counts for a tone when that share is over 0.4.
heard() {
  sox -t raw -r 22050 -e signed -b 16 -c 1 "$WORK/rec.raw" -t dat - |
  awk -v n=2205 '
    BEGIN { pi = atan2(0, -1); c1 = 2 * cos(2 * pi * 440 / 22050); c2 = 2 * cos(2 * pi * 1000 / 22050) }
    /^;/ { next }
    {
      x = $2; e += x * x
      s = x + c1 * a1 - a2; a2 = a1; a1 = s
      t = x + c2 * b1 - b2; b2 = b1; b1 = t
      if (++k == n) {
        if (e > 0) {
          p1 = a1 * a1 + a2 * a2 - c1 * a1 * a2; p2 = b1 * b1 + b2 * b2 - c2 * b1 * b2
          if (2 * p1 / (n * e) > 0.4) h1++
          if (2 * p2 / (n * e) > 0.4) h2++
        }
        k = e = a1 = a2 = b1 = b2 = 0
      }
    }
    END { print h1 + 0, h2 + 0 }'
}
# output_paused: no stream on the server is playing. The reader pauses its
# output after 3 s of silence; the web engine pauses a silent one by itself
# only after 30 s (and goes on rendering silence without it), so the bound
# of the waits for it stays well below that.
output_paused() { ! pactl list sink-inputs | grep -q 'Corked: no'; }
quiet_bound=15

record
start_reader "$WORK/Tone.exe" || finish
wait_log "fscommand toneDone" 120
stop_recording
read -r at440 at1000 <<<"$(heard)"
log "recorded $(stat -c %s "$WORK/rec.raw") bytes"
log "tenths of a second heard: 440 Hz $at440, 1000 Hz $at1000 (of 20 each)"
check "the event sound's 440 Hz is heard for at least 0.6 s" yes "$([ "$at440" -ge 6 ] && echo yes)"
check "the stream sound's 1000 Hz is heard for at least 0.6 s" yes "$([ "$at1000" -ge 6 ] && echo yes)"
wait_until $quiet_bound output_paused || fail "the output stream still plays after the sounds: $(pactl list sink-inputs)"
close_window
wait_exit 30

# --- Silent from the start, then a sound when the mouse goes down.
"$MEDIA_MOVIE" "$src/main.swf" later || exit 1
"$PAGORO_BOOK" pack "$src" -o "$WORK/Later.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/Later.exe"
start_reader "$WORK/Later.exe" || finish
wait_log "fscommand ready" 120
wait_until $quiet_bound output_paused || fail "the output stream plays while nothing sounds: $(pactl list sink-inputs)"
record
xdotool mousemove --sync 512 384 click 1
wait_log "fscommand laterDone" 60
stop_recording
read -r at440 _ <<<"$(heard)"
log "after the silence, tenths of a second heard: 440 Hz $at440 (of 20)"
check "a sound after the silence is heard for at least 0.6 s" yes "$([ "$at440" -ge 6 ] && echo yes)"
close_window
wait_exit 30

# --- Minimized as it starts, the magazine still plays to its end.
start_reader "$WORK/Tone.exe" || finish
wait_log "fscommand toneStart" 120
xdotool windowminimize "$WID"
wait_log "fscommand toneDone" 60 && pass "a minimized magazine plays on"
check "Ruffle made its worker" 0 "$(log_count "Unable to create background Worker")"
# As the session ends it.
kill -TERM "$READER_PID"
wait_exit 30
finish
