#!/usr/bin/env bash
# Mail links reach the desktop: a movie's getURL("mailto:...") from its
# first frame and from a mouse press each start the desktop's handler (an
# xdg-open of our own that notes the address); another scheme is refused
# and logged once. The activation token a second start hands over serves
# its one activation and goes with no program started later.
source "$(dirname "$0")/../lib.sh"
: "${MEDIA_MOVIE:?}"

mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<STANDIN
#!/bin/sh
echo "\$1" >>"$WORK/opened.txt"
echo "token=\${XDG_ACTIVATION_TOKEN:-}" >>"$WORK/tokens.txt"
STANDIN
chmod +x "$WORK/bin/xdg-open"
src=$(mktemp -d "$WORK/src.XXXXXX")
"$MEDIA_MOVIE" "$src/main.swf" mail || exit 1
"$PAGORO_BOOK" pack "$src" -o "$WORK/Mail.exe" --size 800x600 --reader "$PAGORO" >/dev/null || exit 1
chmod +x "$WORK/Mail.exe"

# wait_opened TEXT: waits (bounded) until the stand-in noted TEXT.
wait_opened() { wait_until 30 noted "$1"; }
noted() { grep -qF -- "$1" "$WORK/opened.txt" 2>/dev/null; }
presses_noted() { [ "$(grep -c "mailto:press@" "$WORK/opened.txt")" -ge "$1" ]; }

PATH="$WORK/bin:$PATH" start_reader "$WORK/Mail.exe" || finish
wait_log "fscommand ready" 90
check "a mail link from the first frame reaches the desktop" yes \
  "$(wait_opened "mailto:timer@example.invalid" && echo yes)"
focus_movie
check "a mail link from a press reaches the desktop" yes \
  "$(wait_opened "mailto:press@example.invalid?subject=Hi" && echo yes)"
focus_movie
wait_until 30 presses_noted 2
check "a second press, a second mail" 2 "$(grep -c "mailto:press@" "$WORK/opened.txt")"
# Each press also tried a gopher: link after its mail link.
check "another scheme is refused and logged once" 1 "$(log_count "refused navigation to \"gopher:")"
check "nothing else reached the desktop" 0 "$(grep -vc '^mailto:' "$WORK/opened.txt")"

# --- A second start of the book calls this reader to the front with its
# token; the next link's program is started without it.
XDG_ACTIVATION_TOKEN=handed-over-token "$WORK/Mail.exe" >"$WORK/second.log" 2>&1
wait_log "activation token received" 20 && pass "the second start hands its token over"
focus_movie
wait_until 30 presses_noted 3
check "a program started later gets no token" "token=" "$(tail -1 "$WORK/tokens.txt")"
close_window
wait_exit 30
finish
