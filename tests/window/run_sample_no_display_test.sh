#!/usr/bin/env bash
# run-sample.sh without a display: a clear message and a failure, at once.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$1" "$2" 2>&1)
rc=$?
echo "$out"
[ "$rc" -ne 0 ] && [ "$rc" -ne 124 ] && grep -q "there is no display" <<<"$out"
