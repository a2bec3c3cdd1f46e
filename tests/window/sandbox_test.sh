#!/usr/bin/env bash
# A movie opened as a file reads local files or reaches the network, never
# both: a movie in Downloads that reads a private file there can't send it
# to a server on this machine nor hand it to the browser, and is served no
# hidden file; a movie published with the use-network flag reaches both but
# can't read its neighbour.
source "$(dirname "$0")/../lib.sh"
KEY_L=76 KEY_N=78 KEY_U=85 KEY_H=72

# A web server on the loopback address that notes each request's path.
mkdir -p "$WORK/www" "$WORK/bin" "$WORK/Downloads/private" "$WORK/Downloads/.ssh"
echo "greeting=hi" >"$WORK/www/hello.txt"
python3 -u - "$WORK/www" "$WORK/port" >"$WORK/http.log" 2>&1 <<'EOF' &
import functools, http.server, os, sys
class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, fmt, *args):
        sys.stderr.write("request %s\n" % self.path)
server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(Handler, directory=sys.argv[1]))
with open(sys.argv[2] + ".new", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(sys.argv[2] + ".new", sys.argv[2])
server.serve_forever()
EOF
SERVER_PID=$!
trap 'kill "$SERVER_PID" 2>/dev/null' EXIT
wait_until 10 test -s "$WORK/port"
PORT=$(cat "$WORK/port" 2>/dev/null) || { fail "the web server did not start"; finish; }
SITE="http://127.0.0.1:$PORT"
served() { grep -c "request $1" "$WORK/http.log"; }
was_served() { [ "$(served "$1")" -ge 1 ]; }

# The "browser" notes each address it is given.
cat >"$WORK/bin/xdg-open" <<EOF
#!/bin/sh
echo "\$1" >>"$WORK/browser.txt"
EOF
chmod +x "$WORK/bin/xdg-open"
# shellcheck disable=SC2002 # no file yet counts 0
opened() { cat "$WORK/browser.txt" 2>/dev/null | grep -c "$1"; }
was_opened() { [ "$(opened "$1")" -ge 1 ]; }

echo "secret=hunter2" >"$WORK/Downloads/private/secret.txt"
echo "secret=sshkey" >"$WORK/Downloads/.ssh/id"

# --- A plain movie in Downloads: reads below its folder, reaches no network.
"$REMOTE_MOVIE" "$WORK/Downloads/game.swf" --watch secret --watch TempPath "${STANDARD_KEYS[@]}" \
  --load "$KEY_L=$WORK/Downloads/private/secret.txt" --load "$KEY_H=$WORK/Downloads/.ssh/id" \
  --load "$KEY_N=$SITE/leak?hunter2" --link "$KEY_U=$SITE/nav?hunter2" || exit 1
PATH="$WORK/bin:$PATH" start_reader "$PAGORO" "$WORK/Downloads/game.swf" || finish
wait_log "fscommand ready" 60
wait_log "may read local files, no network" 10 && pass "the movie gets the local-files sandbox"
focus_movie
key l; wait_log "echo | secret=hunter2" 20 && pass "the movie reads a file below its folder"
key n; wait_log "refused network request $SITE/leak" 20 && pass "its network load is refused"
key u; wait_log "refused link $SITE/nav" 20 && pass "its link is refused"
key n; key u
key h; wait_log "a hidden file or folder" 20 && pass "a hidden file is refused"
check "nor was the hidden file read" "0" "$(log_count "secret=sshkey")"
key t; wait_log "echo | TempPath=$WORK/Downloads/" 20
check "each refusal is logged once" "1 1" \
  "$(log_count "refused network request") $(log_count "refused link")"
close_window
wait_exit 30

# --- The same movie published with the use-network flag: the network, the
# browser, and no file but itself.
"$REMOTE_MOVIE" "$WORK/Downloads/net.swf" --use-network --watch secret "${STANDARD_KEYS[@]}" \
  --load "$KEY_L=$WORK/Downloads/private/secret.txt" \
  --load "$KEY_N=$SITE/hello.txt" --link "$KEY_U=$SITE/nav-allowed" || exit 1
PATH="$WORK/bin:$PATH" start_reader "$PAGORO" "$WORK/Downloads/net.swf" || finish
wait_log "fscommand ready" 60
wait_log "may use the network, no local file" 10 && pass "the movie gets the network sandbox"
focus_movie
key l; wait_log "reads no local file" 20 && pass "a use-network movie can't read its neighbour"
check "nor was it read" "0" "$(log_count "secret=hunter2")"
key n
wait_until 20 was_served /hello.txt
check "a use-network movie reaches the server" "1" "$(served /hello.txt)"
key u
wait_until 20 was_opened nav-allowed
check "a use-network movie opens the browser" "1" "$(opened nav-allowed)"
close_window
wait_exit 30

# Both reached the server and the browser after the first movie's attempts.
check "the server never saw the local-files movie" "0" "$(served /leak)"
check "nor did the browser" "0" "$(opened /nav?)"
kill "$SERVER_PID" 2>/dev/null
finish
