#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Debian package in BUILD_DIR: build/dist, where `make package`
# builds the source package (default), or build/release, where `make deb`
# puts its package. lintian --pedantic finds nothing above a pedantic note
# (in the source package too, when there is one), hardening-check finds every
# feature in both programs, appstreamcli and desktop-file-validate pass the
# metadata, and the contents, unpacked into a private folder, work: the
# packaged pagoro-book prints the package's version, packs the sample
# magazine with the packaged reader (its default), those books give back
# their files, and Sample.exe plays on a private display
# (tests/sample/books_test.sh).
#
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/dist}" && pwd)

fail() { echo "check-package: $*" >&2; exit 1; }

debs=("$build"/pagoro_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "no package in $build; run make package (or make deb)"
[ ${#debs[@]} -eq 1 ] || fail "more than one package in $build: ${debs[*]}"
deb=${debs[0]}
echo "check-package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# The sample magazine's generator and files: in the build folder, or in the
# source package's (obj-*).
samples=$build
[ -x "$samples/bin/pagoro-sample" ] || samples=$(echo "$build"/pagoro-*/obj-*)
[ -x "$samples/bin/pagoro-sample" ] || fail "no build of the sample magazine beside the package"

# Every tag is printed; errors and warnings fail the check.
changes=("$build"/pagoro_*_amd64.changes)
if [ -f "${changes[0]}" ]; then
  lintian --pedantic --info --fail-on error,warning "${changes[0]}"
else
  lintian --pedantic --info --fail-on error,warning "$deb"
fi
echo "check-package: lintian --pedantic passed"

work=$(mktemp -d "${TMPDIR:-/tmp}/pagoro-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
bin=$work/root/usr/bin

# Control-flow protection is built in (-fcf-protection), but Debian 12's C
# start files lack the property note, so the linker leaves it off every
# program there: hardening-check cannot see it, and is not asked to.
hardening-check --nocfprotection "$bin/pagoro" "$bin/pagoro-book"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$work"/root/usr/share/applications/*.desktop

want="pagoro-book $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')"  # the upstream version, without a Debian revision
got=$("$bin/pagoro-book" --version)
[ "$got" = "$want" ] || fail "pagoro-book --version says [$got], want [$want]"
echo "check-package: $got"

mkdir "$work/books"
"$bin/pagoro-book" pack "$samples/sample-magazine/files" -o "$work/books/Sample.exe" 2>/dev/null
"$bin/pagoro-book" pack "$samples/sample-magazine/single-movie" -o "$work/books/Sample-v1.exe" \
  --format 1.0 2>/dev/null
reader_size=$(stat -c %s "$bin/pagoro")
head -c "$reader_size" "$work/books/Sample.exe" | cmp -s - "$bin/pagoro" ||
  fail "the packaged pagoro-book did not take the packaged reader"
echo "check-package: the reader image a book carries is $reader_size bytes"

# books_test.sh makes no remote movies; the variable is the helpers' due.
# Both books give back their files; Sample.exe is played.
SAMPLE_PLAY=Sample.exe PAGORO=$bin/pagoro PAGORO_BOOK=$bin/pagoro-book REMOTE_MOVIE=/bin/false \
  PAGORO_SAMPLE=$samples/bin/pagoro-sample SAMPLE_BIN=$work/books SAMPLE_FILES=$samples/sample-magazine \
  "$root/tests/with-display.sh" -- "$root/tests/sample/books_test.sh"
echo "check-package: passed"
