#!/usr/bin/env bash
# One reader per book when the readers' lock folder can't be used (here a
# plain file in its place): the first reader holds its book all the same,
# and a second start of the book says so instead of emptying the first
# one's folder.
source "$(dirname "$0")/../lib.sh"

KEY_L=76
src=$(mktemp -d "$WORK/src.XXXXXX")
"$REMOTE_MOVIE" "$src/main.swf" --watch loaded --watch TempPath \
  --key "$KEY_T=outcommand:SetTempPath" --load "$KEY_L=vars.txt" || exit 1
echo "loaded=own" >"$src/vars.txt"
"$PAGORO_BOOK" pack "$src" -o "$WORK/Own.exe" --reader "$PAGORO" >/dev/null && chmod +x "$WORK/Own.exe"

echo "not a folder" >"$XDG_RUNTIME_DIR/pagoro"
start_reader "$WORK/Own.exe" || finish
wait_log "fscommand ready" 60
wait_log "the readers' lock folder is unusable" 10 && pass "the first reader holds its book by the fallback lock"
key t; wait_log "echo | TempPath=" 10
key l; wait_log "echo | loaded=own" 30 && pass "the movie loads its files"
FIRST=("$READER_PID" "$READER_LOG" "$WID")

launch_reader "$WORK/Own.exe"
wait_log "is open in another reader of yours already" 60 && pass "a second start says the book is open"
dismiss_box
find_window 1024 768
close_window
wait_exit 30
check "the first reader's folder stays whole" "vars.txt" "$(ls "$(book_folder Own)" 2>/dev/null)"

READER_PID=${FIRST[0]} READER_LOG=${FIRST[1]} WID=${FIRST[2]}
key l; COUNT=2 wait_log "echo | loaded=own" 30 && pass "the first movie still loads its files"
close_window
wait_exit 30
check "its close removes its folder" "no" "$([ -e "$(book_folder Own)" ] && echo yes || echo no)"
finish
