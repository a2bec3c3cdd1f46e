#!/usr/bin/env bash
# shellcheck disable=SC2317  # functions called through names and traps
# Side-by-side measurements of the reader against what it cannot beat:
#   1. pagoro-book extract of a 1 GiB book of 2,000 files, against cp -r of
#      the same files and unzip of a stored (zip -0) zip of them;
#   2. start of a book to the movie's first fscommand, against the same movie
#      in a bare page of the same web engine with Ruffle;
#   3. peak memory of both, all processes of the engine counted.
# Every figure is the median of several runs made in this one invocation;
# the ratios divide medians. All runs are warm-cache: nothing is dropped
# from the page cache, and each run begins after a sync.
#
#   bench/compare.sh [BUILD_DIR] [--runs N] [--only extract|start]
#
# BUILD_DIR is a build made by `make build` (default build/release); this
# script builds nothing. Its working folder is made inside BUILD_DIR, so on
# the disk the project lives on (PAGORO_BENCH_TMP names another parent), and
# is removed at the end. PAGORO_BENCH_ENTRIES and PAGORO_BENCH_MIB change
# the size of the extracted book (2000 files, 1024 MiB) for a quick look.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=
runs=5
only=
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    -h|--help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "compare.sh: unknown option $1" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
build=${build:-$root/build/release}
build=$(cd "$build" 2>/dev/null && pwd) || { echo "compare.sh: no build folder ${build}; run make build" >&2; exit 2; }
[ "$runs" -ge 1 ] 2>/dev/null || { echo "compare.sh: --runs wants a positive number" >&2; exit 2; }

# ---- tools -----------------------------------------------------------------

missing=()
need() {  # need WHAT PATH-OR-COMMAND: note what is missing
  if [[ $2 == */* ]]; then [ -x "$2" ] || missing+=("$1 ($2)")
  else command -v "$2" >/dev/null 2>&1 || missing+=("$1 (command $2)"); fi
}
book_tool=$build/tools/pagoro-book/pagoro-book
reader=$build/app/pagoro
bare_page=$build/bench/bare_page
want_extract=1 want_start=1
[ "$only" = start ] && want_extract=0
[ "$only" = extract ] && want_start=0
if [ $want_extract = 1 ]; then
  need "pagoro-book (make build)" "$book_tool"
  for c in cp zip unzip head sync df; do need "$c" "$c"; done
fi
if [ $want_start = 1 ]; then
  need "pagoro (make build)" "$reader"
  need "bare_page (make build with PAGORO_BENCH=ON)" "$bare_page"
  need "pagoro-book (make build)" "$book_tool"
  need "Ruffle (scripts/install-deps.sh)" "$root/node_modules/@ruffle-rs/ruffle/ruffle.js"
  need "tests/with-display.sh" "$root/tests/with-display.sh"
  for c in Xvfb openbox; do need "$c (scripts/install-deps.sh)" "$c"; done
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "compare.sh: missing:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 2
fi

# ---- helpers ---------------------------------------------------------------

work=$(mktemp -d "${PAGORO_BENCH_TMP:-$build}/bench-work.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

now_us() { local t=$EPOCHREALTIME; echo "${t//[.,]/}"; }

# median of the numbers on stdin
median() { sort -n | awk '{v[NR]=$1} END {if (NR==0) exit 1; if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }

# ratio A B with three decimals
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a/b}'; }

verdict() {  # verdict RATIO LIMIT: "met" when RATIO <= LIMIT
  awk -v r="$1" -v l="$2" 'BEGIN {print (r <= l ? "met" : "MISSED")}'
}

seconds() { awk -v us="$1" 'BEGIN {printf "%.3f s", us/1e6}'; }

# ---- 1. extraction ---------------------------------------------------------

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
  local kind t0 t1 r
  declare -A times=([extract]="" [cp]="" [unzip]="")
  # One untimed round warms the caches; then the kinds take turns. A sync
  # before each run leaves no writing of the previous one pending.
  for ((r = 0; r <= runs; r++)); do
    for kind in extract cp unzip; do
      out=$work/out-$kind-$r
      sync
      t0=$(now_us); "run_$kind"; t1=$(now_us)
      if ((r > 0)); then times[$kind]+="$((t1 - t0)) "; fi
    done
  done
  local m_extract m_cp m_unzip
  m_extract=$(tr ' ' '\n' <<<"${times[extract]}" | grep . | median)
  m_cp=$(tr ' ' '\n' <<<"${times[cp]}" | grep . | median)
  m_unzip=$(tr ' ' '\n' <<<"${times[unzip]}" | grep . | median)
  echo "runs: $runs each, medians (wall clock):"
  printf '  %-22s %s   (all: %s us)\n' "pagoro-book extract" "$(seconds "$m_extract")" "${times[extract]% }"
  printf '  %-22s %s   (all: %s us)\n' "cp -r" "$(seconds "$m_cp")" "${times[cp]% }"
  printf '  %-22s %s   (all: %s us)\n' "unzip (stored zip)" "$(seconds "$m_unzip")" "${times[unzip]% }"
  local r_cp r_unzip
  r_cp=$(ratio "$m_extract" "$m_cp")
  r_unzip=$(ratio "$m_extract" "$m_unzip")
  echo "extract / cp    = $r_cp   (goal <= 1.10: $(verdict "$r_cp" 1.10))"
  echo "extract / unzip = $r_unzip   (goal < 1.00: $(awk -v r="$r_unzip" 'BEGIN {print (r < 1 ? "met" : "MISSED")}'))"
  rm -rf "${work:?}"/*
}

if [ $want_extract = 1 ]; then bench_extract; fi
exit 0
