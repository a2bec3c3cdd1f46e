#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the catalogues (translations/*.ts) against the sources; any finding
# fails:
#   1. up to date: lupdate, run on copies, finds no text that the catalogues
#      lack and none that they hold but the sources no longer have;
#   2. complete: no unfinished, obsolete or vanished entry in any catalogue;
#   3. every placeholder (%1..%9, %n) of a text is in each of its
#      translations, and none that the text lacks;
#   4. no text shown to users outside the catalogues: a string literal given
#      to a widget's text, a window title, a message box or the terminal
#      (stdout/stderr) in app/, player/ and pagoro-book without tr/translate.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 1. Up to date.
for ts in translations/pagoro_*.ts; do
  cp "$ts" "$work/"
  scripts/update-translations.sh "$work/$(basename "$ts")" 2>/dev/null
  if ! cmp -s "$ts" "$work/$(basename "$ts")"; then
    echo "translations-check: $ts is not up to date with the sources" \
      "(run scripts/update-translations.sh):" >&2
    diff -u "$ts" "$work/$(basename "$ts")" | grep '^[-+] *<source>' | head -20 >&2 || true
    status=1
  fi
done

# 2 and 3. Complete, and the placeholders kept.
python3 - translations/pagoro_*.ts <<'PY' || status=1
import re, sys
import xml.etree.ElementTree as ET

placeholders = re.compile(r"%(?:[1-9]|n)")
bad = 0
for path in sys.argv[1:]:
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            kind = translation.get("type")
            where = f"{path}: {name}: {source!r}"
            if kind in ("unfinished", "obsolete", "vanished"):
                print(f"translations-check: {where}: {kind}", file=sys.stderr)
                bad += 1
                continue
            forms = translation.findall("numerusform")
            texts = [f.text or "" for f in forms] if forms else [translation.text or ""]
            want = sorted(set(placeholders.findall(source)))
            for text in texts:
                if not text:
                    print(f"translations-check: {where}: empty translation", file=sys.stderr)
                    bad += 1
                elif sorted(set(placeholders.findall(text))) != want:
                    print(f"translations-check: {where}: placeholders {want} but {text!r}",
                          file=sys.stderr)
                    bad += 1
sys.exit(1 if bad else 0)
PY

# 4. Literal texts shown to users outside tr. A comment saying
# "not translated: REASON" on the line or the one before lets one stand.
shown='(setText|setWindowTitle|setToolTip|setPlaceholderText|setLabelText|setStatusTip|QMessageBox::(information|warning|critical|question)|QMessageBox box|QLabel|QPushButton|QCheckBox|QRadioButton|QAction|addAction|QListWidgetItem)\([^)]*"[A-Za-z]'
terminal='(fprintf|printf|fputs|puts|std::(cout|cerr))[^;]*"[A-Za-z][a-z]+ [a-z]'
# shellcheck disable=SC2016 # the awk program's $0 is awk's
if find app player tools/pagoro-book -maxdepth 1 -name '*.cpp' ! -name '*_test.cpp' -print0 | sort -z |
  xargs -0 awk -v pattern="$shown|$terminal" '
    FNR == 1 { before = "" }
    $0 ~ pattern && $0 !~ /translate\(|[^A-Za-z_]tr\(|TrN?\(|not translated:/ &&
      before !~ /not translated:/ { print FILENAME ":" FNR ": " $0; found = 1 }
    { before = $0 }
    END { exit found ? 0 : 1 }'; then
  echo "translations-check: the lines above show a literal text outside the catalogues" >&2
  status=1
fi

[ $status -eq 0 ] && echo "translations-check: the catalogues are complete and up to date" >&2
exit $status
