#!/usr/bin/env bash
# Measures a book executable: the time from its start to the movie's first
# fscommand ("ready", raised on the first frame), median of RUNS runs, and
# its peak memory (sum of the peak resident sizes of the reader and every
# web engine process under it) and their proportional set size. Run inside tests/with-display.sh:
#   PAGORO=... PAGORO_BOOK=... REMOTE_MOVIE=... tests/with-display.sh -- tests/window/measure.sh [RUNS]
source "$(dirname "$0")/../lib.sh"
runs=${1:-7}

make_book "$WORK/Measure.exe" || exit 1

descendants() {  # PID and all processes below it
  local p=$1 c
  echo "$p"
  for c in $(pgrep -P "$p"); do descendants "$c"; done
}

times=()
peaks=()
psss=()
for i in $(seq "$runs"); do
  rm -rf "$XDG_DATA_HOME/pagoro"
  start=$(date +%s%N)
  READER_LOG="$WORK/measure.$i.log"
  QT_LOGGING_RULES="pagoro.protocol=true" "$WORK/Measure.exe" >"$READER_LOG" 2>&1 &
  READER_PID=$!
  ready=
  for _ in $(seq 600); do
    if grep -qF "fscommand ready" "$READER_LOG"; then ready=$(date +%s%N); break; fi
    sleep 0.02
  done
  [ -n "$ready" ] || { fail "run $i: no first frame within 12s"; stop_reader; continue; }
  times+=($(( (ready - start) / 1000000 )))
  sleep 3  # let the movie play a little
  peak=0 pss=0
  for p in $(descendants "$READER_PID"); do
    kb=$(awk '/VmHWM/ {print $2}' "/proc/$p/status" 2>/dev/null)
    peak=$((peak + ${kb:-0}))
    kb=$(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null)
    pss=$((pss + ${kb:-0}))
  done
  peaks+=($((peak / 1024)))
  psss+=($((pss / 1024)))
  stop_reader
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
echo "start to first frame (ms): ${times[*]}; median $(median "${times[@]}")"
echo "peak memory, reader + web engine processes (MiB): ${peaks[*]}; median $(median "${peaks[@]}")"
echo "  (sum of each process's peak resident size; shared pages count once per process)"
echo "proportional memory 3 s after the first frame (MiB): ${psss[*]}; median $(median "${psss[@]}")"
finish
