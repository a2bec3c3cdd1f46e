#!/usr/bin/env bash
# Runs the book fuzzer: scripts/fuzz.sh BUILD_DIR SECONDS
# BUILD_DIR is a build configured with -DPAGORO_FUZZ=ON. The fuzzer starts
# from the seed books in book/fuzz/corpus and works in a private folder
# (TMPDIR, XDG_DATA_HOME and HOME point into it). A finding fails the run
# and is kept in BUILD_DIR/fuzz-findings.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="$2"
fuzzer="$build/bin/fuzz_book"
[ -x "$fuzzer" ] || { echo "fuzz.sh: no fuzzer at $fuzzer" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/pagoro-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp" "$work/home" "$work/corpus"
cp "$repo"/book/fuzz/corpus/* "$work/corpus/"
findings="$build/fuzz-findings"
mkdir -p "$findings"

status=0
(cd "$work" && env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/home/data" HOME="$work/home" \
  "$fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -dict="$repo/book/fuzz/book.dict" -artifact_prefix="$findings/" -print_final_stats=1 \
    "$work/corpus") 2>"$work/log" || status=$?
grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)|#[0-9]+ +DONE' "$work/log" || true
if [ "$status" -ne 0 ]; then
  tail -n 60 "$work/log" >&2
  echo "fuzz.sh: the fuzzer found a fault; the input is in $findings" >&2
  exit 1
fi
echo "fuzz.sh: no finding in $seconds s"
