#!/usr/bin/env bash
# Movies no player could show get a message that names the file and why,
# within seconds, instead of a silent window: a movie that is only a
# header, and a small compressed movie that inflates past the bound.
source "$(dirname "$0")/../lib.sh"

printf 'FWS\x08\x08\0\0\0' >"$WORK/header.swf"
python3 - "$WORK/huge.swf" <<'EOF'
import struct, sys, zlib
z = zlib.compressobj(9)
out = [b"CWS\x08" + struct.pack("<I", 0xFFFFFFF0)]
zeros = bytes(1 << 20)
for _ in range(300):  # 300 MiB of zeros: about 300 KiB compressed
    out.append(z.compress(zeros))
out.append(z.flush())
open(sys.argv[1], "wb").write(b"".join(out))
EOF

for movie in header huge; do
  launch_reader "$PAGORO" "$WORK/$movie.swf"
  case $movie in
    header) why="movie header cut off" ;;
    huge) why="compressed movie larger than 268435456 bytes" ;;
  esac
  wait_log "Cannot play the movie \"$WORK/$movie.swf\": not a readable movie: $why" 60 &&
    pass "$movie: the message names the file and why"
  dismiss_box
  stop_reader
done
finish
