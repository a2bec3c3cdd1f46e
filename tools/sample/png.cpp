#include "tools/sample/png.h"

#include <zlib.h>

#include <stdexcept>

namespace pagoro::sample {

namespace {

void BigEndian32(swf::ByteWriter& w, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) w.U8(static_cast<std::uint8_t>(v >> shift));
}

void PngChunk(swf::ByteWriter& w, const char* type, const swf::Bytes& data) {
  BigEndian32(w, static_cast<std::uint32_t>(data.size()));
  swf::Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  w.Raw(typed);
  BigEndian32(w,
              static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

}  // namespace

swf::Bytes EncodePng(int width, int height, std::span<const std::uint8_t> rgba) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("picture size out of range");
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  if (rgba.size() != stride * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("picture pixel data does not match its size");
  }
  swf::ByteWriter w;
  w.Raw(swf::Bytes{0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a});
  swf::ByteWriter header;
  BigEndian32(header, static_cast<std::uint32_t>(width));
  BigEndian32(header, static_cast<std::uint32_t>(height));
  header.Raw(swf::Bytes{8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  PngChunk(w, "IHDR", header.bytes());
  swf::Bytes rows;
  rows.reserve((stride + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows.push_back(0);  // filter: none
    const auto row = rgba.subspan(static_cast<std::size_t>(y) * stride, stride);
    rows.insert(rows.end(), row.begin(), row.end());
  }
  PngChunk(w, "IDAT", swf::Deflate(rows));
  PngChunk(w, "IEND", {});
  return w.Take();
}

}  // namespace pagoro::sample
