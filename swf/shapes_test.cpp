#include "swf/shapes.h"

#include <gtest/gtest.h>

namespace pagoro::swf {
namespace {

// Reads bit fields the way players do.
class BitReader {
 public:
  BitReader(const Bytes& d, std::size_t byte) : d_(d), bit_(byte * 8) {}
  std::uint32_t UB(unsigned n) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < n; ++i, ++bit_) {
      v = (v << 1) | ((d_.at(bit_ / 8) >> (7 - bit_ % 8)) & 1U);
    }
    return v;
  }
  std::int32_t SB(unsigned n) {
    std::uint32_t v = UB(n);
    if (n > 0 && n < 32 && (v >> (n - 1)) & 1U) v |= ~((1U << n) - 1U);
    return static_cast<std::int32_t>(v);
  }
  std::size_t ByteAligned() { return (bit_ + 7) / 8; }

 private:
  const Bytes& d_;
  std::size_t bit_;
};

Rect ReadRect(BitReader& r) {
  const unsigned n = r.UB(5);
  Rect rect;
  rect.x_min = r.SB(n);
  rect.x_max = r.SB(n);
  rect.y_min = r.SB(n);
  rect.y_max = r.SB(n);
  return rect;
}

struct Outline {
  std::int32_t start_x = 0, start_y = 0;
  std::vector<std::pair<std::int32_t, std::int32_t>> edges;
  unsigned fill1 = 0, line = 0;
};

// Reads a shape with one fill style and zero or one line style, as written.
Outline ReadRectangleShape(const Tag& tag, Rect& bounds, std::size_t fill_style_size,
                           bool has_line) {
  EXPECT_EQ(tag.code, TagCode::kDefineShape3);
  const Bytes& b = tag.body;
  BitReader r(b, 2);
  bounds = ReadRect(r);
  std::size_t at = r.ByteAligned();
  EXPECT_EQ(b.at(at), 1);  // one fill style
  at += 1 + fill_style_size;
  EXPECT_EQ(b.at(at), has_line ? 1 : 0);
  at += 1 + (has_line ? 6 : 0);
  BitReader s(b, at);
  const unsigned fill_bits = s.UB(4);
  const unsigned line_bits = s.UB(4);
  Outline o;
  while (true) {
    const bool edge = s.UB(1) != 0;
    if (!edge) {
      const unsigned flags = s.UB(5);
      if (flags == 0) break;
      if (flags & 0x01) {  // move to
        const unsigned n = s.UB(5);
        o.start_x = s.SB(n);
        o.start_y = s.SB(n);
      }
      if (flags & 0x02) s.UB(fill_bits);            // fill style 0
      if (flags & 0x04) o.fill1 = s.UB(fill_bits);  // fill style 1
      if (flags & 0x08) o.line = s.UB(line_bits);   // line style
      continue;
    }
    EXPECT_EQ(s.UB(1), 1u) << "only straight edges are written";
    const unsigned n = s.UB(4) + 2;
    if (s.UB(1) != 0) {
      const std::int32_t dx = s.SB(n);
      o.edges.emplace_back(dx, s.SB(n));
    } else if (s.UB(1) != 0) {
      o.edges.emplace_back(0, s.SB(n));
    } else {
      o.edges.emplace_back(s.SB(n), 0);
    }
  }
  EXPECT_EQ(s.ByteAligned(), b.size());
  return o;
}

TEST(Shapes, RectangleOutlineIsClosedAndMatchesItsBounds) {
  struct Case {
    Rect rect;
    bool line;
  };
  for (const Case& c :
       {Case{PixelRect(0, 0, 100, 50), false}, Case{PixelRect(-10, 20, 640, 1), true},
        Case{Rect{-3000, 60000, -50000, 2}, false}}) {
    const auto line =
        c.line ? std::optional<LineStyle>(LineStyle{40, {0, 0, 0, 255}}) : std::nullopt;
    const Tag tag = RectangleShape(7, c.rect, Rgba{10, 20, 30, 128}, line);
    EXPECT_EQ(tag.body[0] | (tag.body[1] << 8), 7);
    Rect bounds;
    const Outline o = ReadRectangleShape(tag, bounds, 5, c.line);
    const std::int32_t grow = c.line ? 20 : 0;
    EXPECT_EQ(bounds.x_min, c.rect.x_min - grow);
    EXPECT_EQ(bounds.x_max, c.rect.x_max + grow);
    EXPECT_EQ(bounds.y_min, c.rect.y_min - grow);
    EXPECT_EQ(bounds.y_max, c.rect.y_max + grow);
    EXPECT_EQ(o.start_x, c.rect.x_min);
    EXPECT_EQ(o.start_y, c.rect.y_min);
    EXPECT_EQ(o.fill1, 1u);
    EXPECT_EQ(o.line, c.line ? 1u : 0u);
    ASSERT_EQ(o.edges.size(), 4u);
    std::int32_t x = o.start_x, y = o.start_y, max_x = x, max_y = y;
    for (const auto& [dx, dy] : o.edges) {
      x += dx;
      y += dy;
      max_x = std::max(max_x, x);
      max_y = std::max(max_y, y);
    }
    EXPECT_EQ(x, o.start_x);
    EXPECT_EQ(y, o.start_y);
    EXPECT_EQ(max_x, c.rect.x_max);
    EXPECT_EQ(max_y, c.rect.y_max);
  }
}

TEST(Shapes, BitmapFillShowsTheBitmapAtItsSize) {
  const Tag tag = BitmapShape(3, 9, 64, 32);
  Rect bounds;
  // Fill style: type, bitmap id, then a scale-only matrix.
  const Bytes& b = tag.body;
  BitReader r(b, 2);
  ReadRect(r);
  const std::size_t style = r.ByteAligned() + 1;
  EXPECT_EQ(b.at(style), 0x41);
  EXPECT_EQ(b.at(style + 1) | (b.at(style + 2) << 8), 9);
  BitReader m(b, style + 3);
  ASSERT_EQ(m.UB(1), 1u);  // has scale
  const unsigned n = m.UB(5);
  EXPECT_EQ(m.SB(n), 20 * 65536);
  EXPECT_EQ(m.SB(n), 20 * 65536);
  EXPECT_EQ(m.UB(1), 0u);  // no rotation
  EXPECT_EQ(m.UB(5), 0u);  // no translation
  const std::size_t matrix_size = m.ByteAligned() - (style + 3);
  const Outline o = ReadRectangleShape(tag, bounds, 3 + matrix_size, false);
  EXPECT_EQ(bounds.x_max, 64 * 20);
  EXPECT_EQ(bounds.y_max, 32 * 20);
  EXPECT_EQ(o.edges.size(), 4u);
}

}  // namespace
}  // namespace pagoro::swf
