#!/usr/bin/env bash
# Side-by-side measurements of the reader against what it cannot beat:
#   1. pagoro-book extract of a 1 GiB book of 2,000 files, against cp -r of
#      the same files and unzip of a stored (zip -0) zip of them;
#   2. start of a book to the movie's first fscommand, against the same movie
#      in a bare page of the same web engine with Ruffle;
#   3. peak memory of both, all processes of the engine counted;
#   4. the steady state: the time a frame takes in a movie that runs the same
#      ActionScript on every frame, in a book against the bare page;
#   with --idle (the default), the processor both use on a still movie and
#   on a 60 fps animation, and the processor the reader uses on the sample
#   magazine's cover (bin/Sample.exe of the build) with the frames it draws
#   a second.
# Every figure comes from several runs made in this one invocation, the
# contenders taking turns: medians, fastest runs, and the ratios of the
# medians, per round and of the fastest runs. All runs are warm-cache:
# nothing is dropped from the page cache, and each run begins after a sync.
# Each goal is judged on the median of the per-round ratios and printed as
# met or MISSED; the last line counts them.
#
#   bench/compare.sh [BUILD_DIR] [--runs N] [--only extract|start|steady]
#                    [--book BOOK] [--idle SECONDS] [--priority]
#
# On a machine that is busy with other work the figures scatter; medians
# and minima are both printed. --priority runs the benchmark as a session of
# its own whose scheduling group gets the highest share (root only): the
# runs scatter less, while other work on the machine slows down.
#
# --book BOOK starts that book executable in part 2 instead of one made of
# a movie that raises fscommand("ready") on its first frame; its movie must
# raise an fscommand on its first frame too. --idle SECONDS (10 unless
# given; 0 leaves it out) measures, after the memory, the processor share of
# both over that many seconds of the still movie. Each side's compositing
# path (the reader's from its log) is printed. Parts 2 to 4 run on a private X display (tests/with-display.sh).
#
# BUILD_DIR is a build made by `make build` (default build/release); this
# script builds nothing. Its working folder is made inside BUILD_DIR, so on
# the disk the project lives on (PAGORO_BENCH_TMP names another parent), and
# is removed at the end. PAGORO_BENCH_ENTRIES and PAGORO_BENCH_MIB change
# the size of the extracted book (2000 files, 1024 MiB) for a quick look.
# shellcheck disable=SC2317  # functions called through names and traps
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
original_args=("$@")
build=
runs=5
only=
book_given=
inside_display=0
raise_priority=0
idle_seconds=10
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --book) book_given=$(realpath "$2"); shift 2 ;;
    --priority) raise_priority=1; shift ;;
    --idle) idle_seconds=$2; shift 2 ;;
    --inside-display) inside_display=1; raise_priority=0; shift ;;  # how the script calls itself
    -h|--help) sed -n '2,/^[^#]/p' "$0" | grep '^#' | grep -v shellcheck | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "compare.sh: unknown option $1" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
build=${build:-$root/build/release}
[ -d "$build" ] || { echo "compare.sh: no build folder $build; run make build" >&2; exit 2; }
build=$(cd "$build" && pwd)
[ "$runs" -ge 1 ] 2>/dev/null || { echo "compare.sh: --runs wants a positive number" >&2; exit 2; }
[ "$idle_seconds" -ge 0 ] 2>/dev/null || { echo "compare.sh: --idle wants a number of seconds" >&2; exit 2; }
case "$only" in ""|extract|start|steady) ;; *) echo "compare.sh: --only extract, start or steady" >&2; exit 2 ;; esac

# ---- tools -----------------------------------------------------------------

missing=()
need() {  # need WHAT PATH-OR-COMMAND: note what is missing
  if [[ $2 == */*.js || $2 == */*.sh ]]; then [ -f "$2" ] || missing+=("$1 ($2)")
  elif [[ $2 == */* ]]; then [ -x "$2" ] || missing+=("$1 ($2)")
  else command -v "$2" >/dev/null 2>&1 || missing+=("$1 (command $2)"); fi
}
book_tool=$build/bin/pagoro-book
reader=$build/bin/pagoro
bare_page=$build/bin/bare_page
movie_writer=$build/bin/first_frame_movie
steady_writer=$build/bin/steady_state_movie
animation_writer=$build/bin/animation_movie
ruffle_dir=$root/node_modules/@ruffle-rs/ruffle
want_extract=1 want_start=1 want_steady=1
case "$only" in
  extract) want_start=0 want_steady=0 ;;
  start) want_extract=0 want_steady=0 ;;
  steady) want_extract=0 want_start=0 ;;
esac
if [ $want_extract = 1 ]; then
  need "pagoro-book (make build)" "$book_tool"
  for c in cp zip unzip head sync df; do need "$c" "$c"; done
fi
if [ $want_start = 1 ] || [ $want_steady = 1 ]; then
  need "pagoro (make build)" "$reader"
  need "bare_page (make build with PAGORO_BENCH=ON)" "$bare_page"
  need "pagoro-book (make build)" "$book_tool"
  need "first_frame_movie (make build with PAGORO_BENCH=ON)" "$movie_writer"
  need "steady_state_movie (make build with PAGORO_BENCH=ON)" "$steady_writer"
  need "animation_movie (make build with PAGORO_BENCH=ON)" "$animation_writer"
  need "Ruffle (scripts/install-deps.sh)" "$ruffle_dir/ruffle.js"
  for c in pgrep realpath; do need "$c" "$c"; done
  [ -z "$book_given" ] || [ -f "$book_given" ] || missing+=("the book $book_given")
  if [ $want_start = 1 ] && [ -z "$book_given" ] && [ "$idle_seconds" -gt 0 ]; then
    need "the sample magazine (make build)" "$build/bin/Sample.exe"
  fi
  need "tests/with-display.sh" "$root/tests/with-display.sh"
  for c in Xvfb openbox; do need "$c (scripts/install-deps.sh)" "$c"; done
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "compare.sh: missing:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 2
fi

priority="normal"
if [ $raise_priority = 1 ]; then
  # The scheduler shares the processors between sessions first: a session
  # of its own, whose share is then raised.
  if [ -z "${PAGORO_BENCH_SESSION:-}" ] && command -v setsid >/dev/null; then
    PAGORO_BENCH_SESSION=1 exec setsid -w "$0" "${original_args[@]}"
  fi
  if [ -w /proc/$$/autogroup ] && echo -20 >"/proc/$$/autogroup" 2>/dev/null; then
    priority="raised (own session, scheduling group nice -20)"
  else
    priority="normal (could not raise it)"
  fi
fi
if [ $inside_display = 0 ]; then
  echo "pagoro benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'); build $build"
  echo "machine: $(nproc) processors, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)," \
    "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) memory"
  echo "priority: $priority; load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo
fi

# ---- helpers ---------------------------------------------------------------

if [ $inside_display = 1 ]; then
  work=$(mktemp -d "$TMPDIR/bench-work.XXXXXX")  # the display's private folder
else
  work=$(mktemp -d "${PAGORO_BENCH_TMP:-$build}/bench-work.XXXXXX")
  # The verdicts of every part, the ones on the display included.
  export PAGORO_BENCH_GOALS=$work/goals
  : >"$PAGORO_BENCH_GOALS"
fi
goals_file=$PAGORO_BENCH_GOALS
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM


# median of the numbers on stdin
median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) exit 1; if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }

# paired RUNS_A RUNS_B: the median of the ratios of the runs made in the
# same round, A over B (a disturbance that slows one round slows both)
paired() {
  local -a a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  local i
  for i in "${!a[@]}"; do ratio "${a[i]}" "${b[i]}"; echo; done | median
}

# smallest of the numbers on stdin
minimum() { sort -n | head -1; }

# med LIST / fastest LIST: the median / the smallest of a blank-separated list
med() { tr ' ' '\n' <<<"$1" | grep . | median; }
fastest() { tr ' ' '\n' <<<"$1" | grep . | minimum; }

# ratio A B with three decimals
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a/b}'; }

verdict() {  # verdict RATIO LIMIT: "met" when RATIO <= LIMIT
  awk -v r="$1" -v l="$2" 'BEGIN {print (r <= l ? "met" : "MISSED")}'
}

# goal WHAT RATIO LIMIT: prints "(goal <= LIMIT: met)" or MISSED and notes
# the verdict in the run's goals file, which the last line counts.
goal() {
  local v
  v=$(verdict "$2" "$3")
  echo "$v $1 $2 (goal <= $3)" >>"$goals_file"
  echo "(goal <= $3: $v)"
}

# goal_at_least WHAT VALUE LIMIT: the same for a figure that must reach
# LIMIT; a value that is no number ("-": nothing measured) misses it.
goal_at_least() {
  local v
  v=$(awk -v r="$2" -v l="$3" 'BEGIN {print (r ~ /^[0-9.]+$/ && r + 0 >= l + 0 ? "met" : "MISSED")}')
  echo "$v $1 $2 (goal >= $3)" >>"$goals_file"
  echo "(goal >= $3: $v)"
}

# path_of LOG: the compositing path a run's log names ("software - why").
path_of() {
  local p
  p=$(grep -m1 -oE 'compositing: .*' "$1" | sed 's/^compositing: //' || true)
  echo "${p:-not named}"
}

seconds() { awk -v us="$1" 'BEGIN {printf "%.3f s", us/1e6}'; }

# ---- 2. and 3. start-up and memory ----------------------------------------

# Prefixes each line of stdin with the time it arrived (microseconds).
stamp() {
  local line
  while IFS= read -r line; do printf '%s %s\n' "${EPOCHREALTIME//[.,]/}" "$line"; done
}

descendants() {  # PID and every process below it
  local c
  echo "$1"
  for c in $(pgrep -P "$1"); do descendants "$c"; done
}

# The processor time (user and system, in clock ticks) that PID and all its
# descendants have used so far.
cpu_ticks() {
  local p sum=0 t
  for p in $(descendants "$1"); do
    # Fields 14 and 15 of /proc/PID/stat, counted after the command name.
    t=$(sed 's/.*) //' "/proc/$p/stat" 2>/dev/null | awk '{print $12 + $13}')
    sum=$((sum + ${t:-0}))
  done
  echo "$sum"
}

# frame_rate LOG FROM TO: the frames a second the reader's page rendered
# and drew between the times FROM and TO (microseconds, as LOG is stamped),
# from the counts it logs once a second ("pagoro.frames: frames: R
# rendered, D drawn, at MS ms"), as "RENDERED DRAWN" with one decimal; "- -"
# when LOG has no two counts in that stretch (the bare page counts none).
frame_rate() {
  awk -v from="$2" -v to="$3" '
    / pagoro\.frames: frames: / {
      for (i = 1; i < NF; i++) {
        if ($(i + 1) == "rendered,") r = $i
        if ($(i + 1) == "drawn,") d = $i
        if ($i == "at") t = $(i + 1)
      }
      if ($1 <= from) { r0 = r; d0 = d; t0 = t; have0 = 1 }
      if ($1 <= to) { r1 = r; d1 = d; t1 = t }
    }
    END {
      if (!have0 || t1 <= t0) { print "- -"; exit }
      printf "%.1f %.1f\n", (r1 - r0) * 1000 / (t1 - t0), (d1 - d0) * 1000 / (t1 - t0)
    }' "$1"
}

# start_once LOG CMD...: starts CMD, waits for the first fscommand line of
# its output and reports "MICROSECONDS HWM_KB PSS_KB PROCESSES CPU_MS IDLE
# RENDERED DRAWN": the
# time from the start to that line and the processor time all processes had
# used by then; 2 s later, the sum over the process and all its descendants
# of each one's peak resident size (VmHWM) and of the proportional set sizes
# (Pss); with --idle, the processor time all of them use over the next
# idle_seconds, in thousandths of a processor (else 0), and the frames a
# second the page rendered and drew meanwhile (frame_rate). Then it ends the
# processes it started.
start_once() {
  local log=$1; shift
  rm -rf "${XDG_DATA_HOME:?}/pagoro"
  : >"$log"
  local t0=${EPOCHREALTIME//[.,]/}
  "$@" > >(stamp >"$log") 2>&1 &
  local pid=$! t1='' i line cpu=0
  for ((i = 0; i < 1200; i++)); do
    line=$(grep -m1 -E '^[0-9]+ (pagoro\.protocol: )?fscommand ' "$log" || true)
    if [ -n "$line" ]; then
      t1=${line%% *}; cpu=$(cpu_ticks "$pid")
      echo "${line#* }" >"$work/first-fscommand-$(basename "$log" .log | cut -d. -f1)"
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ -z "$t1" ]; then
    echo "compare.sh: no fscommand from $1 within 60 s; its output:" >&2
    sed 's/^[0-9]* /  /' "$log" >&2
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    return 1
  fi
  sleep 2
  local procs hwm=0 pss=0 p kb n=0
  procs=$(descendants "$pid")
  for p in $procs; do
    kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$p/status" 2>/dev/null || true)
    hwm=$((hwm + ${kb:-0}))
    kb=$(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null || true)
    pss=$((pss + ${kb:-0}))
    n=$((n + 1))
  done
  local idle=0 c0 c1 from to frames="- -"
  if [ "$idle_seconds" -gt 0 ]; then
    from=${EPOCHREALTIME//[.,]/}
    c0=$(cpu_ticks "$pid"); sleep "$idle_seconds"; c1=$(cpu_ticks "$pid")
    to=${EPOCHREALTIME//[.,]/}
    idle=$(((c1 - c0) * 1000 / $(getconf CLK_TCK) / idle_seconds))
    frames=$(frame_rate "$log" "$from" "$to")
  fi
  stop_all "$pid" "$procs"
  echo "$((t1 - t0)) $hwm $pss $n $((cpu * 1000 / $(getconf CLK_TCK))) $idle $frames"
}

stop_all() {  # stop_all PID "PROCESSES": ends PID, then whatever is left of them
  local i p
  kill "$1" 2>/dev/null
  for ((i = 0; i < 100; i++)); do kill -0 "$1" 2>/dev/null || break; sleep 0.05; done
  for p in $2; do kill -KILL "$p" 2>/dev/null || true; done
  wait "$1" 2>/dev/null || true
}

bench_start_inside() {
  local book=$work/Start.exe movie=$work/movie.swf
  if [ -n "$book_given" ]; then
    book=$book_given
    mkdir "$work/book"
    "$book_tool" extract "$book" "$work/book"
    movie=$work/book/main.swf
  else
    mkdir "$work/files"
    "$movie_writer" "$work/files/main.swf" 800x600
    echo "A page." >"$work/files/page1.txt"
    "$book_tool" pack "$work/files" -o "$book" --size 800x600 --reader "$reader"
    cp "$work/files/main.swf" "$movie"
  fi
  echo "== 2. start to the first fscommand, 3. peak memory"
  echo "book: $book ($(stat -c %s "$book") bytes); movie: $(stat -c %s "$movie") bytes"
  run_reader() { QT_LOGGING_RULES="pagoro.protocol=true;pagoro.app=true;pagoro.frames=true" "$book"; }
  run_bare() { "$bare_page" "$ruffle_dir" "$movie"; }
  local r kind out t h p n c i fr fd
  declare -A ms=([reader]="" [bare]="") hwm=([reader]="" [bare]="") pss=([reader]="" [bare]="")
  declare -A procs=([reader]="" [bare]="") cpu=([reader]="" [bare]="") idle=([reader]="" [bare]="")
  local rendered="" drawn=""
  # One untimed round warms the caches; then the two take turns.
  for ((r = 0; r <= runs; r++)); do
    for kind in reader bare; do
      out=$(start_once "$work/$kind.$r.log" "run_$kind") || return 1
      read -r t h p n c i fr fd <<<"$out"
      if ((r > 0)); then
        ms[$kind]+="$((t / 1000)) "; hwm[$kind]+="$((h / 1024)) "; pss[$kind]+="$((p / 1024)) "
        procs[$kind]=$n; cpu[$kind]+="$c "; idle[$kind]+="$i "
        if [ $kind = reader ]; then rendered+="$fr "; drawn+="$fd "; fi
      fi
    done
  done
  local m
  declare -A med
  for kind in reader bare; do
    med[ms_$kind]=$(med "${ms[$kind]}")
    med[hwm_$kind]=$(med "${hwm[$kind]}")
    med[pss_$kind]=$(med "${pss[$kind]}")
    med[cpu_$kind]=$(med "${cpu[$kind]}")
    med[idle_$kind]=$(med "${idle[$kind]}")
  done
  echo "compositing: reader $(path_of "$work/reader.$runs.log"); bare page $(path_of "$work/bare.$runs.log")"
  echo "runs: $runs each, medians:"
  printf '  %-34s %8s %8s\n' "" "reader" "bare page"
  printf '  %-34s %8s %8s\n' "start to first fscommand (ms)" "${med[ms_reader]}" "${med[ms_bare]}"
  printf '  %-34s %8s %8s\n' "  fastest run (ms)" \
    "$(fastest "${ms[reader]}")" "$(fastest "${ms[bare]}")"
  printf '  %-34s %8s %8s\n' "processor time by then (ms)" "${med[cpu_reader]}" "${med[cpu_bare]}"
  printf '  %-34s %8s %8s\n' "peak memory, sum of VmHWM (MiB)" "${med[hwm_reader]}" "${med[hwm_bare]}"
  printf '  %-34s %8s %8s\n' "proportional memory, Pss (MiB)" "${med[pss_reader]}" "${med[pss_bare]}"
  printf '  %-34s %8s %8s\n' "processes" "${procs[reader]}" "${procs[bare]}"
  if [ "$idle_seconds" -gt 0 ]; then
    printf '  %-34s %8s %8s\n' "idle, thousandths of a processor" "${med[idle_reader]}" "${med[idle_bare]}"
  fi
  for kind in reader bare; do
    echo "  $kind, all runs: ms ${ms[$kind]% }; processor ms ${cpu[$kind]% }; VmHWM MiB ${hwm[$kind]% }; Pss MiB ${pss[$kind]% }"
    if [ "$idle_seconds" -gt 0 ]; then
      echo "  $kind, idle over ${idle_seconds} s, thousandths of a processor: ${idle[$kind]% }"
    fi
  done
  echo "  first fscommand seen: reader \"$(cat "$work/first-fscommand-reader")\";" \
    "bare page \"$(cat "$work/first-fscommand-bare")\""
  echo "ratios: of the medians; median of the per-round ratios; of the fastest runs"
  m=$(paired "${ms[reader]}" "${ms[bare]}")
  echo "start: reader / bare page          = $(ratio "${med[ms_reader]}" "${med[ms_bare]}"); $m;" \
    "$(ratio "$(fastest "${ms[reader]}")" "$(fastest "${ms[bare]}")")   $(goal start "$m" 0.75)"
  m=$(paired "${cpu[reader]}" "${cpu[bare]}")
  echo "processor time: reader / bare page = $(ratio "${med[cpu_reader]}" "${med[cpu_bare]}"); $m;" \
    "$(ratio "$(fastest "${cpu[reader]}")" "$(fastest "${cpu[bare]}")")   $(goal "processor time" "$m" 0.55)"
  m=$(paired "${hwm[reader]}" "${hwm[bare]}")
  echo "peak memory: reader / bare page    = $(ratio "${med[hwm_reader]}" "${med[hwm_bare]}"); $m;" \
    "$(ratio "$(fastest "${hwm[reader]}")" "$(fastest "${hwm[bare]}")")   $(goal "peak memory" "$m" 0.80)"
  echo "proportional memory: reader / bare page = $(ratio "${med[pss_reader]}" "${med[pss_bare]}");" \
    "$(paired "${pss[reader]}" "${pss[bare]}")"
  if [ "$idle_seconds" -gt 0 ]; then
    m=$(paired "${idle[reader]}" "${idle[bare]}")
    echo "idle processor: reader / bare page = $(ratio "${med[idle_reader]}" "${med[idle_bare]}"); $m" \
      "  $(goal "idle processor" "$m" 0.50)"
    # Drawn by the processor, a still page's whole cost is the reader's:
    # the still movie's at most 100 thousandths, a book's (the sample's
    # cover, with its text) 300.
    local most=100
    [ -n "$book_given" ] && most=300
    if [[ $(path_of "$work/reader.$runs.log") == software* ]]; then
      echo "idle processor of the reader, software path = ${med[idle_reader]}" \
        "  $(goal "idle processor (thousandths)" "${med[idle_reader]}" "$most")"
    fi
    frames_line "$rendered" "$drawn"
  fi
}

# The frames a second a book's page rendered over the idle stretch, and how
# many of them reached the canvas (the others repeated the frame before).
# Not judged: the rate is the movie's own (the sample's cover is judged in
# part 2c).
frames_line() {
  echo "  reader, frames a second over the idle stretch: rendered ${1% }; drawn ${2% }"
  echo "frames a second rendered by the reader = $(med_or_none "$1") (drawn $(med_or_none "$2"))"
}

# med_or_none LIST: the median of the numbers in LIST, "-" when it has none.
med_or_none() {
  local m
  m=$(tr ' ' '\n' <<<"$1" | grep -E '^[0-9.]+$' | median) || m=-
  echo "${m:--}"
}

# The sample magazine's cover plays at 24 frames a second (its main movie's
# rate, tools/sample). "Full" is judged as at least 23 rendered a second
# over the idle stretch: the display's 60 refreshes a second take the
# movie's frames two or three at a time, and Ruffle runs a frame that falls
# behind together with the next one and renders them once, so a single late
# refresh in a second costs one frame without the movie slowing down; a
# movie that can't keep up loses many more.
cover_frames_least=23

# The sample magazine's cover (the build's Sample.exe), in the reader only:
# the processor it uses over --idle seconds from 2 s after its first
# fscommand, and the frames a second its page renders meanwhile.
bench_cover_inside() {
  local book=$build/bin/Sample.exe
  echo "== 2c. the sample's cover: processor and frames a second over ${idle_seconds} s"
  run_reader() { QT_LOGGING_RULES="pagoro.protocol=true;pagoro.app=true;pagoro.frames=true" "$book"; }
  local r out t h p n c i fr fd busy="" rendered="" drawn=""
  for ((r = 0; r <= runs; r++)); do
    out=$(start_once "$work/reader.cover.$r.log" run_reader) || return 1
    read -r t h p n c i fr fd <<<"$out"
    if ((r > 0)); then busy+="$i "; rendered+="$fr "; drawn+="$fd "; fi
  done
  echo "compositing: reader $(path_of "$work/reader.cover.$runs.log")"
  printf '  %-34s %8s\n' "idle, thousandths of a processor" "$(med "$busy")"
  echo "  reader, all runs: ${busy% }"
  echo "  reader, frames a second over the idle stretch: rendered ${rendered% }; drawn ${drawn% }"
  local m
  m=$(med "$busy")
  if [[ $(path_of "$work/reader.cover.$runs.log") == software* ]]; then
    echo "cover idle processor of the reader, software path = $m" \
      "  $(goal "cover idle processor (thousandths)" "$m" 300)"
  else
    echo "cover idle processor of the reader = $m"
  fi
  m=$(med_or_none "$rendered")
  echo "cover frames a second rendered by the reader = $m (drawn $(med_or_none "$drawn"))" \
    "  $(goal_at_least "cover frames a second" "$m" "$cover_frames_least")"
}

# The busy page: the processor both use over --idle seconds of a square
# moved at 60 frames a second, from 2 s after its first fscommand.
bench_animation_inside() {
  local book=$work/Animation.exe movie=$work/animation/main.swf
  mkdir "$work/animation"
  "$animation_writer" "$movie"
  echo "A page." >"$work/animation/page1.txt"
  "$book_tool" pack "$work/animation" -o "$book" --size 800x600 --reader "$reader" >/dev/null
  echo "== 2b. a 60 fps animation: processor over ${idle_seconds} s"
  run_reader() { QT_LOGGING_RULES="pagoro.protocol=true;pagoro.app=true;pagoro.frames=true" "$book"; }
  run_bare() { "$bare_page" "$ruffle_dir" "$movie"; }
  local r kind out t h p n c i fr fd rendered=""
  declare -A busy=([reader]="" [bare]="")
  for ((r = 0; r <= runs; r++)); do
    for kind in reader bare; do
      out=$(start_once "$work/$kind.animation.$r.log" "run_$kind") || return 1
      read -r t h p n c i fr fd <<<"$out"
      if ((r > 0)); then
        busy[$kind]+="$i "
        [ $kind = bare ] || rendered+="$fr "
      fi
    done
  done
  echo "compositing: reader $(path_of "$work/reader.animation.$runs.log"); bare page $(path_of "$work/bare.animation.$runs.log")"
  printf '  %-34s %8s %8s\n' "thousandths of a processor" "$(med "${busy[reader]}")" "$(med "${busy[bare]}")"
  for kind in reader bare; do echo "  $kind, all runs: ${busy[$kind]% }"; done
  echo "  reader, frames a second rendered: $(med_or_none "$rendered") (all runs: ${rendered% })"
  local m
  m=$(paired "${busy[reader]}" "${busy[bare]}")
  echo "animation processor: reader / bare page = $(ratio "$(med "${busy[reader]}")" "$(med "${busy[bare]}")"); $m" \
    "  $(goal "animation processor" "$m" 0.70)"
}

# The steady-state movie's workload and how many frames are timed.
steady_iterations=${PAGORO_BENCH_STEADY_ITERATIONS:-1500}
steady_warmup=30
steady_frames=${PAGORO_BENCH_STEADY_FRAMES:-100}

# steady_once LOG CMD...: starts CMD, waits for the movie's "measure" and
# "done" fscommands and reports "US_PER_FRAME CPU_US_PER_FRAME": the time
# between the two lines and the processor time all processes used between
# them (read when each line is seen, within 50 ms), over the frames timed.
steady_once() {
  local log=$1; shift
  rm -rf "${XDG_DATA_HOME:?}/pagoro"
  : >"$log"
  "$@" > >(stamp >"$log") 2>&1 &
  local pid=$! i line t1='' t2='' c1=0 c2=0
  for ((i = 0; i < 3600; i++)); do
    if [ -z "$t1" ]; then
      line=$(grep -m1 -E '^[0-9]+ (pagoro\.protocol: )?fscommand measure' "$log" || true)
      [ -n "$line" ] && { t1=${line%% *}; c1=$(cpu_ticks "$pid"); }
    fi
    if [ -n "$t1" ]; then
      line=$(grep -m1 -E '^[0-9]+ (pagoro\.protocol: )?fscommand done' "$log" || true)
      [ -n "$line" ] && { t2=${line%% *}; c2=$(cpu_ticks "$pid"); break; }
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  local procs
  procs=$(descendants "$pid")
  stop_all "$pid" "$procs"
  if [ -z "$t2" ]; then
    echo "compare.sh: the steady-state movie did not finish within 180 s under $1; its output:" >&2
    sed 's/^[0-9]* /  /' "$log" >&2
    return 1
  fi
  echo "$(((t2 - t1) / steady_frames)) $(((c2 - c1) * 1000000 / $(getconf CLK_TCK) / steady_frames))"
}

bench_steady_inside() {
  local book=$work/Steady.exe movie=$work/steady/main.swf
  mkdir "$work/steady"
  "$steady_writer" "$movie" "$steady_iterations" "$steady_warmup" "$steady_frames"
  "$book_tool" pack "$work/steady" -o "$book" --size 800x600 --reader "$reader"
  echo "== 4. steady state: $steady_iterations rounds of ActionScript a frame," \
    "$steady_frames frames timed after $steady_warmup"
  run_reader() { QT_LOGGING_RULES="pagoro.protocol=true;pagoro.app=true;pagoro.frames=true" "$book"; }
  run_bare() { "$bare_page" "$ruffle_dir" "$movie"; }
  local r kind out f c
  declare -A us=([reader]="" [bare]="") cpu=([reader]="" [bare]="")
  for ((r = 0; r <= runs; r++)); do
    for kind in reader bare; do
      out=$(steady_once "$work/$kind.steady.$r.log" "run_$kind") || return 1
      read -r f c <<<"$out"
      if ((r > 0)); then us[$kind]+="$f "; cpu[$kind]+="$c "; fi
    done
  done
  echo "compositing: reader $(path_of "$work/reader.steady.$runs.log"); bare page $(path_of "$work/bare.steady.$runs.log")"
  echo "runs: $runs each, medians:"
  printf '  %-34s %8s %8s\n' "" "reader" "bare page"
  printf '  %-34s %8s %8s\n' "time a frame (us)" "$(med "${us[reader]}")" "$(med "${us[bare]}")"
  printf '  %-34s %8s %8s\n' "  fastest run (us)" "$(fastest "${us[reader]}")" "$(fastest "${us[bare]}")"
  printf '  %-34s %8s %8s\n' "processor time a frame (us)" "$(med "${cpu[reader]}")" "$(med "${cpu[bare]}")"
  for kind in reader bare; do
    echo "  $kind, all runs: us a frame ${us[$kind]% }; processor us a frame ${cpu[$kind]% }"
  done
  echo "ratios: of the medians; median of the per-round ratios; of the fastest runs"
  local m
  m=$(paired "${us[reader]}" "${us[bare]}")
  echo "steady state: reader / bare page   = $(ratio "$(med "${us[reader]}")" "$(med "${us[bare]}")"); $m;" \
    "$(ratio "$(fastest "${us[reader]}")" "$(fastest "${us[bare]}")")   $(goal "steady state" "$m" 0.70)"
  echo "processor a frame: reader / bare page = $(ratio "$(med "${cpu[reader]}")" "$(med "${cpu[bare]}")");" \
    "$(paired "${cpu[reader]}" "${cpu[bare]}")"
}

if [ $inside_display = 1 ]; then
  if [ $want_start = 1 ]; then
    bench_start_inside
    if [ "$idle_seconds" -gt 0 ]; then echo; bench_animation_inside; fi
    if [ "$idle_seconds" -gt 0 ] && [ -z "$book_given" ]; then echo; bench_cover_inside; fi
  fi
  if [ $want_steady = 1 ]; then
    [ $want_start = 1 ] && echo
    bench_steady_inside
  fi
  exit
fi

# ---- 1. extraction ---------------------------------------------------------

label() {
  case $1 in
    extract) echo "pagoro-book extract" ;;
    cp) echo "cp -r" ;;
    unzip) echo "unzip (stored zip)" ;;
  esac
}

bench_extract() {
  local src=$work/files book=$work/book.exe zipfile=$work/files.zip
  local entries=${PAGORO_BENCH_ENTRIES:-2000} total=$(( ${PAGORO_BENCH_MIB:-1024} << 20 ))
  # Every run writes a new tree and all are removed at the end: on a file
  # system without a journal, ext4 passes over inodes freed in the last
  # minute when it makes a file, so deleting 2,000 files just before a run
  # would slow and scatter the runs that follow with the file system's cost.
  local need_gb=$(((3 * (runs + 1) + 3) * total >> 30)) free_kb
  free_kb=$(df -Pk "$work" | awk 'NR==2 {print $4}')
  if [ "$free_kb" -lt $((need_gb << 20)) ]; then
    echo "compare.sh: the extraction runs need $need_gb GiB free in $work; try fewer --runs" >&2
    return 1
  fi
  echo "== 1. extraction: $entries files, $((total >> 20)) MiB in all"
  echo "working folder: $work ($(df -PT "$work" | awk 'NR==2 {print $2 " on " $1}'))"

  # Files from 1/40 to about 1.6 times the mean size, each beginning as its
  # kind does (the first three bytes of a 2.0 entry go into the index and
  # must hold no line end); the last one takes what is left of the total.
  mkdir "$src"
  local sizes
  mapfile -t sizes < <(awk -v n="$entries" -v total="$total" 'BEGIN {
    for (i = 0; i < n; i++) { w[i] = 25 + (i * 7919) % 1000; sum += w[i] }
    for (i = 0; i < n - 1; i++) { s = int(total * w[i] / sum); left += s; print s }
    print total - left }')
  local i size name first
  for ((i = 0; i < entries; i++)); do
    size=${sizes[i]}
    [ "$size" -ge 3 ] || { echo "compare.sh: a file of $size bytes" >&2; return 1; }
    case $((i % 4)) in
      0) name=$(printf 'photo%04d.jpg' "$i"); first=$'\xff\xd8\xff' ;;
      1) name=$(printf 'sound%04d.mp3' "$i"); first=ID3 ;;
      2) name=$(printf 'page%04d.xml' "$i"); first='<?x' ;;
      *) name=$(printf 'clip%04d.swf' "$i"); first=FWS ;;
    esac
    if ((i == 0)); then name=main.swf first=FWS; fi
    { printf '%s' "$first"; head -c $((size - 3)) /dev/urandom; } >"$src/$name"
  done
  local image=()
  [ -x "$reader" ] && image=(--reader "$reader")
  "$book_tool" pack "$src" -o "$book" "${image[@]}"
  (cd "$src" && zip -q -0 -r "$zipfile" .)
  echo "book: $(stat -c %s "$book") bytes; zip: $(stat -c %s "$zipfile") bytes"

  # The extracted tree must be the generated one, byte for byte.
  mkdir "$work/check"
  "$book_tool" extract "$book" "$work/check"
  diff -r -q "$src" "$work/check" >/dev/null || { echo "compare.sh: extract gave other files" >&2; return 1; }
  rm -rf "$work/check"

  local out
  run_extract() { mkdir "$out"; "$book_tool" extract "$book" "$out"; }
  run_cp() { cp -r "$src" "$out"; }
  run_unzip() { unzip -q "$zipfile" -d "$out"; }
  local kind r real user sys
  declare -A times=([extract]="" [cp]="" [unzip]="") cpu=([extract]="" [cp]="" [unzip]="")
  local TIMEFORMAT='%3R %3U %3S'
  # One untimed round warms the caches; then the kinds take turns. A sync
  # before each run leaves no writing of the previous one pending.
  for ((r = 0; r <= runs; r++)); do
    for kind in extract cp unzip; do
      out=$work/out-$kind-$r
      sync
      { time "run_$kind" 2>&3; } 3>&2 2>"$work/time"
      read -r real user sys <"$work/time"
      if ((r > 0)); then
        times[$kind]+="$(awk -v s="$real" 'BEGIN {printf "%d", s * 1e6}') "
        cpu[$kind]+="$(awk -v u="$user" -v s="$sys" 'BEGIN {printf "%d", (u + s) * 1e3}') "
      fi
    done
  done
  echo "runs: $runs each; wall clock median (fastest run); processor time median"
  for kind in extract cp unzip; do
    printf '  %-22s %s (%s); %s ms   all: %s us\n' "$(label "$kind")" "$(seconds "$(med "${times[$kind]}")")" \
      "$(seconds "$(fastest "${times[$kind]}")")" "$(med "${cpu[$kind]}")" "${times[$kind]% }"
  done
  echo "ratios: of the medians; median of the per-round ratios; of the fastest runs; of processor time"
  local other p
  for other in cp unzip; do
    p=$(paired "${times[extract]}" "${times[$other]}")
    printf 'extract / %-5s = %s; %s; %s; %s' "$other" "$(ratio "$(med "${times[extract]}")" "$(med "${times[$other]}")")" \
      "$p" "$(ratio "$(fastest "${times[extract]}")" "$(fastest "${times[$other]}")")" \
      "$(ratio "$(med "${cpu[extract]}")" "$(med "${cpu[$other]}")")"
    if [ $other = cp ]; then echo "   $(goal "extraction / cp -r" "$p" 1.10)"
    else echo "   $(goal "extraction / unzip" "$p" 0.999)"; fi
  done
  find "$work" -mindepth 1 -maxdepth 1 ! -name goals -exec rm -rf {} +
}

if [ $want_extract = 1 ]; then bench_extract; fi
if [ $want_start = 1 ] || [ $want_steady = 1 ]; then
  [ $want_extract = 1 ] && echo
  args=("$build" --runs "$runs" --idle "$idle_seconds" --inside-display)
  [ -n "$only" ] && args+=(--only "$only")
  [ -n "$book_given" ] && args+=(--book "$book_given")
  # The display's private folders go inside the working folder too.
  TMPDIR=$work "$root/tests/with-display.sh" -- "$0" "${args[@]}"
fi
echo
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
met=$(grep -c '^met ' "$goals_file" || true)
missed=$(grep -c '^MISSED ' "$goals_file" || true)
echo "goals: $met met, $missed missed$( ((missed == 0)) || echo ": $(grep '^MISSED ' "$goals_file" |
  cut -d' ' -f2- | sed 's/ [0-9.]* (goal.*//' | paste -sd, | sed 's/,/, /g')")"
exit 0
