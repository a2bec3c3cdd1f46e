#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command without a network where the system allows it (a network
# namespace of its own, as root), to show that it fetches nothing; else
# runs it as it is, and says so.
#   scripts/offline.sh COMMAND [ARGS...]
set -euo pipefail
if [ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null; then
  exec unshare --net -- "$@"
fi
echo "offline: no network namespace here; running with the network" >&2
exec "$@"
