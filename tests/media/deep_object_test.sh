#!/usr/bin/env bash
# A stored shared object nested deeper than the player can read is left out
# with one warning, never handed to the player, and the movie goes on; one
# nested as deep as the store allows is read as before.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

unset XDG_STATE_HOME
STORE="$HOME/.local/state/pagoro/shared-objects"
# The deepest nesting the store hands to the player (kSharedObjectDepthLimit).
BOUND=256

# stored_book NAME DEPTH: book NAME whose movie reads its bookmark and "/",
# then stores and flushes both; its bookmark is in the store before it
# starts: page "kept" beside a value of objects nested DEPTH deep. A first
# start makes the bookmark's place (the magazine's own area, known by what
# the book holds), then it is replaced.
stored_book() {
  local name=$1 depth=$2 src sol
  src=$(mktemp -d "$WORK/src.XXXXXX")
  mkdir -p "$WORK/$name"
  "$MEDIA_MOVIE" "$src/main.swf" store stored r || return 1
  # Books alike would be one magazine: each gets a stage of its own.
  "$PAGORO_BOOK" pack "$src" -o "$WORK/$name/$name.exe" --size "800x$((600 + ${#name}))" \
    --reader "$PAGORO" >/dev/null || return 1
  chmod +x "$WORK/$name/$name.exe"
  start_reader "$WORK/$name/$name.exe" || return 1
  wait_log "fscommand flushed |" 90 || return 1
  close_window; wait_exit 30
  sol=$(grep -o "$STORE/magazines/[^ ]*/bookmark.sol" "$READER_LOG" | head -1)
  [ -f "$sol" ] || { fail "no bookmark of $name in the store"; return 1; }
  python3 - "$sol" "$depth" <<'EOF' || return 1
import struct, sys
def name(text): return struct.pack('>H', len(text)) + text
depth = int(sys.argv[2])
value = (b'\x03' + name(b'a')) * depth + b'\x05' + b'\x00\x00\x09' * depth
body = name(b'page') + b'\x02' + name(b'kept') + b'\x00' + name(b'deep') + value + b'\x00'
rest = b'TCSO\x00\x04\x00\x00\x00\x00' + name(b'bookmark') + b'\x00\x00\x00\x00' + body
open(sys.argv[1], 'wb').write(b'\x00\xbf' + struct.pack('>I', len(rest)) + rest)
EOF
}
said() {
  grep -F "fscommand $1 |" "$READER_LOG" | head -1 | sed -e "s/.*fscommand $1 | *//" -e 's/ *->.*//'
}
warnings() { grep -c "shared objects:.*lasts until it ends" "$READER_LOG"; }
locks() { grep -c "Unable to lock" "$READER_LOG"; }

# --- As deep as the store allows: the player reads it.
stored_book Deep "$BOUND" || finish
start_reader "$WORK/Deep/Deep.exe" || finish
wait_log "fscommand flushed |" 90
check "an object nested $BOUND deep is read" "kept|r" "$(said read)"
check "and flushed anew" "true|true" "$(said flushed)"
check "no warning" 0 "$(warnings)"
close_window; wait_exit 30

# --- 100,000 deep: left out with one warning, the movie goes on.
stored_book Deeper 100000 || finish
start_reader "$WORK/Deeper/Deeper.exe" || finish
wait_log "fscommand flushed |" 90
check "an object nested 100,000 deep is left out" "undefined|r" "$(said read)"
check "the movie goes on and flushes" "true|true" "$(said flushed)"
check "one warning" 1 "$(warnings)"
check "the player never fails" 0 "$(locks)"
close_window; wait_exit 30
# What the movie flushed took its place.
start_reader "$WORK/Deeper/Deeper.exe" || finish
wait_log "fscommand read |" 90
check "the next start reads what the movie stored" "stored|r" "$(said read)"
close_window; wait_exit 30
finish
