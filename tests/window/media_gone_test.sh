#!/usr/bin/env bash
# A book executable whose own file goes away while it plays (deleted from
# its stick; a running program's file can't be cut short) keeps playing
# from its extracted files and closes cleanly, removing its folder and
# movie file.
source "$(dirname "$0")/../lib.sh"
KEY_L=76

src=$(mktemp -d "$WORK/src.XXXXXX")
"$REMOTE_MOVIE" "$src/main.swf" --watch loaded --watch TempPath "${STANDARD_KEYS[@]}" \
  --load "$KEY_L=vars.txt" || exit 1
echo "loaded=still" >"$src/vars.txt"
mkdir -p "$WORK/stick"
"$PAGORO_BOOK" pack "$src" -o "$WORK/stick/Gone.exe" --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/stick/Gone.exe"
start_reader "$WORK/stick/Gone.exe" || finish
wait_log "fscommand ready" 60
focus_movie
key t; wait_log "echo | TempPath=" 20
rm "$WORK/stick/Gone.exe"
key l; wait_log "echo | loaded=still" 30 && pass "the movie still loads its files"
key q
wait_exit 30
check "exit code after quit" "0" "${READER_RC:-none}"
check "its folder removed" "no" "$([ -e "$(book_folder Gone)" ] && echo yes || echo no)"
check "its movie file removed" "0" "$(movie_files | wc -l)"
finish
