#include "swf/movie_header.h"

#include "swf/swf_reader.h"

namespace pagoro::swf {

namespace {

// Five bits of field width and four fields of at most 31 bits: 17 bytes.
constexpr std::size_t kMaxRectLength = (5 + 4 * 31 + 7) / 8;
constexpr std::int64_t kMaxStageSide = 0xFFFF;

}  // namespace

std::optional<Compression> MovieSignature(std::span<const std::uint8_t> file) {
  if (file.size() < kHeaderPrefix || file[1] != 'W' || file[2] != 'S') return std::nullopt;
  switch (file[0]) {
    case 'F': return Compression::kNone;
    case 'C': return Compression::kZlib;
    case 'Z': return Compression::kLzma;
    default: return std::nullopt;
  }
}

std::optional<FrameRect> ReadFrameRect(std::span<const std::uint8_t> bits) {
  if (bits.empty()) return std::nullopt;
  const unsigned n = bits[0] >> 3;
  FrameRect result;
  result.length = (5 + 4 * n + 7) / 8;
  if (bits.size() < result.length) return std::nullopt;
  std::size_t bit = 5;
  std::int32_t fields[4] = {};
  for (std::int32_t& field : fields) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < n; ++i, ++bit) v = v << 1 | ((bits[bit / 8] >> (7 - bit % 8)) & 1U);
    if (n > 0 && n < 32 && (v >> (n - 1) & 1U) != 0) v |= ~((1U << n) - 1U);  // sign
    field = static_cast<std::int32_t>(v);
  }
  result.rect = Rect{fields[0], fields[1], fields[2], fields[3]};
  return result;
}

std::optional<std::pair<int, int>> StageSize(std::span<const std::uint8_t> file) {
  if (!MovieSignature(file)) return std::nullopt;
  const Bytes start = MovieStart(file, kHeaderPrefix + kMaxRectLength);
  if (start.size() <= kHeaderPrefix) return std::nullopt;
  const std::optional<FrameRect> frame =
      ReadFrameRect(std::span<const std::uint8_t>(start).subspan(kHeaderPrefix));
  if (!frame) return std::nullopt;
  const Rect& r = frame->rect;
  const std::int64_t w = (std::int64_t{r.x_max} - r.x_min) / kTwipsPerPixel;
  const std::int64_t h = (std::int64_t{r.y_max} - r.y_min) / kTwipsPerPixel;
  if (w <= 0 || h <= 0 || w > kMaxStageSide || h > kMaxStageSide) return std::nullopt;
  return std::pair{static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace pagoro::swf
