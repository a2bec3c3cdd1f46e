#!/usr/bin/env bash
# A hostile file system: killed readers' movie files go with the next start
# (and nothing of another program), a book named in code page 936 bytes
# opens legibly, and a book folder that is a link to the user's own folder is
# refused with nothing deleted.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Ends.exe" "${STANDARD_KEYS[@]}" || exit 1
gone() { [ -e "$1" ] && echo "no" || echo "gone"; }

# --- Killed readers leave their movie files; the next start of any book
# removes them, and nothing of another program.
printf 'not ours' >"$TMPDIR/tem1234.tmp"
left=
for i in 1 2 3; do
  launch_reader "$WORK/Ends.exe"
  wait_log "fscommand ready" 60
  kill -9 "$READER_PID"
  wait "$READER_PID" 2>/dev/null
  READER_PID=
  now=$(movie_files | grep tem-pagoro-)
  check "killed reader $i leaves one movie file, the one before it is gone" "1" "$(echo "$now" | grep -c .)"
  [ "$now" != "$left" ] || fail "killed reader $i: the same movie file as before"
  left=$now
done
make_book "$WORK/Other.exe" "${STANDARD_KEYS[@]}" || exit 1
start_reader "$WORK/Other.exe" || finish
wait_log "fscommand ready" 60
check "the next start leaves only its own movie file" "1" "$(movie_files | grep -c tem-pagoro-)"
check "another program's file stays" "not ours" "$(cat "$TMPDIR/tem1234.tmp")"
close_window
wait_exit 20
check "close removes the own movie file" "0" "$(movie_files | grep -c tem-pagoro-)"

# --- A book named in code page 936 bytes (as unzip leaves it): 杂志.exe.
gbk=$(printf '\xd4\xd3\xd6\xbe.exe')
cp "$WORK/Ends.exe" "$WORK/$gbk"
start_reader "$WORK/$gbk" || finish
wait_log "fscommand ready" 60
check "legible title" "杂志" "$(xdotool getwindowname "$WID")"
check "legible cache folder" "page1.txt pic.gif" "$(ls "$(book_folder 杂志)" | tr '\n' ' ' | sed 's/ $//')"
focus_movie
key t
wait_log "echo | TempPath=$(book_folder 杂志)/" 20 && pass "TempPath names the legible folder"
close_window
wait_exit 20
check "the legible folder removed at close" "gone" "$(gone "$(book_folder 杂志)")"

# --- A book folder that is a link to the user's own folder.
mkdir -p "$WORK/Documents/sub" "$XDG_DATA_HOME/pagoro"
echo "chapter one" >"$WORK/Documents/thesis.odt"
echo "notes" >"$WORK/Documents/notes.txt"
ln -s "$WORK/Documents" "$(book_folder Linked)"
cp "$WORK/Ends.exe" "$WORK/Linked.exe"
launch_reader "$WORK/Linked.exe"
wait_log "is a symbolic link; pagoro writes and deletes files only in a folder of its own" 30
dismiss_box
find_window 1024 768
close_window
wait_exit 20
check "the linked folder's files survive" "notes.txt sub thesis.odt" \
  "$(ls "$WORK/Documents" | tr '\n' ' ' | sed 's/ $//')"
check "their contents too" "chapter one" "$(cat "$WORK/Documents/thesis.odt")"
check "the link stays" "yes" "$([ -L "$(book_folder Linked)" ] && echo yes || echo no)"

finish
