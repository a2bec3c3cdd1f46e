#include "tools/sample/png.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "testing/inflate.h"

namespace pagoro::sample {
namespace {

using swf::Bytes;

using testing::Inflate;

std::uint32_t BigEndian(const Bytes& b, std::size_t at) {
  return (static_cast<std::uint32_t>(b.at(at)) << 24) | (b.at(at + 1) << 16) | (b.at(at + 2) << 8) |
         b.at(at + 3);
}

// 2 x 2 pixels: opaque red, half-transparent white, transparent, opaque blue.
const Bytes kPixels{255, 0, 0, 255, 255, 255, 255, 128, 9, 9, 9, 0, 0, 0, 255, 255};

TEST(Png, HasValidChunksAndUnfilteredRows) {
  const Bytes png = EncodePng(2, 2, kPixels);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(Bytes(png.begin(), png.begin() + 8),
            (Bytes{0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a}));
  std::vector<std::string> types;
  Bytes idat;
  for (std::size_t at = 8; at < png.size();) {
    const std::uint32_t length = BigEndian(png, at);
    const std::string type(png.begin() + at + 4, png.begin() + at + 8);
    types.push_back(type);
    const std::uint32_t crc = BigEndian(png, at + 8 + length);
    EXPECT_EQ(crc, crc32(0, png.data() + at + 4, length + 4)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(BigEndian(png, at + 8), 2u);
      EXPECT_EQ(BigEndian(png, at + 12), 2u);
      EXPECT_EQ(png[at + 16], 8);  // bit depth
      EXPECT_EQ(png[at + 17], 6);  // RGBA
    }
    if (type == "IDAT") idat.assign(png.begin() + at + 8, png.begin() + at + 8 + length);
    at += 12 + length;
  }
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  Bytes expected{0};
  expected.insert(expected.end(), kPixels.begin(), kPixels.begin() + 8);
  expected.push_back(0);
  expected.insert(expected.end(), kPixels.begin() + 8, kPixels.end());
  EXPECT_EQ(Inflate(idat, expected.size()), expected);
}

TEST(Png, WrongInputIsRefused) {
  EXPECT_THROW(EncodePng(0, 0, {}), std::invalid_argument);
  EXPECT_THROW(EncodePng(3, 2, kPixels), std::invalid_argument);
}

}  // namespace
}  // namespace pagoro::sample
