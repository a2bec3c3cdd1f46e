#!/usr/bin/env bash
# The reader under Qt's Wayland backend: Weston (its X11 backend, a window on
# the test's display) is the compositor; keys and clicks reach it through
# that window. Window modes, Escape, F11 (ten times running), the movie's
# quit, the hand-over of a second start, the window within the screen, and
# the clean-up when the compositor goes away.
source "$(dirname "$0")/../lib.sh"

command -v weston >/dev/null || { fail "weston is missing (scripts/install-deps.sh)"; finish; }
WESTON_PID=
# weston_up: its socket is there, or it has ended.
weston_up() { [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || ! kill -0 "$WESTON_PID" 2>/dev/null; }
# weston_window: sets WESTON_WID to weston's window on the display.
weston_window() {
  WESTON_WID=$(xdotool search --classname weston 2>/dev/null | head -1)
  [ -n "$WESTON_WID" ]
}
start_weston() {
  WAYLAND_DISPLAY="pagoro-wl-$RANDOM"
  weston --backend=x11-backend.so --socket="$WAYLAND_DISPLAY" --width=1024 --height=768 \
    --idle-time=0 >"$WORK/weston.$WAYLAND_DISPLAY.log" 2>&1 &
  WESTON_PID=$!
  wait_until 10 weston_up
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { fail "weston did not start"; cat "$WORK"/weston.*.log >&2; return 1; }
  WESTON_WID=
  wait_until 10 weston_window
  [ -n "$WESTON_WID" ] || { fail "no window of weston"; return 1; }
  export WAYLAND_DISPLAY
}
stop_weston() {
  [ -n "$WESTON_PID" ] || return 0
  kill "$WESTON_PID" 2>/dev/null; wait "$WESTON_PID" 2>/dev/null; WESTON_PID=
}
trap 'stop_reader; stop_weston' EXIT

# wl_start EXE [ARGS...]: the reader on Wayland, its log on.
wl_start() {
  READER_LOG="$WORK/reader.$RANDOM.log"
  QT_QPA_PLATFORM=wayland QT_LOGGING_RULES="pagoro.*=true" "$@" >"$READER_LOG" 2>&1 &
  READER_PID=$!
  wait_log "fscommand ready" 90
}
# Input goes to Weston's window, which passes it to the focused surface.
wl_click() {
  local n; n=$(log_count "fscommand mouse | down")
  xdotool windowactivate --sync "$WESTON_WID" >/dev/null 2>&1 || true
  xdotool mousemove --window "$WESTON_WID" --sync 512 400 click 1
  COUNT=$((n + 1)) wait_log "fscommand mouse | down" 20
}
wl_key() {
  xdotool windowactivate --sync "$WESTON_WID" >/dev/null 2>&1 || true
  xdotool key --delay 50 "$@"
}
# shown_is STATE: the compositor's last answer about the window's state
# ("normal", "maximized", "full screen"), as the reader logs it.
shown_is() { [ "$(grep -o 'window state shown: .*' "$READER_LOG" | tail -1)" == "window state shown: $1" ]; }
alive() { kill -0 "$READER_PID" 2>/dev/null && echo yes || echo no; }
no_protocol_error() { check "$1: no Wayland error" "0" "$(grep -c "Wayland connection" "$READER_LOG")"; }

start_weston || finish
make_book "$WORK/Modes.exe" "${STANDARD_KEYS[@]}" || exit 1

# --- The modes: the movie's window button, full screen, Escape, F11; then quit.
wl_start "$WORK/Modes.exe"
grep -q "wayland" <(tr '\0' '\n' </proc/"$READER_PID"/environ) && pass "runs on Wayland"
wl_click
wl_key w; wait_log " within " 30 && pass "the movie's window request"
wl_click
check "alive after the switch to the window" "yes" "$(alive)"
wl_key f; wait_log "maximized" 30 && pass "full screen again"
wl_click
wl_key Escape; wait_log "echo | incommand=restore" 30 && pass "Escape tells the movie"
COUNT=2 wait_log " within " 30 && pass "Escape leaves maximized mode"
wl_click
wl_key F11; wait_log "full screen: on" 30
wl_click
wl_key F11; wait_log "full screen: off" 30
COUNT=3 wait_log " within " 30 && pass "F11 back into the window"
wl_click

# --- F11 ten times from the maximized window, each press taken before the
# compositor has answered the one before, then Escape, then F11: the window
# ends in the mode asked for last, and the connection lives (leaving full
# screen for the maximized state once ended it).
wl_key f; COUNT=2 wait_log "pagoro.app: maximized" 30
wait_until 30 shown_is maximized || fail "not maximized before F11"
for i in $(seq 10); do
  if ((i % 2)); then what=on; else what=off; fi
  n=$(log_count "full screen: $what")
  wl_key F11; COUNT=$((n + 1)) wait_log "full screen: $what" 30
done
wait_until 30 shown_is maximized && pass "F11 ten times: maximized again"
n=$(log_count "echo | incommand=restore"); w=$(log_count " within ")
wl_key Escape; COUNT=$((n + 1)) wait_log "echo | incommand=restore" 30
COUNT=$((w + 1)) wait_log " within " 30 && pass "then Escape: the window"
wait_until 30 shown_is normal || fail "Escape: the compositor shows no normal window"
wl_key F11; wait_until 30 shown_is "full screen" && pass "then F11: full screen"
wl_click
check "alive after F11 ten times" "yes" "$(alive)"
no_protocol_error "F11 ten times"
wl_key F11; wait_until 30 shown_is normal && pass "F11: back into the window"
check "alive after every switch" "yes" "$(alive)"
no_protocol_error "modes"
folder=$(book_folder Modes)
wl_key q
wait_exit 30 && check "the movie's quit ends cleanly" "0" "$READER_RC"
check "its folder removed" "no" "$([ -e "$folder" ] && echo yes || echo no)"
check "its movie file removed" "0" "$(movie_files | wc -l)"

# --- A movie larger than the screen: the window fits the area the
# compositor gives.
MOVIE_SIZE=1281x1025 make_book "$WORK/Big.exe" "${STANDARD_KEYS[@]}" || exit 1
wl_start "$WORK/Big.exe"
wl_click
wl_key w; wait_log " within " 30
read -r w h aw ah < <(sed -n 's/.*windowed: -\?[0-9]* -\?[0-9]* \([0-9]*\) x \([0-9]*\) within \([0-9]*\) x \([0-9]*\).*/\1 \2 \3 \4/p' "$READER_LOG" | tail -1)
check "the window within the area" "yes" "$([ "${w:-9999}" -le "${aw:-0}" ] && [ "${h:-9999}" -le "${ah:-0}" ] && echo yes || echo no)"
wl_click
no_protocol_error "oversized"

# --- A second start of the same book hands its activation token to the first.
FIRST=("$READER_PID" "$READER_LOG")
READER_LOG="$WORK/second.log"
XDG_ACTIVATION_TOKEN=pagoro-test-token QT_QPA_PLATFORM=wayland QT_LOGGING_RULES="pagoro.*=true" \
  "$WORK/Big.exe" >"$READER_LOG" 2>&1 &
READER_PID=$!
wait_exit 60 && check "the second start ends with success" "0" "$READER_RC"
READER_PID=${FIRST[0]} READER_LOG=${FIRST[1]}
wait_log "activation token received" 20 && pass "the first reader has the token"
wait_log "called to the front by another reader" 20
check "still alive" "yes" "$(alive)"

# --- The compositor goes away: the reader cleans up as at a close.
folder=$(book_folder Big)
check "its folder while it plays" "yes" "$([ -d "$folder" ] && echo yes || echo no)"
stop_weston
wait_exit 60
check "connection lost: folder removed" "no" "$([ -e "$folder" ] && echo yes || echo no)"
check "connection lost: movie file removed" "0" "$(movie_files | wc -l)"
[ "$FAILURES" -gt 0 ] && tail -15 "$READER_LOG" >&2

finish
