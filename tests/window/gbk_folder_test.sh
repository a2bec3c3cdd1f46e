#!/usr/bin/env bash
# A movie and a projector in a folder whose name is code page 936 bytes (杂志,
# as unzip leaves names from Chinese archives): each plays, and loads its
# neighbours through the player by their address (the bytes
# percent-encoded), by TempPath, which names the folder legibly, and by a
# relative name, which resolves against the folder (not against the
# player's page), confined to it. The movie is named on the command line,
# the projector dropped on it as it plays.
source "$(dirname "$0")/../lib.sh"
KEY_L=76 KEY_O=79 KEY_J=74 KEY_K=75 KEY_U=85

gbk="$WORK/$(printf '\xd4\xd3\xd6\xbe')"
legible="$WORK/杂志"
mkdir "$gbk"
echo "loaded=neighbour" >"$gbk/level1.txt"
echo "loaded=told" >"$gbk/level2.txt"
mkdir "$gbk/sub"
echo "loaded=near" >"$gbk/near.txt"
echo "loaded=deep" >"$gbk/sub/deep.txt"
echo "loaded=outside" >"$WORK/outside.txt"
# The player's address of a file: its path's bytes percent-encoded.
address=$(python3 -c 'import os, sys, urllib.parse; print(urllib.parse.quote(os.fsencode(sys.argv[1])))' "$gbk/level1.txt")
keys=(--watch TempPath --watch loaded "${STANDARD_KEYS[@]}"
  --load "$KEY_L=pagoro://reader$address" --load "$KEY_O=level2.txt"
  --load-as-written "$KEY_J=near.txt" --load-as-written "$KEY_K=sub/deep.txt"
  --load-as-written "$KEY_U=../outside.txt")
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
  key j; COUNT=$1 wait_log "echo | loaded=near" 30 && pass "$2 loads a neighbour by a relative name"
  key k; COUNT=$1 wait_log "echo | loaded=deep" 30 && pass "$2 loads sub/ + a name"
  key u; COUNT=$1 wait_log "outside.txt\" - \"outside the folder" 30 &&
    pass "$2 is refused ../ out of its folder"
}

start_reader "$PAGORO" "$gbk/intro.swf" || finish
plays_here 1 "the plain movie" || finish
check "nothing else refused" "1" "$(log_count "refused")"

drop "$gbk/Game.exe"
wait_log "opened $legible/Game.exe" 30
plays_here 2 "the dropped projector" || finish
check "nothing else refused" "2" "$(log_count "refused")"
check "its movie file while it plays" "1" "$(movie_files | wc -l)"

key q
wait_exit 20
check "exit code after quit" "0" "${READER_RC:-}"
check "its movie file removed" "0" "$(movie_files | wc -l)"
check "the folder's files stay" "Game.exe intro.swf level1.txt level2.txt near.txt sub" \
  "$(ls "$gbk" | xargs)"
check "nor was the outside file read" "0" "$(log_count "loaded=outside")"
finish
