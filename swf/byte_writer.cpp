#include "swf/byte_writer.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace pagoro::swf {

Rect PixelRect(int x, int y, int width, int height) {
  return Rect{x * kTwipsPerPixel, (x + width) * kTwipsPerPixel, y * kTwipsPerPixel,
              (y + height) * kTwipsPerPixel};
}

void ByteWriter::U16(std::uint16_t v) {
  bytes_.push_back(static_cast<std::uint8_t>(v & 0xff));
  bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void ByteWriter::ActionDouble(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  U32(static_cast<std::uint32_t>(bits >> 32));
  U32(static_cast<std::uint32_t>(bits & 0xffffffffU));
}

void ByteWriter::String(std::string_view s) {
  if (s.find('\0') != std::string_view::npos) {
    throw std::invalid_argument("string with a zero byte can't be written");
  }
  Raw(s);
  U8(0);
}

void ByteWriter::Raw(std::span<const std::uint8_t> data) {
  bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void ByteWriter::Raw(std::string_view data) {
  bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void ByteWriter::PatchU16(std::size_t at, std::uint16_t v) {
  bytes_.at(at) = static_cast<std::uint8_t>(v & 0xff);
  bytes_.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void BitWriter::UB(unsigned bits, std::uint32_t value) {
  for (unsigned i = bits; i-- > 0;) {
    if (used_bits_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1U) bytes_.back() |= static_cast<std::uint8_t>(0x80U >> used_bits_);
    used_bits_ = (used_bits_ + 1) % 8;
  }
}

void BitWriter::SB(unsigned bits, std::int32_t value) {
  UB(bits, static_cast<std::uint32_t>(value));
}

void BitWriter::FlushTo(ByteWriter& out) {
  out.Raw(bytes_);
  bytes_.clear();
  used_bits_ = 0;
}

unsigned UnsignedBits(std::uint32_t v) { return static_cast<unsigned>(std::bit_width(v)); }

unsigned SignedBits(std::int32_t v) {
  // One sign bit plus the magnitude bits of v (or of ~v when negative).
  const auto magnitude = static_cast<std::uint32_t>(v < 0 ? ~v : v);
  return UnsignedBits(magnitude) + 1;
}

void WriteRect(ByteWriter& out, const Rect& r) {
  const unsigned n = std::max(
      {SignedBits(r.x_min), SignedBits(r.x_max), SignedBits(r.y_min), SignedBits(r.y_max)});
  if (n > 31) throw std::invalid_argument("rectangle coordinate out of range");
  BitWriter bits;
  bits.UB(5, n);
  bits.SB(n, r.x_min);
  bits.SB(n, r.x_max);
  bits.SB(n, r.y_min);
  bits.SB(n, r.y_max);
  bits.FlushTo(out);
}

Bytes Deflate(std::span<const std::uint8_t> raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("zlib compression failed");
  }
  out.resize(size);
  return out;
}

}  // namespace pagoro::swf
