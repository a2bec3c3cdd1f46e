#!/usr/bin/env bash
# The shelf of recent magazines on the start screen: what was opened, newest
# first, with its cover; opened with Enter, forgotten with Delete; missing
# files shown so, Enter on one offers to forget it; after a box, Enter
# doesn't open the first entry; a damaged list ignored with a warning. The
# Open dialog starts in the folder last used. Same-named issues are two
# entries; a copy opened from elsewhere is one.
source "$(dirname "$0")/../lib.sh"

STATE=$HOME/.local/state/pagoro
mkdir -p "$WORK/mags"
make_book "$WORK/mags/Own.exe" "${STANDARD_KEYS[@]}" || exit 1
cp "$WORK/mags/Own.exe" "$WORK/mags/Second.exe"
"$REMOTE_MOVIE" "$WORK/mags/intro.swf" --watch TempPath "${STANDARD_KEYS[@]}" --text intro || exit 1

# play_and_quit ARGS...: opens, waits for the cover, quits with the movie's key.
play_and_quit() {
  start_reader "$PAGORO" "$@" || finish
  wait_log "fscommand ready" 60
  wait_log "shelf: cover of" 30
  focus_movie
  key q
  wait_exit 30
}
# open_dialog: Ctrl+O on the start screen, the dialog active.
open_dialog() {
  key ctrl+o
  local dialog
  dialog=$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name 'Open a magazine' | head -1)
  xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
}
# start_screen: the reader alone, its start screen up.
start_screen() {
  start_reader "$PAGORO" || finish
  wait_log "shelf: " 30
}

play_and_quit "$WORK/mags/Own.exe"
play_and_quit "$WORK/mags/intro.swf"
check "the list is a file of its own" "yes" "$([ -f "$STATE/recent" ] && echo yes || echo no)"
check "two covers" "2" "$(find "$STATE/covers" -name '*.png' | wc -l)"

# --- Both on the shelf, newest first, with their covers; Enter opens the first.
start_screen
check "two entries" "1" "$(log_count "shelf: 2 entries")"
first=$(grep -F "shelf entry:" "$READER_LOG" | head -1)
check "newest first, with where it lies and a cover" "yes" \
  "$(grep -qF "shelf entry: intro | $WORK/mags/ |" <<<"$first" && grep -qF "| cover" <<<"$first" && echo yes || echo no)"
key Return
wait_log "fscommand ready" 60 && pass "Enter opens the newest"
wait_log "open file $WORK/mags/intro.swf" 5
close_window
wait_exit 30

# --- A file gone is shown as missing. Enter on it asks whether to forget
# it; Enter in the question keeps it, and the keys stay with that entry,
# not the newest one. Delete forgets the chosen entry.
mv "$WORK/mags/Own.exe" "$WORK/Own.moved"
start_screen
check "missing shown" "1" "$(grep -F "shelf entry: Own |" "$READER_LOG" | grep -c "| missing")"
key Down Return
wait_log "shelf: missing: $WORK/mags/Own.exe" 20 && pass "Enter on a missing entry asks"
press_in_box Return
wait_log "shelf: kept" 20 && pass "Enter in the question keeps it"
wait_no_box
key Return
COUNT=2 wait_log "shelf: missing: $WORK/mags/Own.exe" 20 && pass "the keys stayed with the missing entry"
press_in_box Escape
COUNT=2 wait_log "shelf: kept" 20
wait_no_box
key Delete
wait_log "shelf: forgot $WORK/mags/Own.exe" 20 && pass "Delete forgets the chosen entry"
check "nothing opened meanwhile" "0" "$(log_count "open file")"
wait_log "shelf: 1 entries" 20
close_window
wait_exit 30
check "forgotten for good" "0" "$(grep -c 'Own.exe' "$STATE/recent")"
check "its cover removed" "1" "$(find "$STATE/covers" -name '*.png' | wc -l)"

# --- The Open dialog starts in the folder of the last magazine: a bare name
# is found there.
start_screen
open_dialog
xdotool type --delay 10 "Second.exe"
xdotool key Return
wait_log "open file $WORK/mags/Second.exe" 30 && pass "the dialog starts in the last folder"
wait_log "fscommand ready" 60
close_window
wait_exit 30

# --- A file named in GBK bytes (as unzip leaves names from Chinese
# archives) is listed, in its characters, and opens.
mkdir "$WORK/gbk"
cp "$WORK/mags/Second.exe" "$WORK/gbk/$(printf '\xd4\xd3\xd6\xbe').exe"  # 杂志.exe
start_screen
open_dialog
xdotool type --delay 10 "$WORK/gbk"
xdotool key Return
wait_log "chooser: $WORK/gbk/ | 2 entries" 20  # "..", then the file, chosen
xdotool key Return
wait_log "chosen: $WORK/gbk/杂志.exe" 30 && pass "the GBK-named file is listed and chosen"
wait_log "fscommand ready" 60 && pass "and plays"
find_window 1024 768
check "titled in its characters" "杂志" "$(xdotool getwindowname "$WID")"
close_window
wait_exit 30

# --- A damaged list: a warning, an empty shelf, and the next opening
# writes a good one.
printf 'pagoro recent 1\nentry 12 /x' >"$STATE/recent"
start_screen
check "damaged list ignored" "1" "$(log_count "shelf: 0 entries")"
check "with a warning" "1" "$(log_count "is damaged")"
drop "$WORK/mags/Second.exe"
wait_log "fscommand ready" 60
close_window
wait_exit 30
check "a good list again" "pagoro recent 2" "$(head -1 "$STATE/recent")"
check "with the dropped book" "1" "$(grep -c 'Second.exe' "$STATE/recent")"

# --- After a box, Enter opens nothing: a dropped file that holds no
# magazine is named in a box, and the next Enter does not open the shelf's
# first entry. Ctrl+O's dialog is the later sign that the Enter was handled.
echo "no magazine" >"$WORK/notes.exe"
start_screen
drop "$WORK/notes.exe"
wait_log "holds no magazine" 20
dismiss_box
wait_no_box
key Return
key ctrl+o
wait_log "chooser: " 20
check "Enter after the box opens nothing" "0" "$(log_count "open file $WORK/mags/Second.exe")"
xdotool key Escape
wait_log "chosen: nothing" 20
close_window
wait_exit 30

# --- The question forgets a missing entry, and Enter then opens nothing.
# (Another magazine is opened after it: a copy of it would be the same one,
# its entry moved to the copy's place.)
mv "$WORK/mags/Second.exe" "$WORK/Second.moved"
make_book "$WORK/mags/Third.exe" "${STANDARD_KEYS[@]}" --text "third" || exit 1
play_and_quit "$WORK/mags/Third.exe"
start_screen
key Down Return
wait_log "shelf: missing: $WORK/mags/Second.exe" 20
press_in_box alt+f
wait_log "shelf: forgot $WORK/mags/Second.exe" 20 && pass "the question forgets it"
wait_log "shelf: 1 entries" 20
wait_no_box
key Return
key ctrl+o
wait_log "chooser: " 20
check "Enter after forgetting opens nothing" "0" "$(log_count "open file")"
xdotool key Escape
wait_log "chosen: nothing" 20
close_window
wait_exit 30
check "forgotten in the file" "0" "$(grep -c 'Second.exe' "$STATE/recent")"

# --- Two different magazines of the same name are two entries, each with
# its cover; one of them copied and opened from elsewhere stays one entry,
# which moves to where it was opened last.
mkdir -p "$WORK/issue1" "$WORK/issue2" "$WORK/copy"
make_book "$WORK/issue1/MAGAZINE.EXE" "${STANDARD_KEYS[@]}" --text "issue one" || exit 1
make_book "$WORK/issue2/MAGAZINE.EXE" "${STANDARD_KEYS[@]}" --text "issue two" || exit 1
play_and_quit "$WORK/issue1/MAGAZINE.EXE"
play_and_quit "$WORK/issue2/MAGAZINE.EXE"
start_screen
check "two issues of one name, two entries" "1" "$(log_count "shelf: 3 entries")"
check "each with its cover" "2" "$(grep -F "shelf entry: MAGAZINE |" "$READER_LOG" | grep -c "| cover")"
close_window
wait_exit 30
cp "$WORK/issue1/MAGAZINE.EXE" "$WORK/copy/"
play_and_quit "$WORK/copy/MAGAZINE.EXE"
start_screen
check "a copy opened elsewhere, one entry" "1" "$(log_count "shelf: 3 entries")"
check "moved to the copy's place" "1" "$(grep -F "shelf entry:" "$READER_LOG" | head -1 | grep -cF "MAGAZINE | $WORK/copy/ |")"
check "the first place no longer listed" "0" "$(grep -c "$WORK/issue1/" "$STATE/recent")"
check "a cover per magazine" "2" "$(grep -F "shelf entry: MAGAZINE |" "$READER_LOG" | grep -c "| cover")"
close_window
wait_exit 30

finish
