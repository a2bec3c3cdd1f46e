#!/usr/bin/env bash
# Builds the sample book executable and starts it.
set -euo pipefail
build=${1:-build/release}
echo "run: the reader window is not built yet." >&2
exit 1
