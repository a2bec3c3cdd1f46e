// Writing a benchmark's movie to its file, for the small programs that make
// the movies compare.sh plays.
#pragma once

#include <cstdio>
#include <fstream>

#include "swf/byte_writer.h"

namespace pagoro::bench {

// Writes `movie` to `path`; on failure says so on stderr, naming `program`,
// and returns 1 (the program's exit code), else 0.
inline int WriteMovieFile(const char* program, const char* path, const swf::Bytes& movie) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(movie.data()),
            static_cast<std::streamsize>(movie.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", program, path);
    return 1;
  }
  return 0;
}

}  // namespace pagoro::bench
