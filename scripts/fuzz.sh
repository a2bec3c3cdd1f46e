#!/usr/bin/env bash
# Runs the fuzzers: scripts/fuzz.sh BUILD_DIR SECONDS [TARGET...]
# BUILD_DIR is a build configured with -DPAGORO_FUZZ=ON; each TARGET (book,
# movie_patch, file_kind, hand_over, recent_list, sol_file; all by default)
# runs SECONDS. A fuzzer starts from its seeds (book/fuzz/, player/fuzz/ and
# core/fuzz/ hold them) and works in a private folder
# (TMPDIR, XDG_DATA_HOME and HOME point into it), in /dev/shm when it can.
# A finding fails the run and is kept in BUILD_DIR/fuzz-findings.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS [book|movie_patch|file_kind|hand_over|recent_list|sol_file]..." >&2
  exit 2
fi
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="$2"
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(book movie_patch file_kind hand_over recent_list sol_file)
findings="$build/fuzz-findings"
mkdir -p "$findings"

# The seeds, dictionary and largest input of a target.
setup() {
  case "$1" in
    book) seeds="$repo/book/fuzz/corpus"; dict="$repo/book/fuzz/book.dict"; max_len=16384 ;;
    movie_patch) seeds="$repo/player/fuzz/corpus"; dict="$repo/player/fuzz/movie.dict"; max_len=16384 ;;
    file_kind) seeds="$repo/book/fuzz/kind_corpus"; dict="$repo/book/fuzz/book.dict"; max_len=16384 ;;
    hand_over) seeds="$repo/core/fuzz/corpus"; dict="$repo/core/fuzz/hand_over.dict"; max_len=16384 ;;
    recent_list) seeds="$repo/core/fuzz/recent_corpus"; dict="$repo/core/fuzz/recent.dict"; max_len=16384 ;;
    sol_file) seeds="$repo/core/fuzz/sol_corpus"; dict="$repo/core/fuzz/sol.dict"; max_len=16384 ;;
    *) echo "fuzz.sh: no fuzz target $1" >&2; exit 2 ;;
  esac
}

# The book target writes every input's files: in memory when it can (about
# 2.5 times as many runs a second as on the disk).
parent=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && parent=/dev/shm

work=""
trap '[ -z "$work" ] || rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
  setup "$target"
  fuzzer="$build/bin/fuzz_$target"
  [ -x "$fuzzer" ] || { echo "fuzz.sh: no fuzzer at $fuzzer" >&2; exit 1; }
  work="$(mktemp -d "$parent/pagoro-fuzz.XXXXXX")"
  mkdir "$work/tmp" "$work/home" "$work/corpus"
  cp "$seeds"/* "$work/corpus/"
  run=0
  (cd "$work" && env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/home/data" HOME="$work/home" \
    "$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      -dict="$dict" -artifact_prefix="$findings/" -print_final_stats=1 \
      "$work/corpus") 2>"$work/log" || run=$?
  echo "== fuzz_$target"
  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)|#[0-9]+ +DONE' "$work/log" || true
  if [ "$run" -ne 0 ]; then
    tail -n 60 "$work/log" >&2
    echo "fuzz.sh: fuzz_$target found a fault; the input is in $findings" >&2
    status=1
  else
    echo "fuzz.sh: fuzz_$target: no finding in $seconds s"
  fi
  rm -rf "$work"
done
exit "$status"
