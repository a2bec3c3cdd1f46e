// first_frame_movie: writes the movie the start-up comparison plays, one
// that raises fscommand("ready", "") on its first frame and stops.
//   first_frame_movie OUT.swf [WIDTHxHEIGHT]
#include <cstdio>
#include <string>

#include "bench/movie_file.h"
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
  return pagoro::bench::WriteMovieFile("first_frame_movie", argv[1],
                                       pagoro::swf::FsCommandMovie(options, {{"ready", ""}}));
}
