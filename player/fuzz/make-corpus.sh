#!/usr/bin/env bash
# Remakes the movie patcher fuzzer's seeds in player/fuzz/corpus from the
# sample magazine's page movies: each as written (uncompressed), compressed,
# and with its device fonts named by the aliases the patcher renames.
# Usage: player/fuzz/make-corpus.sh BUILD_DIR   (a build that has pagoro-sample)
set -euo pipefail
sample="$(cd "$1" && pwd)/bin/pagoro-sample"
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$sample" --files "$work/files"
rm -rf corpus
mkdir corpus
python3 - "$work/files" corpus <<'PY'
import os, struct, sys, zlib

source, target = sys.argv[1], sys.argv[2]
ALIASES = [b"_sans", b"_serif", b"_typewriter"]

def tags(data):
    nbits = data[8] >> 3
    at = 8 + (5 + 4 * nbits + 7) // 8 + 4
    yield None, data[:at]
    while at + 2 <= len(data):
        head = struct.unpack_from("<H", data, at)[0]
        code, length, size = head >> 6, head & 0x3F, 2
        if length == 0x3F:
            length, size = struct.unpack_from("<I", data, at + 2)[0], 6
        yield code, data[at + size:at + size + length]
        at += size + length
        if code == 0:
            break

def encode(code, body):
    if len(body) < 0x3F:
        return struct.pack("<H", code << 6 | len(body)) + body
    return struct.pack("<HI", code << 6 | 0x3F, len(body)) + body

def with_aliases(data):
    out, n = [], 0
    for code, body in tags(data):
        if code is None:
            out.append(body)
            continue
        if code == 48:  # DefineFont2: id, flags, language, name length, name
            alias = ALIASES[n % len(ALIASES)]
            n += 1
            body = body[:4] + bytes([len(alias)]) + alias + body[5 + body[4]:]
        out.append(encode(code, body))
    movie = bytearray(b"".join(out))
    struct.pack_into("<I", movie, 4, len(movie))
    return bytes(movie), n

def compressed(data):
    return b"CWS" + data[3:8] + zlib.compress(data[8:], 9)

for name in sorted(os.listdir(source)):
    if not name.endswith(".swf"):
        continue
    stem = name[:-4]
    data = open(os.path.join(source, name), "rb").read()
    aliased, fonts = with_aliases(data)
    seeds = {stem + ".swf": data, stem + "-cws.swf": compressed(data)}
    if fonts:
        seeds[stem + "-aliases.swf"] = aliased
        seeds[stem + "-aliases-cws.swf"] = compressed(aliased)
    for seed, movie in seeds.items():
        open(os.path.join(target, seed), "wb").write(movie)
PY
