#!/usr/bin/env bash
# A movie and a projector in a folder whose name is code page 936 bytes (杂志,
# as unzip leaves names from Chinese archives): each plays, and loads its
# neighbours through the player by their address (the bytes
# percent-encoded) and by TempPath, which names the folder legibly. The
# movie is named on the command line, the projector dropped on it as it
# plays.
source "$(dirname "$0")/../lib.sh"
KEY_L=76 KEY_O=79

gbk="$WORK/$(printf '\xd4\xd3\xd6\xbe')"
legible="$WORK/杂志"
mkdir "$gbk"
echo "loaded=neighbour" >"$gbk/level1.txt"
echo "loaded=told" >"$gbk/level2.txt"
# The player's address of a file: its path's bytes percent-encoded.
address=$(python3 -c 'import os, sys, urllib.parse; print(urllib.parse.quote(os.fsencode(sys.argv[1])))' "$gbk/level1.txt")
keys=(--watch TempPath --watch loaded "${STANDARD_KEYS[@]}"
  --load "$KEY_L=pagoro://reader$address" --load "$KEY_O=level2.txt")
"$REMOTE_MOVIE" "$gbk/intro.swf" "${keys[@]}" || exit 1
"$REMOTE_MOVIE" "$WORK/game.swf" "${keys[@]}" --text "game" || exit 1
make_projector "$gbk/Game.exe" "$WORK/game.swf"

# plays_here N WHAT: the N-th movie of the run reads its folder both ways.
plays_here() {
  COUNT=$1 wait_log "fscommand ready" 60 || return 1
  pass "$2 plays"
  focus_movie
  key l; COUNT=$1 wait_log "echo | loaded=neighbour" 30 && pass "$2 loads a neighbour by its address"
  key t; COUNT=$1 wait_log "echo | TempPath=$legible/" 30 && pass "$2 learns its folder legibly"
  key o; COUNT=$1 wait_log "echo | loaded=told" 30 && pass "$2 loads TempPath + a name"
}

start_reader "$PAGORO" "$gbk/intro.swf" || finish
plays_here 1 "the plain movie" || finish
check "nothing refused" "0" "$(log_count "refused")"

drop "$gbk/Game.exe"
wait_log "opened $legible/Game.exe" 30
plays_here 2 "the dropped projector" || finish
check "nothing refused" "0" "$(log_count "refused")"
check "its movie file while it plays" "1" "$(movie_files | wc -l)"

key q
wait_exit 20
check "exit code after quit" "0" "${READER_RC:-}"
check "its movie file removed" "0" "$(movie_files | wc -l)"
check "the folder's files stay" "Game.exe intro.swf level1.txt level2.txt" "$(ls "$gbk" | xargs)"
finish
