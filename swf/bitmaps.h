// Bitmaps: JPEG data as it is, and RGBA pixels stored losslessly. Show one
// with a BitmapShape. Also a small PNG encoder, for picture files that a
// movie loads at run time.
#pragma once

#include <cstdint>
#include <span>

#include "swf/tags.h"

namespace pagoro::swf {

// A JPEG file's bytes (from SOI to EOI) as bitmap `id`.
Tag JpegBitmap(std::uint16_t id, std::span<const std::uint8_t> jpeg);

// `width` x `height` pixels, row by row, 4 bytes each (r, g, b, a), as
// bitmap `id`; transparency is kept. Throws std::invalid_argument when the
// pixel count does not match.
Tag LosslessBitmap(std::uint16_t id, int width, int height, std::span<const std::uint8_t> rgba);

// The same pixels as a PNG file (8-bit RGBA, no interlace).
Bytes EncodePng(int width, int height, std::span<const std::uint8_t> rgba);

}  // namespace pagoro::swf
