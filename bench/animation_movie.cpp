// animation_movie: writes the movie of the busy-page comparison, a square
// that crosses the stage at 60 frames a second, moved on the timeline:
//   frame 1       fscommand("ready", ""), the square placed;
//   frames 2-120  the square moved 6 pixels a frame; then the movie loops.
//   animation_movie OUT.swf
#include <cstdio>

#include "bench/movie_file.h"
#include "swf/actions.h"
#include "swf/movie.h"
#include "swf/shapes.h"
#include "swf/tags.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: animation_movie OUT.swf\n");
    return 2;
  }
  namespace swf = pagoro::swf;
  swf::MovieOptions options;
  options.width = 800;
  options.height = 600;
  options.frame_rate = 60;
  swf::MovieBuilder movie(options);
  movie.Add(swf::SetBackgroundColor({255, 255, 255}));
  movie.Add(swf::RectangleShape(1, swf::PixelRect(0, 0, 80, 80), {200, 40, 40, 255}));
  swf::PlaceObject place;
  place.character_id = 1;
  place.matrix = swf::Translate(0, 260);
  movie.Add(swf::PlaceObject2(place));
  movie.Add(swf::DoAction(swf::ActionBuilder().FsCommand("ready", "").Finish()));
  movie.Add(swf::ShowFrame());
  for (int frame = 2; frame <= 120; ++frame) {
    swf::PlaceObject move;
    move.move = true;
    move.matrix = swf::Translate(6 * (frame - 1), 260);
    movie.Add(swf::PlaceObject2(move)).Add(swf::ShowFrame());
  }
  return pagoro::bench::WriteMovieFile("animation_movie", argv[1], movie.Finish());
}
