#!/usr/bin/env bash
# A long run of starts and drops, watching what the reader holds:
#   tests/with-display.sh -- tests/soak/soak.sh BUILD_DIR [STARTS] [DROPS]
# (`make soak`). One reader takes DROPS dropped books, two books in turn;
# then STARTS book executables are started, each until its movie plays, and
# closed. Every 10 steps a line gives the reader's descriptors and threads,
# the temporary movie files and the book folders on disk, and the resident
# memory of the reader and of its web engine processes. The goal: no growth
# of descriptors or files, and the reader's resident memory after the last
# drop within 5 % of its size after the 10th.
build=${1:?usage: soak.sh BUILD_DIR [STARTS] [DROPS]}
starts=${2:-150}
drops=${3:-150}
export PAGORO="$build/bin/pagoro" PAGORO_BOOK="$build/bin/pagoro-book"
export REMOTE_MOVIE="$build/bin/pagoro-remote-movie" DRAG_SOURCE="$build/bin/pagoro-drag-source"
source "$(dirname "$0")/../lib.sh"

kib() { awk -v field="$2:" '$1 == field {print $2; exit}' "/proc/$1/status" 2>/dev/null; }
# The resident memory (KiB) of every process below PID.
children_rss() {
  local sum=0 child
  for child in $(pgrep -P "$1"); do
    sum=$((sum + $(kib "$child" VmRSS || echo 0) + $(children_rss "$child")))
  done
  echo "$sum"
}
report() {  # report PHASE STEP
  local fds threads rss engine
  fds=$(ls "/proc/$READER_PID/fd" 2>/dev/null | wc -l)
  threads=$(kib "$READER_PID" Threads)
  rss=$(kib "$READER_PID" VmRSS)
  engine=$(children_rss "$READER_PID")
  printf '%-6s %4d  fds %4d  threads %3d  movie files %2d  book folders %2d  reader RSS %7.1f MiB  engine RSS %7.1f MiB\n' \
    "$1" "$2" "$fds" "$threads" "$(movie_files | wc -l)" "$(ls "$XDG_DATA_HOME/pagoro" 2>/dev/null | wc -l)" \
    "$(echo "$rss / 1024" | bc -l)" "$(echo "$engine / 1024" | bc -l)" | tee -a "$WORK/soak.txt"
  LAST_RSS=$rss
}

make_book "$WORK/Soak A.exe" || exit 1
make_book "$WORK/Soak B.exe" || exit 1

log "$drops drops"
start_reader "$WORK/Soak A.exe" || finish
wait_log "fscommand ready" 60 || finish
xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
report drop 0
for i in $(seq "$drops"); do
  book="$WORK/Soak A.exe"
  [ $((i % 2)) -eq 1 ] && book="$WORK/Soak B.exe"
  drop "$book"
  COUNT=$((i + 1)) wait_log "fscommand ready" 60 || finish
  if [ $((i % 10)) -eq 0 ]; then
    report drop "$i"
    [ "$i" -eq 10 ] && RSS10=$LAST_RSS
  fi
done
if [ -n "${RSS10:-}" ]; then
  growth=$(echo "scale=1; ($LAST_RSS - $RSS10) * 100 / $RSS10" | bc)
  log "reader resident memory from drop 10 to drop $drops: ${growth} %"
  echo "growth from drop 10: ${growth} %" >>"$WORK/soak.txt"
fi
close_window
wait_exit 30
check "drops leave no movie file" "0" "$(movie_files | wc -l)"
log "$starts starts"
for i in $(seq "$starts"); do
  start_reader "$WORK/Soak A.exe" || finish
  wait_log "fscommand ready" 60 || finish
  [ $((i % 10)) -eq 0 ] && report start "$i"
  close_window
  wait_exit 30 || finish
  [ "${READER_RC:-}" == 0 ] || fail "start $i ended with ${READER_RC:-?}"
done
check "starts leave no movie file" "0" "$(movie_files | wc -l)"
check "starts leave no folder of their book" "no" "$([ -e "$(book_folder "Soak A")" ] && echo yes || echo no)"

cat "$WORK/soak.txt" >&2
finish
