// What a movie file says about itself before its tags: the signature
// ("FWS" plain, "CWS" zlib, "ZWS" LZMA, then a version byte and the
// 32-bit length, eight bytes in all) and the frame rectangle that follows,
// the stage. A compressed movie's rectangle lies in its compressed part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "swf/byte_writer.h"

namespace pagoro::swf {

// The signature, version and file length.
inline constexpr std::size_t kHeaderPrefix = 8;

enum class Compression { kNone, kZlib, kLzma };

// The compression the signature at the start of `file` names; nullopt when
// there is no signature or the file is shorter than kHeaderPrefix.
std::optional<Compression> MovieSignature(std::span<const std::uint8_t> file);

// The frame rectangle at the start of `bits` (five bits giving the field
// width n, then xmin, xmax, ymin and ymax, n bits each, signed) and the
// bytes it takes; nullopt when `bits` ends before it does.
struct FrameRect {
  Rect rect;
  std::size_t length = 0;
};
std::optional<FrameRect> ReadFrameRect(std::span<const std::uint8_t> bits);

// The stage size in whole pixels of the movie in `file`, plain or
// compressed (inflating no more than the rectangle needs); nullopt for no
// movie, a header cut short or damaged, or a stage that is empty or wider
// or taller than 65535 pixels.
std::optional<std::pair<int, int>> StageSize(std::span<const std::uint8_t> file);

}  // namespace pagoro::swf
