#include "swf/bitmaps.h"

#include <gtest/gtest.h>

#include "testing/inflate.h"

namespace pagoro::swf {
namespace {

using testing::Inflate;

// 2 x 2 pixels: opaque red, half-transparent white, transparent, opaque blue.
const Bytes kPixels{255, 0, 0, 255, 255, 255, 255, 128, 9, 9, 9, 0, 0, 0, 255, 255};

TEST(Bitmaps, LosslessStoresPremultipliedArgbCompressed) {
  const Tag tag = LosslessBitmap(4, 2, 2, kPixels);
  EXPECT_EQ(tag.code, TagCode::kDefineBitsLossless2);
  EXPECT_TRUE(tag.force_long_header);
  const Bytes& b = tag.body;
  EXPECT_EQ(b[0] | (b[1] << 8), 4);
  EXPECT_EQ(b[2], 5);  // 32-bit ARGB
  EXPECT_EQ(b[3] | (b[4] << 8), 2);
  EXPECT_EQ(b[5] | (b[6] << 8), 2);
  const Bytes argb = Inflate(std::span(b).subspan(7), 16);
  EXPECT_EQ(argb, (Bytes{255, 255, 0, 0, 128, 128, 128, 128, 0, 0, 0, 0, 255, 0, 0, 255}));
}

TEST(Bitmaps, WrongInputIsRefused) {
  EXPECT_THROW(LosslessBitmap(1, 3, 2, kPixels), std::invalid_argument);
  EXPECT_THROW(JpegBitmap(1, kPixels), std::invalid_argument);
  const Bytes jpeg{0xff, 0xd8, 0xff, 0xe0, 0xff, 0xd9};
  const Tag tag = JpegBitmap(2, jpeg);
  EXPECT_EQ(tag.code, TagCode::kDefineBitsJpeg2);
  EXPECT_EQ(Bytes(tag.body.begin() + 2, tag.body.end()), jpeg);
  const Bytes encoded = tag.Encode();
  EXPECT_EQ(encoded[0] & 0x3f, 0x3f);  // long header even for a short body
}

}  // namespace
}  // namespace pagoro::swf
