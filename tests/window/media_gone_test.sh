#!/usr/bin/env bash
# A book executable whose own file goes away while it plays keeps playing
# from its extracted files and closes cleanly, removing its folder and
# movie file and touching nothing else. A running program's file can't be
# cut short, so it goes the other ways: deleted from its stick, renamed,
# or replaced by a new file at its path (another copy of the magazine).
source "$(dirname "$0")/../lib.sh"
KEY_L=76

src=$(mktemp -d "$WORK/src.XXXXXX")
"$REMOTE_MOVIE" "$src/main.swf" --watch loaded --watch TempPath "${STANDARD_KEYS[@]}" \
  --load "$KEY_L=vars.txt" || exit 1
echo "loaded=still" >"$src/vars.txt"
mkdir -p "$WORK/stick"
"$PAGORO_BOOK" pack "$src" -o "$WORK/Gone.book" --reader "$PAGORO" >/dev/null || exit 1
echo "loaded=the new copy" >"$src/vars.txt"
"$PAGORO_BOOK" pack "$src" -o "$WORK/New.book" --reader "$PAGORO" >/dev/null || exit 1
echo "the user's own" >"$WORK/stick/notes.txt"

for way in deleted renamed replaced; do
  log "--- its file $way"
  rm -f "$WORK/stick/"*.exe
  cp "$WORK/Gone.book" "$WORK/stick/Gone.exe" && chmod +x "$WORK/stick/Gone.exe"
  start_reader "$WORK/stick/Gone.exe" || finish
  wait_log "fscommand ready" 60
  focus_movie
  key t; wait_log "echo | TempPath=" 20
  case $way in
    deleted) rm "$WORK/stick/Gone.exe" ;;
    renamed) mv "$WORK/stick/Gone.exe" "$WORK/stick/Gone-old.exe" ;;
    replaced) cp "$WORK/New.book" "$WORK/stick/.new" && mv "$WORK/stick/.new" "$WORK/stick/Gone.exe" ;;
  esac
  key l; wait_log "echo | loaded=still" 30 && pass "$way: the movie still loads its files"
  key q
  wait_exit 30
  check "$way: exit code after quit" "0" "${READER_RC:-none}"
  check "$way: its folder removed" "no" "$([ -e "$(book_folder Gone)" ] && echo yes || echo no)"
  check "$way: its movie file removed" "0" "$(movie_files | wc -l)"
  check "$way: no other book folder" "" "$(ls -A "$XDG_DATA_HOME/pagoro" 2>/dev/null | grep '^Gone')"
  check "$way: the stick's other file" "the user's own" "$(cat "$WORK/stick/notes.txt")"
  case $way in
    renamed) check "$way: the renamed file untouched" "same" \
      "$(cmp -s "$WORK/Gone.book" "$WORK/stick/Gone-old.exe" && echo same)" ;;
    replaced) check "$way: the new file untouched" "same" \
      "$(cmp -s "$WORK/New.book" "$WORK/stick/Gone.exe" && echo same)" ;;
  esac
done
finish
