#!/usr/bin/env bash
# The reader's web-engine switches reach the engine, whether or not the user
# sets QTWEBENGINE_CHROMIUM_FLAGS (the engine then reads that variable
# alone), and the user's own switches stay. The engine lists the switches it
# parsed in its qt.webenginecontext log ("  *  NAME VALUE").
source "$(dirname "$0")/../lib.sh"

# start_logged EXE: starts the reader with the engine's context log on too.
start_logged() {
  READER_LOG="$WORK/reader.$RANDOM.log"
  QT_LOGGING_RULES="pagoro.*=true;qt.webenginecontext.debug=true" "$1" >"$READER_LOG" 2>&1 &
  # shellcheck disable=SC2034  # lib.sh's stop_reader ends it
  READER_PID=$!
  wait_log "fscommand ready" 60
}
# engine_switch NAME: the value the engine parsed for the switch NAME.
engine_switch() { sed -n "s/^ *\* *$1 \(.*\)$/\1/p" "$READER_LOG" | sed 's/ *$//'; }
# has LIST WORD: "yes" when WORD is one of the words of LIST (split on
# spaces and commas).
has() { grep -qxF -- "$2" <<<"${1//[ ,]/$'\n'}" && echo yes || echo no; }

make_book "$WORK/Switches.exe" || exit 1

# --- Without the variable: through the arguments.
start_logged "$WORK/Switches.exe"
check "V8 flags parsed" yes "$(has "$(engine_switch js-flags)" --wasm-lazy-compilation)"
check "feature switch parsed" yes "$(has "$(engine_switch disable-features)" AudioServiceOutOfProcess)"
stop_reader

# --- With the variable: through it, joined with the user's values.
export QTWEBENGINE_CHROMIUM_FLAGS="--js-flags=--stack-size=900 --disable-features=Vulkan --enable-logging=stderr"
start_logged "$WORK/Switches.exe"
js=$(engine_switch js-flags)
check "our V8 flags with the variable set" yes "$(has "$js" --wasm-lazy-compilation)"
check "the user's V8 flag kept" yes "$(has "$js" --stack-size=900)"
features=$(engine_switch disable-features)
check "our feature switch with the variable set" yes "$(has "$features" AudioServiceOutOfProcess)"
check "the user's feature switch kept" yes "$(has "$features" Vulkan)"
check "the user's other switch kept" stderr "$(engine_switch enable-logging)"
unset QTWEBENGINE_CHROMIUM_FLAGS
finish
