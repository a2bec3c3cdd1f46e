// The sample magazine's pictures, drawn in code so that every build makes
// the same bytes: RGBA pixels, row by row.
#pragma once

#include <cstdint>
#include <vector>

namespace pagoro::sample {

enum class PictureKind {
  kSunrise,  // a sky at dawn with a sun and hills: the cover
  kHills,    // green hills under a blue sky, a lake
  kTiles,    // a tiled pattern in warm colours
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes
};

Picture DrawPicture(PictureKind kind, int width, int height);

}  // namespace pagoro::sample
