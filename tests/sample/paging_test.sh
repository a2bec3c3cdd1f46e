#!/usr/bin/env bash
# Pages through Sample.exe as a reader would: the next key and button, the
# contents page, Escape, the window buttons, the right button, Refresh and
# Quit; checks that the screen changes from page to page and that quitting
# removes the magazine's files.
source "$(dirname "$0")/../lib.sh"

book=$SAMPLE_BIN/Sample.exe
folder=$(book_folder Sample)
start_reader "$book" || finish
page_shown 0 60
settle cover

# Device text shows in its own colour: the cover's title is 0xffd166, the
# status line below it another colour.
# (On a busy machine the title's glyphs may come after the stage settled.)
read -r ox oy < <(stage_origin)
title_coloured() {
  title=$(import -silent -window root -crop "206x46+$((ox + 298))+$((oy + 84))" +repage png:- |
    convert - -fuzz 3% -fill white -opaque '#ffd166' -fill black +opaque white \
      -format '%[fx:round(mean*w*h)]' info:)
  [ "${title:-0}" -gt 1000 ]
}
check "the cover's title in its own colour" yes "$(wait_until 30 title_coloured && echo yes || echo no)"

# Every file of the magazine is in the cache folder, main.swf aside.
want=$(cd "$SAMPLE_FILES/files" && ls | grep -vx main.swf | sort)
check "the cache folder holds the magazine's files" "$want" "$(ls "$folder" | sort)"

# The keys reach the movie once the reader has clicked into it.
click page
key Right
page_shown 1 && settle page1
expect_change "the → key turns to the contents page" cover page1

click Next
page_shown 2 && settle page2
expect_change "the Next button turns the page" page1 page2

# The contents page links to the page in Chinese (page 3).
click Contents
COUNT=2 page_shown 1
settle contents
click row3
page_shown 3 && settle chinese
expect_change "a row of the contents page opens its page" contents chinese
click Prev
COUNT=2 page_shown 2

# Refresh: the reader echoes it and the movie loads the page again.
click Refresh
wait_log "set incommand = Refresh"
COUNT=3 page_shown 2

# The right button: "restorePage", shown on the status line.
shot status1 status
click Contents 3
wait_log "set incommand = restorePage"
expect_spot_change "the status line shows \"restorePage\"" status1 status

# Escape: the reader says "restore" and shows the window; the status line
# shows what the reader said.
shot status0 status
key Escape
COUNT=2 wait_log "set incommand = restore"  # the first is "restorePage"
wait_geometry "82 49 860 660" >/dev/null || fail "Escape did not give the window"
wait_stage_placed
expect_spot_change "the status line shows \"restore\"" status0 status

click Full-screen
wait_geometry "0 0 1024 768" >/dev/null || fail "the Full screen button did not maximize"
wait_stage_placed
click Window
wait_geometry "82 49 860 660" >/dev/null || fail "the Window button did not give the window"
wait_stage_placed

click Quit
wait_exit 30
check "Quit ends the reader" 0 "${READER_RC:-none}"
[ -e "$folder" ] && fail "the cache folder is still there" || pass "the cache folder is removed"
check "no movie file is left" "" "$(movie_files)"
finish
