#!/usr/bin/env bash
# The reader speaks the user's language: Simplified Chinese for zh_CN,
# Traditional for zh_TW, English for C, in the start screen, the Open
# dialog, a message box (with Qt's own OK button) and --help; the
# framework's English message stays word for word in every language. The
# locales are made here, into a folder of the test's own (LOCPATH).
source "$(dirname "$0")/../lib.sh"

export LOCPATH="$WORK/locales"
mkdir -p "$LOCPATH"
for locale in zh_CN zh_TW; do
  localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>"$WORK/localedef.log" ||
    { fail "localedef $locale"; cat "$WORK/localedef.log" >&2; }
done

echo "no magazine" >"$WORK/notes.txt"
cp "$PAGORO" "$WORK/Bare.exe"
printf '\0\0\0\0' >>"$WORK/Bare.exe"

# in_language LOCALE HELP START DIALOG JUNK OK: checks the reader under
# LANG=LOCALE: `--help` has HELP, the start screen's text START, the Open
# dialog is titled DIALOG, a file without a magazine is named in a box
# holding JUNK, whose button reads OK.
in_language() {
  local locale=$1 help=$2 start=$3 dialog=$4 junk=$5 ok=$6
  export LANG=$locale
  log "--- $locale"
  "$PAGORO" --help >"$WORK/help.txt" 2>&1
  check "$locale: --help" "1" "$(grep -cF -- "$help" "$WORK/help.txt")"

  start_reader "$PAGORO" || return
  wait_log "start text:" 30
  check "$locale: the start screen" "1" "$(log_count "$start")"
  key ctrl+o
  local found
  found=$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name "^$dialog\$" | head -1)
  [ -n "$found" ] && pass "$locale: the Open dialog is titled $dialog"
  xdotool windowactivate --sync "$found" >/dev/null 2>&1
  xdotool key Escape
  wait_until 10 no_box || fail "$locale: the Open dialog stayed"
  close_window
  wait_exit 20

  launch_reader "$PAGORO" "$WORK/notes.txt"
  wait_log "error box: pagoro | $junk" 30 && pass "$locale: the junk file's box"
  wait_log "error box button: $ok" 10 && pass "$locale: Qt's button reads $ok"
  dismiss_box
  wait_log "start screen" 20
  WID=$(xdotool search --sync --onlyvisible --pid "$READER_PID" --name '^pagoro$' | head -1)
  close_window
  wait_exit 20

  # The framework's message, in English whatever the language.
  launch_reader "$WORK/Bare.exe"
  wait_log "error box: Bare | List index out of bounds (1)" 30
  check "$locale: the framework's message as it stands" "1" \
    "$(grep -c 'error box: Bare | List index out of bounds (1)$' "$READER_LOG")"
  dismiss_box
  find_window 1024 768
  close_window
  wait_exit 20
}

# shellcheck disable=SC1111 # the Chinese quotation marks are the message's
in_language zh_CN.UTF-8 "阅读由 Flash 动画制作的电子杂志。" "把杂志拖到这里" "打开杂志" \
  "“$WORK/notes.txt”里没有杂志：它既不是杂志文件，也不是 Flash 动画或放映文件." "确定"
in_language zh_TW.UTF-8 "閱讀以 Flash 動畫製作的電子雜誌。" "將雜誌拖曳到這裡" "開啟雜誌" \
  "「$WORK/notes.txt」裡沒有雜誌：它既不是雜誌檔案，也不是 Flash 動畫或放映檔." "確定"
in_language C.UTF-8 "Plays electronic magazines made of Flash movies." "Drop a magazine here" \
  "Open a magazine" "\"$WORK/notes.txt\" holds no magazine: it is neither a book" "OK"

# The language by its other names: LANGUAGE first, then LC_ALL before LANG.
LANG=C.UTF-8 LANGUAGE=zh_TW "$PAGORO" --help >"$WORK/help.txt" 2>&1
check "LANGUAGE=zh_TW" "1" "$(grep -cF "用法：" "$WORK/help.txt")"
LANG=zh_CN.UTF-8 LC_ALL=C.UTF-8 "$PAGORO" --help >"$WORK/help.txt" 2>&1
check "LC_ALL=C.UTF-8 over LANG=zh_CN" "1" "$(grep -cF "Usage:" "$WORK/help.txt")"
LANG=zh_HK.UTF-8 "$PAGORO" --help >"$WORK/help.txt" 2>&1
check "zh_HK is Traditional" "1" "$(grep -cF "閱讀以 Flash" "$WORK/help.txt")"
LANG=zh_TW.UTF-8 "$PAGORO_BOOK" list "$WORK/notes.txt" >/dev/null 2>"$WORK/book.txt"
check "pagoro-book in Traditional" "1" "$(grep -cF "不是雜誌" "$WORK/book.txt")"

finish
