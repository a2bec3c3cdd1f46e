#!/usr/bin/env bash
# Start-up and close of book executables: the window, the title, the cache
# folder and the movie file, a program file without a book.
source "$(dirname "$0")/../lib.sh"

# --- A book executable plays maximized, borderless and gray, titled after its file.
make_book "$WORK/Copy of Spring.exe" "${STANDARD_KEYS[@]}" || exit 1
start_reader "$WORK/Copy of Spring.exe" || finish
wait_log "fscommand ready" 60
check "title from the file name" "Copy of Spring" "$(xdotool getwindowname "$WID")"
got=$(wait_geometry "0 0 1024 768") ; check "maximized without border" "" "$got"
check "window icon" "1" "$(xprop -id "$WID" _NET_WM_ICON | grep -c "Icon (64 x 64)")"
check "no decorations asked for" "0x0" "$(xprop -id "$WID" _MOTIF_WM_HINTS | awk -F', ' '{print $3}')"
check "gray frame at the corner" "128,128,128" "$(pixel 0 0)"
check "gray frame at the far corner" "128,128,128" "$(pixel 1023 767)"
check "the movie shows in the middle" "0,0,160" "$(wait_pixel 512 384 0,0,160)"
folder=$(book_folder "Copy of Spring")
check "assets in the cache folder" "page1.txt pic.gif" "$(ls "$folder" | tr '\n' ' ' | sed 's/ $//')"
check "one movie file" "1" "$(movie_files | wc -l)"
close_window
wait_exit 20
check "exit code after close" "0" "${READER_RC:-}"
check "own cache folder removed" "no" "$([ -e "$folder" ] && echo yes || echo no)"
check "movie file removed" "0" "$(movie_files | wc -l)"
check "product folder kept" "yes" "$([ -d "$XDG_DATA_HOME/pagoro" ] && echo yes || echo no)"

# --- Spring.EXE: titled Spring, opens nothing.
cp "$WORK/Copy of Spring.exe" "$WORK/Spring.EXE"
start_reader "$WORK/Spring.EXE" || finish
check "title of Spring.EXE" "Spring" "$(xdotool getwindowname "$WID")"
wait_log "not opened (no .exe extension): $WORK/Spring.EXE" 30
check "nothing opened" "0" "$(log_count "fscommand ready")"
check "no cache folder" "" "$(ls "$XDG_DATA_HOME/pagoro" 2>/dev/null)"
check "no movie file" "0" "$(movie_files | wc -l)"
stop_reader

# --- A program file that carries no book: the error box, and the program goes on.
cp "$PAGORO" "$WORK/Bare.exe"
printf '\0\0\0\0' >>"$WORK/Bare.exe"
launch_reader "$WORK/Bare.exe"
# The box comes up while the window is built, before it shows.
wait_log "error box: Bare | List index out of bounds (1)" 30
# While the box is up, the input hook lets everything pass.
box=$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name . 2>/dev/null | head -1)
read -r bx by bw _ < <(geometry "$box")
xdotool mousemove --sync $((bx + bw / 2)) $((by + 5)) click 3
dismiss_box
# The box closes on the Return after the click: the click has been handled.
find_window 1024 768 && pass "window maximized after the error"
check "no right press taken while the box is up" "0" "$(log_count "right button pressed")"
check "title under the error" "Bare" "$(xdotool getwindowname "$WID")"
check "still running" "yes" "$(kill -0 "$READER_PID" 2>/dev/null && echo yes || echo no)"
check "no empty cache folder left by the failed opening" "no" "$([ -e "$(book_folder Bare)" ] && echo yes || echo no)"
close_window
wait_exit 20
check "cache folder removed at close" "no" "$([ -e "$(book_folder Bare)" ] && echo yes || echo no)"

finish
