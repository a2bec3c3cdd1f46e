// The sample's main movie: the title bar with the window buttons, the page
// area, the bottom bar with the page buttons, the page counter and a status
// line that shows what the reader tells the movie.
//
// The files edition asks the reader where its files are ("outcommand"
// "SetTempPath"), reads the table of contents file from there and loads each
// page movie into the page area. The one-movie edition carries its pages
// as sprites and its pictures inside.
//
// Both editions report each page they show with fscommand("pageShown", n),
// which the reader ignores and a test can watch for.
#pragma once

#include <vector>

#include "swf/byte_writer.h"
#include "tools/sample/contents.h"

namespace pagoro::sample {

enum class Edition {
  kFiles,        // format 2.0: main movie, page movies, pictures, contents file
  kSingleMovie,  // format 1.0: everything inside the main movie
};

swf::Bytes MainMovie(Edition edition, const std::vector<Page>& pages);

// Where the main movie's buttons are, pixels on the stage.
struct ButtonSpot {
  const char* name;
  int x, y, width, height;
};
const std::vector<ButtonSpot>& MainButtons();
// Where the status line is.
ButtonSpot StatusLine();

}  // namespace pagoro::sample
