// A small PNG encoder, for the picture files that the sample's movies load
// at run time.
#pragma once

#include <cstdint>
#include <span>

#include "swf/byte_writer.h"

namespace pagoro::sample {

// `width` x `height` pixels, row by row, 4 bytes each (r, g, b, a), as a PNG
// file (8-bit RGBA, no interlace). Throws std::invalid_argument when the
// size is not positive or the pixel count does not match.
swf::Bytes EncodePng(int width, int height, std::span<const std::uint8_t> rgba);

}  // namespace pagoro::sample
