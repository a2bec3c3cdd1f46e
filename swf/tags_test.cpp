#include "swf/tags.h"

#include <gtest/gtest.h>

#include "swf/sprites.h"

namespace pagoro::swf {
namespace {

// Reads a DefineEditText body field by field, as a player does.
struct ReadEditText {
  std::uint8_t flags1 = 0, flags2 = 0;
  int font_id = -1, height = -1, align = -1;
  Rgba color;
  std::string variable, text;
};

ReadEditText Parse(const Bytes& b) {
  ReadEditText r;
  std::size_t at = 2;
  const unsigned nbits = b.at(at) >> 3;
  at += (5 + 4 * nbits + 7) / 8;
  r.flags1 = b.at(at++);
  r.flags2 = b.at(at++);
  const auto u16 = [&] {
    const int v = b.at(at) | (b.at(at + 1) << 8);
    at += 2;
    return v;
  };
  const auto str = [&] {
    std::string s;
    while (b.at(at) != 0) s.push_back(static_cast<char>(b.at(at++)));
    ++at;
    return s;
  };
  if (r.flags1 & 0x01) r.font_id = u16();
  if (r.flags1 & 0x01) r.height = u16();
  if (r.flags1 & 0x04) {
    r.color = Rgba{b.at(at), b.at(at + 1), b.at(at + 2), b.at(at + 3)};
    at += 4;
  }
  if (r.flags1 & 0x02) u16();
  if (r.flags2 & 0x20) {
    r.align = b.at(at);
    at += 9;
  }
  r.variable = str();
  if (r.flags1 & 0x80) r.text = str();
  EXPECT_EQ(at, b.size());
  return r;
}

TEST(EditText, FieldsFollowTheirFlags) {
  EditText plain;
  plain.id = 3;
  plain.bounds = PixelRect(0, 0, 200, 40);
  plain.variable = "page";
  EditText full = plain;
  full.font_id = 9;
  full.font_height = 24;
  full.color = {1, 2, 3, 200};
  full.initial_text = "第 1 页";
  full.align = 2;
  full.read_only = false;
  full.selectable = true;
  full.multiline = full.word_wrap = full.border = true;

  const ReadEditText a = Parse(DefineEditText(plain).body);
  EXPECT_EQ(a.font_id, -1);
  EXPECT_EQ(a.align, -1);
  EXPECT_EQ(a.variable, "page");
  EXPECT_EQ(a.text, "");
  EXPECT_TRUE(a.flags1 & 0x08);  // read only
  EXPECT_TRUE(a.flags2 & 0x10);  // not selectable

  const ReadEditText b = Parse(DefineEditText(full).body);
  EXPECT_EQ(b.font_id, 9);
  EXPECT_EQ(b.height, 24 * 20);
  EXPECT_EQ(b.color.a, 200);
  EXPECT_EQ(b.align, 2);
  EXPECT_EQ(b.variable, "page");
  EXPECT_EQ(b.text, "第 1 页");
  EXPECT_EQ(b.flags1 & 0x68, 0x60);  // word wrap, multiline, not read only
  EXPECT_EQ(b.flags2 & 0x18, 0x08);  // selectable, border
}

TEST(PlaceObject, OptionalFieldsComeInFlagOrder) {
  PlaceObject p;
  p.depth = 4;
  p.character_id = 7;
  p.matrix = Translate(1, 0);
  p.name = "pic";
  p.clip_actions = EncodeClipActions(6, {{0x1, 0, Bytes{0}}});
  const Bytes b = PlaceObject2(p).body;
  EXPECT_EQ(b[0], 0x80 | 0x20 | 0x04 | 0x02);
  EXPECT_EQ(b[1] | (b[2] << 8), 4);
  EXPECT_EQ(b[3] | (b[4] << 8), 7);
  // Matrix: no scale, no rotation, 6-bit translation (20, 0): 3 bytes.
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), std::string("pic\0", 4));
  EXPECT_EQ(Bytes(b.begin() + 12, b.end()), p.clip_actions);

  PlaceObject move;
  move.depth = 4;
  move.move = true;
  move.has_matrix = false;
  EXPECT_EQ(PlaceObject2(move).body, (Bytes{0x01, 4, 0}));
  EXPECT_EQ(RemoveObject2(4).body, (Bytes{4, 0}));
}

TEST(Tags, ShortAndLongHeaders) {
  EXPECT_EQ(ShowFrame().Encode(), (Bytes{0x40, 0x00}));
  EXPECT_EQ(SetBackgroundColor({1, 2, 3}).Encode(), (Bytes{0x43, 0x02, 1, 2, 3}));
  const Bytes long_tag = Tag{TagCode::kDoAction, Bytes(63, 0)}.Encode();
  EXPECT_EQ(Bytes(long_tag.begin(), long_tag.begin() + 6), (Bytes{0x3f, 0x03, 63, 0, 0, 0}));
  EXPECT_EQ(long_tag.size(), 6u + 63);
}

}  // namespace
}  // namespace pagoro::swf
