#include "player/movie_patch.h"

#include <algorithm>

#include "tools/swf/actions.h"
#include "tools/swf/swf_reader.h"
#include "tools/swf/tags.h"

namespace pagoro {

namespace {

using swf::TagCode;

constexpr int kFirstVersionWithFunctions = 5;
constexpr std::size_t kLengthField = 4;  // offset of the header's file length

bool Is(const swf::TagRecord& t, TagCode code) {
  return t.code == static_cast<std::uint16_t>(code);
}

// A url the movie can carry in any version: printable ASCII.
bool UsableUrl(std::string_view url) {
  return !url.empty() && std::all_of(url.begin(), url.end(), [](char c) {
    return c > 0x20 && c < 0x7f;
  });
}

// setInterval(function () { loadVariablesNum(url, 0) }, interval), its
// result dropped.
swf::Bytes PollerTag(std::string_view url, int interval_ms) {
  swf::ActionBuilder poll;
  poll.Push(url).LoadVariablesNum(0);
  swf::ActionBuilder a;
  a.Push(interval_ms).DefineFunction("", {}, poll).CallFunction("setInterval", 2).Pop();
  return swf::DoAction(a.Finish()).Encode();
}

}  // namespace

PatchResult InsertVariablePoller(std::span<const std::uint8_t> movie, std::string_view poll_url,
                                 int interval_ms) {
  PatchResult result;
  const auto unchanged = [&](std::string reason) {
    result.bytes.assign(movie.begin(), movie.end());
    result.reason = std::move(reason);
    return std::move(result);
  };
  if (!UsableUrl(poll_url)) return unchanged("poll url is empty or not printable ASCII");
  if (interval_ms <= 0) return unchanged("poll interval must be positive");

  swf::ReadResult read = swf::ReadMovie(movie);
  if (!read.movie) return unchanged("not a readable movie: " + read.error);
  const swf::ParsedMovie& m = *read.movie;
  result.swf_version = m.version;

  // ActionScript 3 announces itself in FileAttributes or shows by its code
  // tags; either way the movie runs no action blocks.
  for (const swf::TagRecord& t : m.tags) {
    const bool as3_attributes = Is(t, TagCode::kFileAttributes) && t.body_length >= 1 &&
                                (m.data[t.body_offset] & swf::file_attributes::kActionScript3);
    if (as3_attributes || Is(t, TagCode::kDoAbc) || Is(t, TagCode::kDoAbcOld)) {
      result.is_avm2 = true;
      return unchanged("ActionScript 3 movie");
    }
  }
  if (m.version < kFirstVersionWithFunctions) {
    return unchanged("movie version " + std::to_string(m.version) + " has no functions");
  }
  if (!m.has_end) return unchanged("movie is cut off (no End tag)");

  // First position: after FileAttributes when the first frame has one (it
  // must stay the first tag), else before every tag.
  std::size_t insert_at = m.first_tag_offset;
  for (const swf::TagRecord& t : m.tags) {
    if (Is(t, TagCode::kShowFrame)) break;
    if (Is(t, TagCode::kFileAttributes)) {
      insert_at = t.body_offset + t.body_length;
      break;
    }
  }

  const swf::Bytes poller = PollerTag(poll_url, interval_ms);
  const std::size_t total = m.data.size() + poller.size();
  if (total > 0xffffffffU) return unchanged("movie too large to patch");
  result.bytes.reserve(total);
  result.bytes.assign(m.data.begin(), m.data.begin() + static_cast<std::ptrdiff_t>(insert_at));
  result.bytes.insert(result.bytes.end(), poller.begin(), poller.end());
  result.bytes.insert(result.bytes.end(), m.data.begin() + static_cast<std::ptrdiff_t>(insert_at),
                      m.data.end());
  for (std::size_t i = 0; i < 4; ++i) {
    result.bytes[kLengthField + i] = static_cast<std::uint8_t>(total >> (8 * i));
  }
  result.patched = true;
  return result;
}

}  // namespace pagoro
