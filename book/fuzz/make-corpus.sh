#!/usr/bin/env bash
# Remakes the fuzzer's seed books in book/fuzz/corpus with the packer.
# Usage: book/fuzz/make-corpus.sh BUILD_DIR   (a build that has pagoro-book)
set -euo pipefail
tool="$(cd "$1" && pwd)/bin/pagoro-book"
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '\x7fELF reader image' >"$work/reader"
# $1 letters, the same on every run.
pattern() { awk -v n="$1" 'BEGIN { srand(7); for (i = 0; i < n; i++) printf "%c", 65 + int(rand() * 58) }'; }

# Version 2.0: a movie, pages and a Chinese name.
mkdir "$work/v2"
{ printf 'FWS'; pattern 200; } >"$work/v2/main.swf"
printf '<?xml version="1.0"?><page n="1"/>' >"$work/v2/page1.xml"
printf 'ID3music' >"$work/v2/中文.mp3"
"$tool" pack "$work/v2" -o corpus/v2-pages.exe --format 2.0 --size 640x480 --reader "$work/reader"

# Version 2.0: a movie of three bytes, stored as header bytes alone.
mkdir "$work/v2small"
printf 'FWS' >"$work/v2small/main.swf"
"$tool" pack "$work/v2small" -o corpus/v2-header-only.exe --format 2.0 --size 1x1 --reader "$work/reader"

# Version 1.0: a movie one byte over the rotation length.
mkdir "$work/v1"
{ printf 'CWS'; pattern 10238; } >"$work/v1/main.swf"
"$tool" pack "$work/v1" -o corpus/v1-rotated.exe --format 1.0 --size 800x600 --reader "$work/reader"

# Version 1.0 with an asset, whose line the asset pass cannot read.
mkdir "$work/v1assets"
{ printf 'FWS'; pattern 40; } >"$work/v1assets/main.swf"
printf 'page' >"$work/v1assets/page.txt"
"$tool" pack "$work/v1assets" -o corpus/v1-assets.exe --format 1.0 --size 320x240 --reader "$work/reader"
