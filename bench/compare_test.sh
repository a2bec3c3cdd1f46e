#!/usr/bin/env bash
# Runs bench/compare.sh's extraction comparison at a small size against the
# given build: the files it generates must pack, extract to the same tree
# (compare.sh checks that itself), give ratios, and leave no working folder
# behind; a build without the tool must be refused with what is missing.
#   bench/compare_test.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

parent=$(mktemp -d "${TMPDIR:-/tmp}/compare-test.XXXXXX")
trap 'rm -rf "$parent"' EXIT

out=$(PAGORO_BENCH_TMP=$parent PAGORO_BENCH_ENTRIES=30 PAGORO_BENCH_MIB=3 \
  "$here/compare.sh" "$build" --only extract --runs 2 2>&1)
rc=$?
[ $rc = 0 ] || fail "compare.sh ended with $rc: $out"
for kind in "pagoro-book extract" "cp -r" "unzip (stored zip)"; do
  grep -qF "  $kind " <<<"$out" || fail "no figures for $kind"
done
grep -qE '^extract / cp    = [0-9.]+; [0-9.]+; [0-9.]+; [0-9.]+' <<<"$out" || fail "no ratios to cp: $out"
grep -qE '^extract / unzip = [0-9.]+; [0-9.]+; [0-9.]+; [0-9.]+' <<<"$out" || fail "no ratios to unzip"
grep -q "30 files, 3 MiB" <<<"$out" || fail "not the size asked for"
grep -qE '^goals: [0-9]+ met, [0-9]+ missed' <<<"$out" || fail "the goals are not counted: $out"
[ "$(grep -cE '\(goal <= [0-9.]+: (met|MISSED)\)' <<<"$out")" = 2 ] || fail "not two goals judged: $out"
left=$(find "$parent" -mindepth 1 | head -3)
[ -z "$left" ] || fail "left behind: $left"

empty=$parent/empty-build
mkdir "$empty"
out=$("$here/compare.sh" "$empty" --only extract 2>&1)
rc=$?
[ $rc = 2 ] || fail "a build without pagoro-book: exit $rc, want 2"
grep -qF "pagoro-book (make build) ($empty/bin/pagoro-book)" <<<"$out" ||
  fail "the missing tool is not named: $out"

[ $failures = 0 ] && echo "compare_test: all checks passed"
exit $((failures > 0))
