#!/usr/bin/env bash
# Movies that flood the reader: with links for the browser, and with mode
# requests while the user closes the window.
source "$(dirname "$0")/../lib.sh"
: "${HOSTILE_MOVIE:?}"

# hostile_book OUT.exe KIND: a book of the hostile movie of that kind.
hostile_book() {
  local src; src=$(mktemp -d "$WORK/src.XXXXXX")
  "$HOSTILE_MOVIE" "$src/main.swf" "$2" || return 1
  "$PAGORO_BOOK" pack "$src" -o "$1" --size 800x600 --reader "$PAGORO" >/dev/null || return 1
  chmod +x "$1"
}

# --- 100 links in 5 frames start the browser three times, and once more
# for each second the frames take (a few on a busy machine); the link 2 s
# later starts it again. The "browser" is an xdg-open of our own that notes each
# address; the reader's log lines carry their time.
mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<EOF
#!/bin/sh
echo "\$1" >>"$WORK/browser.txt"
EOF
chmod +x "$WORK/bin/xdg-open"
hostile_book "$WORK/Links.exe" links || exit 1
PATH="$WORK/bin:$PATH" QT_MESSAGE_PATTERN="%{time process} %{category}: %{message}" \
  start_reader "$WORK/Links.exe" || finish
wait_log "fscommand linksDone" 90
wait_until 10 grep -qsF /late "$WORK/browser.txt"
check "the link after the flood opens" "1" "$(grep -cF /late "$WORK/browser.txt" 2>/dev/null)"
flood=$(grep -cF /flood/ "$WORK/browser.txt")
log "flood links opened: $flood, dropped: $(log_count "link dropped")"
span=$(grep -F /flood/ "$READER_LOG" | awk 'NR == 1 { first = $1 } { last = $1 } END { print int(last - first + 1) }')
log "the flood took ${span}s"
check "100 links in 5 frames open the browser 3 times and once a second" "yes" \
  "$([ "$flood" -ge 1 ] && [ "$flood" -le $((3 + span)) ] && echo yes)"
check "the others are dropped and logged" "$((100 - flood))" "$(log_count "link dropped")"
close_window
wait_exit 30

# --- A flood of "fullscreen" false/true: the window ends in the mode asked
# for last, and closing its window in the middle of the flood ends it and cleans up.
hostile_book "$WORK/Modes.exe" modes || exit 1
start_reader "$WORK/Modes.exe" || finish
wait_log "fscommand floodPaused" 90
got=$(wait_geometry "82 49 860 660" 10); check "after the flood the window is in the mode asked for last" "" "$got"
n=$(log_count "fscommand fullscreen")
COUNT=$((n + 400)) wait_log "fscommand fullscreen" 60
close_window
wait_exit 30
check "closing during the flood ends the reader" 0 "${READER_RC:-none}"
wait_log "clean-up: book released" 1
check "the book's folder is removed" "no" "$([ -e "$(book_folder Modes)" ] && echo yes || echo no)"
finish
