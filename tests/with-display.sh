#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb with the openbox window manager)
# with private HOME, XDG and TMPDIR folders, then tears everything down.
#
#   tests/with-display.sh [--size WxH] [--keep] -- COMMAND [ARGS...]
#
# The command sees DISPLAY, HOME, XDG_DATA_HOME, XDG_CONFIG_HOME,
# XDG_CACHE_HOME, XDG_RUNTIME_DIR and TMPDIR pointing at fresh folders, and
# PAGORO_TEST_ROOT naming their parent, and DBUS_SESSION_BUS_ADDRESS naming
# a session bus of its own. --keep leaves that folder behind.
set -euo pipefail

size=1024x768
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--size WxH] [--keep] -- COMMAND [ARGS...]" >&2; exit 2; }

root=$(mktemp -d "${TMPDIR:-/tmp}/pagoro-test.XXXXXX")
mkdir -p "$root"/{home,data,config,cache,runtime,tmp}
chmod 700 "$root/runtime"

xvfb_pid=
wm_pid=
bus_pid=
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  [ "$keep" = 1 ] && echo "with-display: kept $root" >&2 || rm -rf "$root"
}
trap cleanup EXIT

PAGORO_DISPLAY_ONLY=1 source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
start_xvfb "${size}x24" "$root/xvfb.log" || true
xvfb_pid=$XVFB_PID
display=$XVFB_DISPLAY
[ -n "$display" ] || { echo "with-display: Xvfb did not start" >&2; cat "$root/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display"

export HOME="$root/home" XDG_DATA_HOME="$root/data" XDG_CONFIG_HOME="$root/config" \
       XDG_CACHE_HOME="$root/cache" XDG_RUNTIME_DIR="$root/runtime" TMPDIR="$root/tmp" \
       PAGORO_TEST_ROOT="$root"
export QT_QPA_PLATFORM=xcb
# The programs speak English, the language the tests read, whatever the
# caller's locale; a test of another language sets its own.
export LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES
# The web engine refuses to start as root with its sandbox; tests only.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi

# A session bus of its own. Without one, Qt's accessibility bridge has
# libdbus fork a helper to find one, and a child forked from a process
# running dozens of threads can hang before it runs the helper, and the
# program with it.
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1) ||
  { echo "with-display: dbus-daemon did not start" >&2; exit 1; }
bus_pid=$(sed -n 2p <<<"$bus")
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
export DBUS_SESSION_BUS_ADDRESS

openbox --sm-disable >"$root/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is up once it names itself on the root window (a
# minute at most, for a busy machine).
for _ in $(seq 600); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

set +e
"$@"
rc=$?
set -e
exit $rc
