#!/usr/bin/env bash
# Names with "#", "?", "%", "%20" and spaces, for the book file (and so its
# folder, which the movie loads every file from) and for the files in the
# book: the sample magazine's contents, cover page and picture all load.
source "$(dirname "$0")/../lib.sh"

# shows_cover EXE COVER: starts the book and waits until the contents, the
# cover page COVER and its picture were served and the cover is shown.
shows_cover() {
  local exe=$1 cover=$2 name; name=$(basename "$exe" .exe)
  start_reader "$exe" || return 1
  wait_log "pagoro/$name/目录.xml" 60 &&
    wait_log "pagoro/$name/$cover" 60 &&
    wait_log "pagoro/$name/封面.png" 60 &&
    page_shown 0 60 &&
    pass "$name: contents, cover page and picture load"
  check "$name: nothing refused" "" "$(grep -F refused "$READER_LOG")"
  close_window
  wait_exit 30
}

mkdir "$WORK/books"
for name in "Magazine #12" "Issue?" "50% off"; do
  cp "$SAMPLE_BIN/Sample.exe" "$WORK/books/$name.exe"
  shows_cover "$WORK/books/$name.exe" cover.swf
done

# Files named so inside a book named so.
src="$WORK/renamed"
cp -r "$SAMPLE_FILES/files" "$src"
cover="cover #1 50% off?%20.swf"
mv "$src/cover.swf" "$src/$cover"
sed -i "s|file=\"cover.swf\"|file=\"$cover\"|" "$src/目录.xml"
"$PAGORO_BOOK" pack "$src" -o "$WORK/books/Spring%20Issue.exe" --reader "$PAGORO" >/dev/null
chmod +x "$WORK/books/Spring%20Issue.exe"
shows_cover "$WORK/books/Spring%20Issue.exe" "$cover"
finish
