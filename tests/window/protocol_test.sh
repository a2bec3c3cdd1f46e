#!/usr/bin/env bash
# The movie command protocol: answers, ignored commands, quit.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Proto.exe" "${STANDARD_KEYS[@]}" || exit 1
start_reader "$WORK/Proto.exe" || finish
wait_log "fscommand ready" 60
focus_movie
folder="$(book_folder Proto)/"

key r; wait_log "set incommand = Refresh" 10 && wait_log "echo | incommand=Refresh" 10 && pass "Refresh echoed"
key t; wait_log "echo | TempPath=$folder" 10 && pass "TempPath names the cache folder"
key t; COUNT=2 wait_log "echo | TempPath=$folder" 10 && pass "TempPath set twice"

# Capitalised or padded commands and args do nothing.
key c v b
wait_log "fscommand outcommand | SetTempPath  -> ignored" 10
check "Quit and 'quit ' ignored" "2" "$(grep -cE "fscommand (Quit|quit ) \| +-> ignored" "$READER_LOG")"
focus_movie
check "still running" "yes" "$(kill -0 "$READER_PID" 2>/dev/null && echo yes || echo no)"
check "no third TempPath" "2" "$(log_count "set TempPath")"

# "quit" with args ends the program and cleans up.
key x
wait_exit 20
check "exit code after quit" "0" "${READER_RC:-}"
check "cache folder removed" "no" "$([ -e "$folder" ] && echo yes || echo no)"
check "movie file removed" "0" "$(movie_files | wc -l)"

finish
