#!/usr/bin/env bash
# A player control that can't be created ends the start with the fatal box
# and exit code 1; nothing is opened.
source "$(dirname "$0")/../lib.sh"

make_book "$WORK/Fatal.exe" || exit 1
export QTWEBENGINEPROCESS_PATH="$WORK/no-such-dir/QtWebEngineProcess"
launch_reader "$WORK/Fatal.exe"
wait_log "fatal box: Application Error | Exception PlayerError in module Fatal.exe at " 30
check "the fatal box names the missing part" "1" "$(log_count "The web engine is not installed")"
check "the box is titled Application Error" "Application Error" \
  "$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name . getwindowname 2>/dev/null | head -1)"
dismiss_box
wait_exit 20
check "exit code of a failed start" "1" "${READER_RC:-}"
check "nothing opened" "" "$(ls "$XDG_DATA_HOME/pagoro" 2>/dev/null)"
check "no movie file" "0" "$(movie_files | wc -l)"
finish
