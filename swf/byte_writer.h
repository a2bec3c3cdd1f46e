// Little-endian byte and bit writers for the movie format: fixed-size
// integers, zero-terminated strings, bit fields and rectangles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pagoro::swf {

using Bytes = std::vector<std::uint8_t>;

// A rectangle in twips (1/20 pixel).
struct Rect {
  std::int32_t x_min = 0;
  std::int32_t x_max = 0;
  std::int32_t y_min = 0;
  std::int32_t y_max = 0;
};

constexpr std::int32_t kTwipsPerPixel = 20;

// A rectangle from pixel position and size.
Rect PixelRect(int x, int y, int width, int height);

class ByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v);
  void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  // An IEEE double in the action stream's order: high 32 bits first, each
  // half little-endian.
  void ActionDouble(double v);
  // The bytes of `s` followed by a zero byte. Throws std::invalid_argument
  // when `s` holds a zero byte (the reader would cut the string there).
  void String(std::string_view s);
  void Raw(std::span<const std::uint8_t> data);
  void Raw(std::string_view data);
  // Overwrites two bytes at `at` (for lengths known only later).
  void PatchU16(std::size_t at, std::uint16_t v);

  std::size_t size() const { return bytes_.size(); }
  const Bytes& bytes() const { return bytes_; }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

// Bit fields, most significant bit first, padded with zero bits to a whole
// byte at the end.
class BitWriter {
 public:
  void UB(unsigned bits, std::uint32_t value);
  void SB(unsigned bits, std::int32_t value);
  // Pads to a byte boundary and appends the bytes to `out`.
  void FlushTo(ByteWriter& out);

 private:
  Bytes bytes_;
  unsigned used_bits_ = 0;  // bits used in the last byte (0..7)
};

// Number of bits a signed bit field needs to hold `v`.
unsigned SignedBits(std::int32_t v);
// Number of bits an unsigned bit field needs to hold `v`.
unsigned UnsignedBits(std::uint32_t v);

void WriteRect(ByteWriter& out, const Rect& r);

}  // namespace pagoro::swf
