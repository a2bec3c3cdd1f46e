#!/usr/bin/env bash
# Checks the Debian package that `make deb` made in BUILD_DIR (default
# build/release): lintian finds no error in it, and its contents, unpacked
# into a private folder, work: the packaged pagoro-book prints the package's
# version, packs the sample magazine with the packaged reader (its default),
# and those books give back their files, and Sample.exe plays on a private
# display (tests/sample/books_test.sh).
#
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)

fail() { echo "check-package: $*" >&2; exit 1; }

debs=("$build"/pagoro_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "no package in $build; run make deb"
[ ${#debs[@]} -eq 1 ] || fail "more than one package in $build: ${debs[*]}"
deb=${debs[0]}
echo "check-package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# Errors fail the check; warnings are printed for whoever reads the log.
lintian --fail-on error "$deb"

work=$(mktemp -d "${TMPDIR:-/tmp}/pagoro-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
bin=$work/root/usr/bin

want="pagoro-book $(dpkg-deb -f "$deb" Version)"
got=$("$bin/pagoro-book" --version)
[ "$got" = "$want" ] || fail "pagoro-book --version says [$got], want [$want]"
echo "check-package: $got"

mkdir "$work/books"
"$bin/pagoro-book" pack "$build/sample-magazine/files" -o "$work/books/Sample.exe" 2>/dev/null
"$bin/pagoro-book" pack "$build/sample-magazine/single-movie" -o "$work/books/Sample-v1.exe" \
  --format 1.0 2>/dev/null
reader_size=$(stat -c %s "$bin/pagoro")
head -c "$reader_size" "$work/books/Sample.exe" | cmp -s - "$bin/pagoro" ||
  fail "the packaged pagoro-book did not take the packaged reader"
echo "check-package: the reader image a book carries is $reader_size bytes"

# books_test.sh makes no remote movies; the variable is the helpers' due.
# Both books give back their files; Sample.exe is played.
SAMPLE_PLAY=Sample.exe PAGORO=$bin/pagoro PAGORO_BOOK=$bin/pagoro-book REMOTE_MOVIE=/bin/false \
  PAGORO_SAMPLE=$build/bin/pagoro-sample SAMPLE_BIN=$work/books SAMPLE_FILES=$build/sample-magazine \
  "$root/tests/with-display.sh" -- "$root/tests/sample/books_test.sh"
echo "check-package: passed"
