#!/usr/bin/env bash
# Both sample books give back the generator's files byte for byte, and both
# play: the first page shows, the next key turns it, Quit ends the reader.
source "$(dirname "$0")/../lib.sh"

for pair in "Sample.exe files" "Sample-v1.exe single-movie"; do
  read -r name edition <<<"$pair"
  out="$WORK/extract-$edition"
  mkdir -p "$out"
  if "$PAGORO_BOOK" extract "$SAMPLE_BIN/$name" "$out" >/dev/null; then
    if diff -r "$SAMPLE_FILES/$edition" "$out" >"$WORK/diff.txt"; then
      pass "$name gives back the $(ls "$out" | wc -l) file(s) it was packed from"
    else
      fail "$name gives back other files: $(head -5 "$WORK/diff.txt")"
    fi
  else
    fail "pagoro-book extract $name failed"
  fi
done
check "Sample-v1.exe is a format 1.0 book" "1.0" \
  "$("$PAGORO_BOOK" info "$SAMPLE_BIN/Sample-v1.exe" | sed -n "s/^format: //p")"

# cover_drawn NAME: the screen has settled on many colours, shot as
# NAME-cover.png; sets colours. (The page is reported before it is drawn.)
cover_drawn() {
  settled "$1-cover" || return 1
  colours=$(identify -format %k "$WORK/$1-cover.png")
  [ "$colours" -gt 50 ]
}

# SAMPLE_PLAY names the books to play (both by default).
for name in ${SAMPLE_PLAY:-Sample.exe Sample-v1.exe}; do
  start_reader "$SAMPLE_BIN/$name" || continue
  page_shown 0 60
  colours=0
  wait_until 6 cover_drawn "$name"
  [ "$colours" -gt 50 ] && pass "$name shows its cover ($colours colours)" || fail "$name shows $colours colours"
  click page
  key Right
  page_shown 1 && settle "$name-next"
  expect_change "$name turns the page" "$name-cover" "$name-next"
  click Quit
  wait_exit 30
  check "$name ends on Quit" 0 "${READER_RC:-none}"
done
finish
