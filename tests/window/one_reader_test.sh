#!/usr/bin/env bash
# One reader per book: a failed drop leaves the playing movie its files, a
# second start of a book hands over to the reader that has it, a close
# removes this run's own folders and no other reader's.
source "$(dirname "$0")/../lib.sh"

KEY_L=76
# loading_book OUT WORD: a book whose movie asks for its folder on T and
# loads vars.txt ("loaded=WORD") from it on L, echoing "loaded".
loading_book() {
  local src; src=$(mktemp -d "$WORK/src.XXXXXX")
  "$REMOTE_MOVIE" "$src/main.swf" --watch incommand --watch loaded --watch TempPath \
    --key "$KEY_T=outcommand:SetTempPath" --load "$KEY_L=vars.txt" || return 1
  echo "loaded=$2" >"$src/vars.txt"
  echo "page one" >"$src/page1.txt"
  "$PAGORO_BOOK" pack "$src" -o "$1" --reader "$PAGORO" >/dev/null && chmod +x "$1"
}
# loads WORD N: L, then the movie's Nth echo of the file's word.
loads() {
  key l
  COUNT=$2 wait_log "echo | loaded=$1" 30
}
folder_files() { ls "$(book_folder "$1")" 2>/dev/null | tr '\n' ' ' | sed 's/ $//'; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p'; }
# wait_active WID [SECONDS]: waits until the window manager has WID active.
is_active() { [ "$(printf '%d' "$(active_window)")" == "$1" ]; }
wait_active() { wait_until "${2:-10}" is_active "$1"; }
use() { READER_PID=$1; READER_LOG=$2; WID=$3; }

loading_book "$WORK/Own.exe" own || exit 1
loading_book "$WORK/Other.exe" other || exit 1
printf 'MZ\220\0 no book here\0\0\0\0' >"$WORK/Junk.exe"

start_reader "$WORK/Own.exe" || finish
wait_log "fscommand ready" 60
key t; wait_log "echo | TempPath=" 10
loads own 1 && pass "the movie loads its files"

# --- A junk drop: the error, then the movie goes on with its own folder.
drop "$WORK/Junk.exe"
wait_log "error box: Own | \"$WORK/Junk.exe\" holds no magazine" 20
dismiss_box
loads own 2 && pass "after a junk drop the movie still loads its files"
key t; COUNT=2 wait_log "echo | TempPath=$(book_folder Own)/" 10 && pass "TempPath still names the playing book's folder"
check "no file refused" "0" "$(log_count "refused")"
check "no folder left for the junk" "no" "$([ -e "$(book_folder Junk)" ] && echo yes || echo no)"
A=("$READER_PID" "$READER_LOG" "$WID")

# --- A second start of the same book: the first comes to the front, the
# second ends at once, and the folder stays whole.
"$DRAG_SOURCE" "$WORK/Other.exe" >/dev/null 2>&1 &
bystander=$!
by=$(xdotool search --all --sync --onlyvisible --pid "$bystander" --name 'pagoro-drag-source' | head -1)
xdotool windowactivate --sync "$by" >/dev/null 2>&1
wait_active "$by" || fail "another window could not be made active"
before=$(folder_files Own)
launch_reader "$WORK/Own.exe"
wait_exit 30 && check "the second start ends with success" "0" "$READER_RC"
grep -qF "called the reader that holds $(book_folder Own)/" "$READER_LOG" && pass "it called the first" ||
  fail "no call: $(cat "$READER_LOG")"
check "it opened nothing" "0" "$(log_count "| cache folder")"
use "${A[@]}"
wait_log "called to the front by another reader" 10
wait_active "$WID" && pass "the first reader's window is active" || fail "active: $(active_window), want $WID"
check "the folder is whole" "$before" "$(folder_files Own)"
loads own 3 && pass "the first reader still plays"
kill "$bystander" 2>/dev/null; wait "$bystander" 2>/dev/null

# --- A drop of a book another reader has: that reader comes to the front,
# this one plays on.
start_reader "$WORK/Other.exe" || finish
wait_log "fscommand ready" 60
B=("$READER_PID" "$READER_LOG" "$WID")
key t; wait_log "echo | TempPath=" 10
loads other 1
use "${A[@]}"
xdotool windowactivate --sync "$WID" >/dev/null 2>&1
drop "$WORK/Other.exe"
wait_log "not opened (open in another reader): $WORK/Other.exe" 20 && pass "the dropped book is left to its reader"
use "${B[@]}"
wait_log "called to the front by another reader" 10
wait_active "$WID" && pass "the other reader's window is active" || fail "active: $(active_window), want $WID"
use "${A[@]}"
loads own 4 && pass "the reader the book was dropped on plays on"

# --- Closing the first removes its own folder, not the other reader's.
close_window
wait_exit 20
check "own folder removed" "no" "$([ -e "$(book_folder Own)" ] && echo yes || echo no)"
check "the other reader's folder kept" "page1.txt vars.txt" "$(folder_files Other)"
use "${B[@]}"
loads other 2 && pass "the other reader still loads its files"

# --- A killed reader leaves no lock behind: the book opens again.
kill -9 "$READER_PID"; wait "$READER_PID" 2>/dev/null
start_reader "$WORK/Other.exe" || finish
wait_log "opened $WORK/Other.exe" 30 && pass "the book opens again after its reader was killed"
wait_log "fscommand ready" 60
close_window
wait_exit 20
check "its folder removed at close" "no" "$([ -e "$(book_folder Other)" ] && echo yes || echo no)"

finish
