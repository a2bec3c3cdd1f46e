#include "swf/byte_writer.h"

#include <gtest/gtest.h>

namespace pagoro::swf {
namespace {

TEST(BitFields, SignedWidthCoversSignAndMagnitude) {
  struct Case {
    std::int32_t value;
    unsigned bits;
  };
  for (const Case& c : {Case{0, 1}, Case{1, 2}, Case{-1, 1}, Case{-2, 2}, Case{255, 9},
                        Case{-256, 9}, Case{-257, 10}, Case{11000, 15}}) {
    EXPECT_EQ(SignedBits(c.value), c.bits) << c.value;
  }
}

TEST(BitFields, RectPacksMostSignificantBitFirst) {
  // 550 x 400 pixels: the classic stage, 15-bit fields.
  ByteWriter w;
  WriteRect(w, PixelRect(0, 0, 550, 400));
  const Bytes expected{0x78, 0x00, 0x05, 0x5f, 0x00, 0x00, 0x0f, 0xa0, 0x00};
  EXPECT_EQ(w.bytes(), expected);

  ByteWriter empty;
  WriteRect(empty, Rect{});
  EXPECT_EQ(empty.bytes(), (Bytes{0x08, 0x00}));  // 1-bit fields, all zero
}

TEST(BitFields, NegativeCoordinatesSignExtend) {
  ByteWriter w;
  WriteRect(w, Rect{-1, 1, -2, 2});  // 3-bit fields: 111 001 110 010
  // 00011 111 001 110 010 + padding
  EXPECT_EQ(w.bytes(), (Bytes{0x1f, 0x39, 0x00}));
}

TEST(ByteWriter, ActionDoubleStoresHighWordFirst) {
  ByteWriter w;
  w.ActionDouble(1.0);  // 0x3FF0000000000000
  EXPECT_EQ(w.bytes(), (Bytes{0x00, 0x00, 0xf0, 0x3f, 0x00, 0x00, 0x00, 0x00}));
}

TEST(ByteWriter, StringsWithZeroBytesAreRefused) {
  ByteWriter w;
  w.String("ab");
  EXPECT_EQ(w.bytes(), (Bytes{'a', 'b', 0}));
  EXPECT_THROW(w.String(std::string_view("a\0b", 3)), std::invalid_argument);
}

}  // namespace
}  // namespace pagoro::swf
