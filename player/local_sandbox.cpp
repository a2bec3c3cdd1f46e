#include "player/local_sandbox.h"

#include <algorithm>

#include "swf/movie_header.h"
#include "swf/swf_reader.h"
#include "swf/tags.h"

namespace pagoro {

namespace {

// Enough for the header (8 bytes, a frame rectangle of at most 17, rate and
// count) and a first tag's long header and flags.
constexpr std::size_t kHeadLength = 64;

}  // namespace

MovieSandbox LocalSandboxOf(std::span<const std::uint8_t> movie) {
  const swf::Bytes head = swf::MovieStart(movie, kHeadLength);
  const std::optional<swf::FrameRect> frame = swf::ReadFrameRect(
      std::span<const std::uint8_t>(head).subspan(std::min(head.size(), swf::kHeaderPrefix)));
  if (!frame) return MovieSandbox::kLocalFiles;
  std::size_t at = swf::kHeaderPrefix + frame->length + 4;  // rate and frame count
  if (head.size() < at + 2) return MovieSandbox::kLocalFiles;
  const unsigned code_and_length = head[at] | (unsigned{head[at + 1]} << 8);
  at += 2;
  if ((code_and_length & 0x3f) == 0x3f) at += 4;  // a long tag header
  const bool attributes =
      code_and_length >> 6 == static_cast<unsigned>(swf::TagCode::kFileAttributes);
  if (!attributes || head.size() <= at) return MovieSandbox::kLocalFiles;
  return (head[at] & swf::file_attributes::kUseNetwork) != 0 ? MovieSandbox::kLocalNetwork
                                                             : MovieSandbox::kLocalFiles;
}

}  // namespace pagoro
