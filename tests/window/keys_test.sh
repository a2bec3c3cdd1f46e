#!/usr/bin/env bash
# Keys reach the movie without a click: from the start, after Escape and
# after the movie's own mode switch.
source "$(dirname "$0")/../lib.sh"

KEY_RIGHT=39
make_book "$WORK/Keys.exe" "${STANDARD_KEYS[@]}" --key "$KEY_RIGHT=right:down" || exit 1
start_reader "$WORK/Keys.exe" || finish
wait_log "fscommand ready" 60
WIN="82 49 860 660"
MAX="0 0 1024 768"

key Right
wait_log "fscommand right | down" 10 && pass "a key reaches the movie at start, with no click"

key Escape
got=$(wait_geometry "$WIN"); check "Escape gives the window" "" "$got"
key Right
COUNT=2 wait_log "fscommand right | down" 10 && pass "a key reaches the movie after Escape"

key f
got=$(wait_geometry "$MAX"); check "the movie maximizes" "" "$got"
key Right
COUNT=3 wait_log "fscommand right | down" 10 && pass "a key reaches the movie after maximizing"

check "the movie saw no click" "0" "$(log_count "fscommand mouse | down")"
finish
