#include "swf/bitmaps.h"

#include <zlib.h>

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

Bytes Deflate(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("zlib compression failed");
  }
  out.resize(size);
  return out;
}

void BigEndian32(ByteWriter& w, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) w.U8(static_cast<std::uint8_t>(v >> shift));
}

void PngChunk(ByteWriter& w, const char* type, const Bytes& data) {
  BigEndian32(w, static_cast<std::uint32_t>(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  w.Raw(typed);
  BigEndian32(w, static_cast<std::uint32_t>(
                     crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
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

Bytes EncodePng(int width, int height, std::span<const std::uint8_t> rgba) {
  CheckPixels(width, height, rgba);
  ByteWriter w;
  w.Raw(Bytes{0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a});
  ByteWriter header;
  BigEndian32(header, static_cast<std::uint32_t>(width));
  BigEndian32(header, static_cast<std::uint32_t>(height));
  header.Raw(Bytes{8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  PngChunk(w, "IHDR", header.bytes());
  Bytes rows;
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  rows.reserve((stride + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows.push_back(0);  // filter: none
    const auto row = rgba.subspan(static_cast<std::size_t>(y) * stride, stride);
    rows.insert(rows.end(), row.begin(), row.end());
  }
  PngChunk(w, "IDAT", Deflate(rows));
  PngChunk(w, "IEND", {});
  return w.Take();
}

}  // namespace pagoro::swf
