#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Brings the catalogues (translations/*.ts) up to date with the sources:
# lupdate finds the programs' texts (tr(), QCoreApplication::translate, and
# in the code without Qt Tr, TrN and PAGORO_TEXT, book/texts.h); texts no
# longer in the sources are dropped. The English catalogue holds only the
# counted texts (their number forms). Then the translators fill in what is
# marked unfinished.
#   scripts/update-translations.sh [CATALOGUE.ts...]   (default: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=$(command -v lupdate-qt6 || command -v /usr/lib/qt6/bin/lupdate || command -v lupdate)
# The programs' sources, without the tests (their texts are no user's).
mapfile -t sources < <(find app book core player tools/pagoro-book -maxdepth 1 \
  \( -name '*.cpp' -o -name '*.h' \) ! -name '*_test.cpp' | sort)
catalogues=("$@")
[ ${#catalogues[@]} -gt 0 ] || catalogues=(translations/pagoro_*.ts)
for ts in "${catalogues[@]}"; do
  extra=()
  case $ts in *_en.ts) extra=(-pluralonly) ;; esac
  "$lupdate" -silent -locations none -no-obsolete -no-ui-lines \
    -tr-function-alias translate+=Tr,translate+=TrN,QT_TRANSLATE_NOOP+=PAGORO_TEXT \
    "${extra[@]}" "${sources[@]}" -ts "$ts"
done
