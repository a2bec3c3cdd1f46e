#include "swf/bitmaps.h"

#include <stdexcept>

namespace pagoro::swf {

namespace {

constexpr std::uint8_t kFormatArgb32 = 5;

void CheckPixels(int width, int height, std::span<const std::uint8_t> rgba) {
  if (width <= 0 || height <= 0 || width > 8191 || height > 8191) {
    throw std::invalid_argument("bitmap size out of range");
  }
  if (rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    throw std::invalid_argument("bitmap pixel data does not match its size");
  }
}

}  // namespace

Tag JpegBitmap(std::uint16_t id, std::span<const std::uint8_t> jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xff || jpeg[1] != 0xd8) {
    throw std::invalid_argument("not JPEG data");
  }
  ByteWriter w;
  w.U16(id);
  w.Raw(jpeg);
  return Tag{TagCode::kDefineBitsJpeg2, w.Take(), true};
}

Tag LosslessBitmap(std::uint16_t id, int width, int height, std::span<const std::uint8_t> rgba) {
  CheckPixels(width, height, rgba);
  // Stored as premultiplied ARGB.
  Bytes argb;
  argb.reserve(rgba.size());
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    const unsigned a = rgba[i + 3];
    argb.push_back(static_cast<std::uint8_t>(a));
    for (int c = 0; c < 3; ++c) {
      argb.push_back(static_cast<std::uint8_t>((rgba[i + c] * a + 127) / 255));
    }
  }
  ByteWriter w;
  w.U16(id);
  w.U8(kFormatArgb32);
  w.U16(static_cast<std::uint16_t>(width));
  w.U16(static_cast<std::uint16_t>(height));
  w.Raw(Deflate(argb));
  return Tag{TagCode::kDefineBitsLossless2, w.Take(), true};
}

}  // namespace pagoro::swf
