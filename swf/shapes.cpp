#include "swf/shapes.h"

#include <algorithm>
#include <stdexcept>

namespace pagoro::swf {

namespace {

constexpr std::uint8_t kSolidFill = 0x00;
constexpr std::uint8_t kClippedBitmapFill = 0x41;

void WriteRgba(ByteWriter& w, Rgba c) {
  w.U8(c.r);
  w.U8(c.g);
  w.U8(c.b);
  w.U8(c.a);
}

// Shape records drawing `r` clockwise from its top left corner with fill
// style 1 on the right-hand side (fill 1 as FillStyle1) and line style
// `line` (0 for none), ending with the end record.
void WriteRectangleRecords(ByteWriter& out, const Rect& r, bool has_line) {
  BitWriter bits;
  // Style bit widths for this shape: one fill style, at most one line style.
  bits.UB(4, 1);                 // NumFillBits
  bits.UB(4, has_line ? 1 : 0);  // NumLineBits
  // Style change record: move to the top left, select the styles.
  const unsigned move_bits = std::max(SignedBits(r.x_min), SignedBits(r.y_min));
  bits.UB(1, 0);                 // not an edge
  bits.UB(1, 0);                 // StateNewStyles
  bits.UB(1, has_line ? 1 : 0);  // StateLineStyle
  bits.UB(1, 1);                 // StateFillStyle1
  bits.UB(1, 0);                 // StateFillStyle0
  bits.UB(1, 1);                 // StateMoveTo
  bits.UB(5, move_bits);
  bits.SB(move_bits, r.x_min);
  bits.SB(move_bits, r.y_min);
  bits.UB(1, 1);                // FillStyle1 = 1
  if (has_line) bits.UB(1, 1);  // LineStyle = 1
  // Four straight edges: right, down, left, up.
  const std::int32_t dx = r.x_max - r.x_min;
  const std::int32_t dy = r.y_max - r.y_min;
  const auto edge = [&bits](bool vertical, std::int32_t delta) {
    const unsigned n = std::max(SignedBits(delta), 2u);
    if (n > 17) throw std::invalid_argument("shape edge longer than 65535 twips");
    bits.UB(1, 1);      // edge
    bits.UB(1, 1);      // straight
    bits.UB(4, n - 2);  // NumBits - 2
    bits.UB(1, 0);      // not a general line
    bits.UB(1, vertical ? 1 : 0);
    bits.SB(n, delta);
  };
  edge(false, dx);
  edge(true, dy);
  edge(false, -dx);
  edge(true, -dy);
  bits.UB(6, 0);  // end of shape
  bits.FlushTo(out);
}

Tag Shape(std::uint16_t id, const Rect& bounds, const Bytes& fill_style,
          std::optional<LineStyle> line) {
  ByteWriter w;
  w.U16(id);
  // The outline widens the bounds by half its width on every side.
  Rect outer = bounds;
  if (line) {
    const std::int32_t half = line->width / 2;
    outer =
        Rect{bounds.x_min - half, bounds.x_max + half, bounds.y_min - half, bounds.y_max + half};
  }
  WriteRect(w, outer);
  w.U8(1);  // fill style count
  w.Raw(fill_style);
  w.U8(line ? 1 : 0);  // line style count
  if (line) {
    w.U16(line->width);
    WriteRgba(w, line->color);
  }
  WriteRectangleRecords(w, bounds, line.has_value());
  return Tag{TagCode::kDefineShape3, w.Take()};
}

}  // namespace

Tag RectangleShape(std::uint16_t id, const Rect& rect, Rgba fill, std::optional<LineStyle> line) {
  ByteWriter style;
  style.U8(kSolidFill);
  WriteRgba(style, fill);
  return Shape(id, rect, style.bytes(), line);
}

Tag BitmapShape(std::uint16_t id, std::uint16_t bitmap_id, int width, int height) {
  ByteWriter style;
  style.U8(kClippedBitmapFill);
  style.U16(bitmap_id);
  // Bitmap pixels are mapped as twips: scale by 20 to show them at size.
  Matrix m;
  m.scale_x = kTwipsPerPixel;
  m.scale_y = kTwipsPerPixel;
  WriteMatrix(style, m);
  return Shape(id, PixelRect(0, 0, width, height), style.bytes(), std::nullopt);
}

}  // namespace pagoro::swf
