// Shapes: filled rectangles, outlined or not, and rectangles showing a
// bitmap. Written as DefineShape3 so that colours carry alpha.
#pragma once

#include <cstdint>
#include <optional>

#include "swf/tags.h"

namespace pagoro::swf {

struct LineStyle {
  std::uint16_t width = 20;  // twips
  Rgba color;
};

// A rectangle (twips, in the shape's own coordinates) filled with `fill`,
// outlined with `line` when given.
Tag RectangleShape(std::uint16_t id, const Rect& rect, Rgba fill,
                   std::optional<LineStyle> line = std::nullopt);

// A rectangle of `width` x `height` pixels at (0, 0) showing the bitmap
// `bitmap_id` at its own size (one bitmap pixel per stage pixel).
Tag BitmapShape(std::uint16_t id, std::uint16_t bitmap_id, int width, int height);

}  // namespace pagoro::swf
