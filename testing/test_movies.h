// Small ready-made movies for testing a player: fscommand calls at start,
// an echo of variables set from outside, and a text on a coloured ground.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "swf/actions.h"
#include "swf/byte_writer.h"
#include "swf/tags.h"

namespace pagoro::swf {

struct TestMovieOptions {
  int version = 8;  // 5, 6, 8 and 10 are the versions tests use
  bool compressed = false;
  int width = 320;
  int height = 240;
};

using FsCommandCall = std::pair<std::string, std::string>;  // command, args

// Raises fscommand(command, args) for each call, in order, on its first
// frame, then stops.
Bytes FsCommandMovie(const TestMovieOptions& options, const std::vector<FsCommandCall>& calls);

// Raises fscommand("ready", "") on its first frame; from then on, 60 times
// a second, looks at each watched variable of the main timeline in the
// order given, and for every value found raises
// fscommand("echo", name + "=" + value) and sets the variable back to
// undefined, so that the same value set twice is echoed twice.
Bytes EchoMovie(const TestMovieOptions& options, const std::vector<std::string>& variables);

// The echo movie's look at its variables, once each, for movies of their
// own: a defined value is echoed as fscommand("echo", name + "=" + value)
// and set back to undefined.
ActionBuilder EchoVariables(const std::vector<std::string>& variables);

struct TextMovieOptions {
  TestMovieOptions movie;
  std::string text;  // shown in a device-font field filling the stage
  Rgb background{0, 0, 160};
  Rgba color{255, 255, 255, 255};
  int font_height = 48;  // pixels
  // Ruffle draws the aliases "_sans", "_serif" and "_typewriter" with a
  // built-in Latin-only font; the player renames them in the movies it
  // plays, so that the system's fonts draw their Chinese.
  std::string font = "_sans";
  std::string variable;  // the field shows this variable; "" for none
  // Shown in red at the top left in a second frame ("" for none): once it
  // shows, the first frame has been drawn.
  std::string marker;
};
Bytes TextMovie(const TextMovieOptions& options);

}  // namespace pagoro::swf
