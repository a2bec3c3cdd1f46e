#!/usr/bin/env bash
# The hand-over socket of a playing reader under a flood: a client that
# streams garbage and sixty that connect and say nothing are dropped, the
# reader's memory and descriptors stay flat, and a second start of the book
# still hands over.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Flood.exe" "${STANDARD_KEYS[@]}" || exit 1
start_reader "$WORK/Flood.exe" || finish
wait_log "fscommand ready" 60
socket=$(ls "$XDG_RUNTIME_DIR"/pagoro/*.sock 2>/dev/null | head -1)
[ -S "$socket" ] || { fail "no hand-over socket"; finish; }
rss() { awk '/^VmRSS/ {print int($2 / 1024)}' "/proc/$READER_PID/status"; }
fds() { ls "/proc/$READER_PID/fd" | wc -l; }
rss0=$(rss) fds0=$(fds)

# --- 200 MiB without a newline, sent as fast as the reader takes them.
python3 - "$socket" <<'EOF' >"$WORK/garbage.log" 2>&1
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
chunk = b"x" * 65536
sent = 0
try:
    while sent < 200 << 20:
        sent += s.send(chunk)
except OSError as e:
    print("stopped:", e)
print("sent", sent)
EOF
wait_log "a message too long - dropped" 20 && pass "the garbage client is dropped"
log "garbage client: $(tr '\n' ' ' <"$WORK/garbage.log")"
sent=$(sed -n 's/.*sent \([0-9]*\).*/\1/p' "$WORK/garbage.log")
check "the garbage client is cut off within a few MiB" "yes" "$([ "${sent:-0}" -lt $((16 << 20)) ] && echo yes)"
grown=$(( $(rss) - rss0 ))
log "memory: $rss0 MiB before, grew by $grown MiB (the web engine's own use varies by tens)"
check "memory stays flat under garbage" "yes" "$([ "$grown" -lt 64 ] && echo yes)"

# --- Sixty silent clients at once, held for a while.
python3 - "$socket" "$WORK/silent.ready" <<'EOF' >"$WORK/silent.log" 2>&1 &
import socket, sys, time
held = []
for _ in range(60):
    s = socket.socket(socket.AF_UNIX)
    s.connect(sys.argv[1])
    held.append(s)
open(sys.argv[2], "w").close()
time.sleep(8)
EOF
silent=$!
wait_until 10 test -e "$WORK/silent.ready"
wait_log "too many clients at once - dropped" 20 && pass "clients beyond the few are dropped"
wait_log "said nothing whole in time - dropped" 20 && pass "silent clients are dropped after their deadline"
check "descriptors stay flat under sixty clients" "yes" "$([ $(( $(fds) - fds0 )) -le 6 ] && echo yes)"
wait "$silent"

# --- A second start of the book still hands over.
"$WORK/Flood.exe" >"$WORK/second.log" 2>&1; rc=$?
check "the second start ends at once" "0" "$rc"
wait_log "called to the front by another reader" 20 && pass "the second start hands over"
close_window
wait_exit 30
finish
