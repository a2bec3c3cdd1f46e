#!/usr/bin/env bash
# The ways a user opens the magazines and movies they have: a file argument
# (books of any program part and extension case, projectors, plain movies),
# the desktop entry, and what the reader says when it can't.
source "$(dirname "$0")/../lib.sh"
: "${DESKTOP_ENTRY:?}"
KEY_L=76 KEY_O=79

has_folder() { [ -e "$(book_folder "$1")" ] && echo "yes" || echo "no"; }
quit_movie() {  # the movie's own quit (key Q), then the reader must end
  key q
  wait_exit 20
  check "$1: exit code after quit" "0" "${READER_RC:-}"
}

# --- The options print and exit; a wrong one says so.
out=$("$PAGORO" --help); rc=$?
check "--help exit code" "0" "$rc"
check "--help text" "Usage: $PAGORO [FILE]" "$(echo "$out" | head -1)"
check "--help names F11, the page keys and the shelf's file" "3" \
  "$(grep -c -e "F11" -e "Page Up" -e "pagoro/recent" <<<"$out")"
check "--version" "pagoro " "$("$PAGORO" --version | cut -c1-7)"
"$PAGORO" --bogus >/dev/null 2>"$WORK/bogus.err"; rc=$?
check "unknown option exit code" "2" "$rc"
check "unknown option named" "1" "$(grep -c "unknown option --bogus" "$WORK/bogus.err")"

# --- A Windows book with an upper-case extension opens from the argument,
# full screen as a book executable, into a folder named without "EXE".
printf 'MZ\x90\0\x03\0\0\0 This program cannot be run in DOS mode.' >"$WORK/windows-program"
src=$(mktemp -d "$WORK/src.XXXXXX")
"$REMOTE_MOVIE" "$src/main.swf" --watch TempPath "${STANDARD_KEYS[@]}" || exit 1
echo "page one" >"$src/page1.txt"
"$PAGORO_BOOK" pack "$src" -o "$WORK/MAGAZINE.EXE" --reader "$WORK/windows-program" >/dev/null || exit 1
start_reader "$PAGORO" "$WORK/MAGAZINE.EXE" || finish
wait_log "fscommand ready" 60 && pass "the Windows book plays from the argument"
got=$(wait_geometry "0 0 1024 768"); check "full screen, as a book" "" "$got"
check "titled by the magazine" "MAGAZINE" "$(xdotool getwindowname "$WID")"
check "its folder" "page1.txt" "$(ls "$(book_folder MAGAZINE)" 2>/dev/null)"
focus_movie
key t; wait_log "echo | TempPath=$(book_folder MAGAZINE)/" 30 && pass "TempPath names its folder"
quit_movie "Windows book"

# --- The same book under a name in GBK bytes (as unzip leaves names from a
# Chinese Windows), in a folder named so too, given relative to it as the
# working folder: found by its bytes, its folder named legibly.
gbk=$(printf '\xd4\xd3\xd6\xbe.exe')  # 杂志.exe
gbk_folder="$WORK/$(printf '\xd0\xc2')"  # 新
mkdir "$gbk_folder"
cp "$WORK/MAGAZINE.EXE" "$gbk_folder/$gbk"
pushd "$gbk_folder" >/dev/null || exit 1
start_reader "$PAGORO" "./$gbk" || finish
popd >/dev/null || exit 1
wait_log "fscommand ready" 60 && pass "a book named in GBK bytes plays from the argument"
check "its folder, named legibly" "page1.txt" "$(ls "$(book_folder 杂志)" 2>/dev/null)"
quit_movie "GBK-named book"

# --- A projector plays its movie; the movie reads its own folder's files and
# nothing else, and no book folder is written.
mkdir -p "$WORK/game" "$WORK/elsewhere"
echo "loaded=yes" >"$WORK/game/level1.txt"
echo "loaded=stolen" >"$WORK/elsewhere/secret.txt"
"$REMOTE_MOVIE" "$WORK/game.swf" --watch TempPath --watch loaded "${STANDARD_KEYS[@]}" \
  --load "$KEY_L=$WORK/game/level1.txt" --load "$KEY_O=$WORK/elsewhere/secret.txt" || exit 1
make_projector "$WORK/game/Game.exe" "$WORK/game.swf"
start_reader "$PAGORO" "$WORK/game/Game.exe" || finish
wait_log "fscommand ready" 60 && pass "the projector's movie plays"
focus_movie
key t; wait_log "echo | TempPath=$WORK/game/" 30 && pass "TempPath names the projector's folder"
key l; wait_log "echo | loaded=yes" 10 && pass "the movie reads a file of its folder"
key o; wait_log "elsewhere/secret.txt" 10
check "a file elsewhere is refused" "1" "$(grep -c "refused.*elsewhere/secret.txt" "$READER_LOG")"
check "nor was it read" "0" "$(log_count "loaded=stolen")"
check "one movie file while it plays" "1" "$(movie_files | wc -l)"
check "no book folder for a projector" "no" "$(has_folder Game)"
quit_movie "projector"
check "its movie file removed" "0" "$(movie_files | wc -l)"

# --- The desktop entry validates, offers the reader for Windows programs and
# Flash movies, and opens a plain movie through the desktop's launcher.
if command -v desktop-file-validate >/dev/null; then
  check "desktop entry valid" "" "$(desktop-file-validate "$DESKTOP_ENTRY" 2>&1)"
else
  fail "desktop-file-validate is missing (scripts/install-deps.sh)"
fi
mkdir -p "$XDG_DATA_HOME/applications"
entry=$(basename "$DESKTOP_ENTRY")
sed "s|^Exec=pagoro |Exec=$PAGORO |" "$DESKTOP_ENTRY" >"$XDG_DATA_HOME/applications/$entry"
update-desktop-database "$XDG_DATA_HOME/applications" 2>/dev/null
for type in application/x-ms-dos-executable application/vnd.adobe.flash.movie; do
  offered=$(XDG_DATA_DIRS=/nonexistent gio mime "$type" 2>/dev/null | grep -A1 '^Registered applications' | grep -cF "$entry")
  check "offered for $type" "1" "$offered"
done
cp "$WORK/game.swf" "$WORK/game/intro.swf"
READER_LOG="$WORK/launched.log"
QT_LOGGING_RULES="pagoro.*=true" gio launch "$XDG_DATA_HOME/applications/$entry" "$WORK/game/intro.swf" \
  >"$READER_LOG" 2>&1
wait_log "fscommand ready" 60 && pass "the desktop entry plays a movie"
wait_log "open file $WORK/game/intro.swf" 1
WID=$(xdotool search --onlyvisible --name '^intro$' | head -1)
check "the file manager's route titles the window by the movie" "yes" "$([ -n "$WID" ] && echo yes || echo no)"
launched=$(xdotool getwindowpid "$WID" 2>/dev/null)
focus_movie
key t; wait_log "echo | TempPath=$WORK/game/" 30 && pass "TempPath names the movie's folder"
check "no movie file for a plain movie" "0" "$(movie_files | wc -l)"
key q
wait_until 20 ended "$launched"
check "the launched reader ends at quit" "no" "$(kill -0 "$launched" 2>/dev/null && echo yes || echo no)"
check "the movie itself stays" "yes" "$([ -f "$WORK/game/intro.swf" ] && echo yes || echo no)"
check "no book folder for a movie" "no" "$(has_folder intro)"

# --- A file that holds no magazine: a message naming it, then the start
# screen, from which the reader can still be closed.
{ printf 'MZ just a program'; printf '\0\0\0\0'; } >"$WORK/Notes.EXE"
launch_reader "$PAGORO" "$WORK/Notes.EXE"
wait_log "error box: pagoro | \"$WORK/Notes.EXE\" holds no magazine" 30 && pass "the message names the file"
dismiss_box
wait_log "start screen" 20 && pass "then the start screen"
check "no folder for it" "no" "$(has_folder Notes)"
WID=$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name '^pagoro$' | head -1)
close_window
wait_exit 20
check "closed from the start screen" "0" "${READER_RC:-}"

# --- As root, without the sandbox turned off, the reader says why it can't
# start and how to go on, in a box and on standard error.
if [ "$(id -u)" -eq 0 ]; then
  READER_LOG="$WORK/root.log"; : >"$READER_LOG"
  env -u QTWEBENGINE_DISABLE_SANDBOX "$PAGORO" >"$WORK/root.out" 2>"$READER_LOG" &
  READER_PID=$!
  wait_log "QTWEBENGINE_DISABLE_SANDBOX=1" 30 && pass "standard error says how to proceed"
  check "and why" "1" "$(grep -c "running as root" "$READER_LOG")"
  WID=
  dismiss_box
  wait_exit 20
  check "ends with code 1 after the box" "1" "${READER_RC:-}"
else
  log "skipped: not root"
fi

finish
