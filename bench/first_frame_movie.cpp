// first_frame_movie: writes the movie the start-up comparison plays, one
// that raises fscommand("ready", "") on its first frame and stops.
//   first_frame_movie OUT.swf [WIDTHxHEIGHT]
#include <cstdio>
#include <fstream>
#include <string>

#include "testing/test_movies.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: first_frame_movie OUT.swf [WIDTHxHEIGHT]\n");
    return 2;
  }
  pagoro::swf::TestMovieOptions options;
  options.width = 800;
  options.height = 600;
  if (argc == 3 && std::sscanf(argv[2], "%dx%d", &options.width, &options.height) != 2) {
    std::fprintf(stderr, "first_frame_movie: the size is WIDTHxHEIGHT\n");
    return 2;
  }
  const pagoro::swf::Bytes movie = pagoro::swf::FsCommandMovie(options, {{"ready", ""}});
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "first_frame_movie: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
