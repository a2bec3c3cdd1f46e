#include "swf/tags.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace pagoro::swf {

namespace {

constexpr std::uint32_t kShortLengthMax = 0x3e;  // 0x3f marks the long header

std::int32_t ToFixed16(double v) {
  const double scaled = std::round(v * 65536.0);
  if (scaled < std::numeric_limits<std::int32_t>::min() ||
      scaled > std::numeric_limits<std::int32_t>::max()) {
    throw std::invalid_argument("matrix value out of range");
  }
  return static_cast<std::int32_t>(scaled);
}

void WritePair(BitWriter& bits, std::int32_t a, std::int32_t b) {
  const unsigned n = std::max(SignedBits(a), SignedBits(b));
  if (n > 31) throw std::invalid_argument("matrix value out of range");
  bits.UB(5, n);
  bits.SB(n, a);
  bits.SB(n, b);
}

}  // namespace

Bytes Tag::Encode() const {
  ByteWriter w;
  const auto code_bits = static_cast<std::uint16_t>(static_cast<std::uint16_t>(code) << 6);
  if (body.size() <= kShortLengthMax && !force_long_header) {
    w.U16(static_cast<std::uint16_t>(code_bits | body.size()));
  } else {
    if (body.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("tag body too long");
    }
    w.U16(static_cast<std::uint16_t>(code_bits | 0x3f));
    w.U32(static_cast<std::uint32_t>(body.size()));
  }
  w.Raw(body);
  return w.Take();
}

Tag ShowFrame() { return Tag{TagCode::kShowFrame, {}}; }

Tag End() { return Tag{TagCode::kEnd, {}}; }

Tag SetBackgroundColor(Rgb color) {
  return Tag{TagCode::kSetBackgroundColor, Bytes{color.r, color.g, color.b}};
}

Tag FileAttributes(std::uint32_t flags) {
  ByteWriter w;
  w.U32(flags);
  return Tag{TagCode::kFileAttributes, w.Take()};
}

Tag DoAction(Bytes actions) { return Tag{TagCode::kDoAction, std::move(actions)}; }

Tag FrameLabel(std::string_view label) {
  ByteWriter w;
  w.String(label);
  return Tag{TagCode::kFrameLabel, w.Take()};
}

Tag DeviceFont(std::uint16_t font_id, std::string_view name, bool bold, bool italic) {
  if (name.size() > 255) throw std::invalid_argument("font name longer than 255 bytes");
  constexpr std::uint8_t kWideCodes = 0x04;
  ByteWriter w;
  w.U16(font_id);
  w.U8(static_cast<std::uint8_t>(kWideCodes | (italic ? 0x02 : 0) | (bold ? 0x01 : 0)));
  w.U8(0);  // language: none
  w.U8(static_cast<std::uint8_t>(name.size()));
  w.Raw(name);
  w.U16(0);  // no glyphs
  w.U16(2);  // code table offset: the (empty) code table follows this field
  return Tag{TagCode::kDefineFont2, w.Take()};
}

Tag DefineEditText(const EditText& t) {
  const bool has_text = !t.initial_text.empty();
  const bool has_font = t.font_id != 0;
  const bool has_layout = t.align != 0;
  std::uint8_t flags1 = 0x04;  // HasTextColor
  if (has_text) flags1 |= 0x80;
  if (t.word_wrap) flags1 |= 0x40;
  if (t.multiline) flags1 |= 0x20;
  if (t.read_only) flags1 |= 0x08;
  if (has_font) flags1 |= 0x01;
  std::uint8_t flags2 = 0;
  if (has_layout) flags2 |= 0x20;
  if (!t.selectable) flags2 |= 0x10;
  if (t.border) flags2 |= 0x08;
  if (t.html) flags2 |= 0x02;

  ByteWriter w;
  w.U16(t.id);
  WriteRect(w, t.bounds);
  w.U8(flags1);
  w.U8(flags2);
  if (has_font) {
    w.U16(t.font_id);
    w.U16(static_cast<std::uint16_t>(t.font_height * kTwipsPerPixel));
  }
  w.U8(t.color.r);
  w.U8(t.color.g);
  w.U8(t.color.b);
  w.U8(t.color.a);
  if (has_layout) {
    w.U8(t.align);
    w.U16(0);  // left margin
    w.U16(0);  // right margin
    w.U16(0);  // indent
    w.I16(0);  // leading
  }
  w.String(t.variable);
  if (has_text) w.String(t.initial_text);
  return Tag{TagCode::kDefineEditText, w.Take()};
}

Matrix Translate(int x_px, int y_px) {
  Matrix m;
  m.translate_x = x_px * kTwipsPerPixel;
  m.translate_y = y_px * kTwipsPerPixel;
  return m;
}

void WriteMatrix(ByteWriter& out, const Matrix& m) {
  BitWriter bits;
  const bool has_scale = m.scale_x != 1.0 || m.scale_y != 1.0;
  bits.UB(1, has_scale ? 1 : 0);
  if (has_scale) WritePair(bits, ToFixed16(m.scale_x), ToFixed16(m.scale_y));
  const bool has_rotate = m.rotate_skew0 != 0.0 || m.rotate_skew1 != 0.0;
  bits.UB(1, has_rotate ? 1 : 0);
  if (has_rotate) WritePair(bits, ToFixed16(m.rotate_skew0), ToFixed16(m.rotate_skew1));
  if (m.translate_x == 0 && m.translate_y == 0) {
    bits.UB(5, 0);
  } else {
    WritePair(bits, m.translate_x, m.translate_y);
  }
  bits.FlushTo(out);
}

Tag PlaceObject2(const PlaceObject& p) {
  std::uint8_t flags = 0;
  if (!p.clip_actions.empty()) flags |= 0x80;
  if (!p.name.empty()) flags |= 0x20;
  if (p.has_matrix) flags |= 0x04;
  if (p.character_id != 0) flags |= 0x02;
  if (p.move) flags |= 0x01;
  ByteWriter w;
  w.U8(flags);
  w.U16(p.depth);
  if (p.character_id != 0) w.U16(p.character_id);
  if (p.has_matrix) WriteMatrix(w, p.matrix);
  if (!p.name.empty()) w.String(p.name);
  w.Raw(p.clip_actions);
  return Tag{TagCode::kPlaceObject2, w.Take()};
}

Tag RemoveObject2(std::uint16_t depth) {
  ByteWriter w;
  w.U16(depth);
  return Tag{TagCode::kRemoveObject2, w.Take()};
}

}  // namespace pagoro::swf
