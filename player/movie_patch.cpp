#include "player/movie_patch.h"

#include <algorithm>
#include <optional>
#include <vector>

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

// A replacement of `length` bytes at `offset` of the movie's data.
struct Splice {
  std::size_t offset = 0;
  std::size_t length = 0;
  swf::Bytes bytes;
};

// The movie's uncompressed data with the splices (in order, not
// overlapping) made and the header's file length set; nullopt when the
// result would be too long for the header.
std::optional<swf::Bytes> Spliced(const swf::ParsedMovie& m, const std::vector<Splice>& splices) {
  std::size_t total = m.data.size();
  for (const Splice& s : splices) total = total - s.length + s.bytes.size();
  if (total > 0xffffffffU) return std::nullopt;
  swf::Bytes out;
  out.reserve(total);
  std::size_t at = 0;
  for (const Splice& s : splices) {
    out.insert(out.end(), m.data.begin() + static_cast<std::ptrdiff_t>(at),
               m.data.begin() + static_cast<std::ptrdiff_t>(s.offset));
    out.insert(out.end(), s.bytes.begin(), s.bytes.end());
    at = s.offset + s.length;
  }
  out.insert(out.end(), m.data.begin() + static_cast<std::ptrdiff_t>(at), m.data.end());
  for (std::size_t i = 0; i < 4; ++i) out[kLengthField + i] = static_cast<std::uint8_t>(total >> (8 * i));
  return out;
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

  std::optional<swf::Bytes> patched = Spliced(m, {{insert_at, 0, PollerTag(poll_url, interval_ms)}});
  if (!patched) return unchanged("movie too large to patch");
  result.bytes = std::move(*patched);
  result.patched = true;
  return result;
}

bool LooksLikeMovie(std::span<const std::uint8_t> head) {
  return head.size() >= 3 && (head[0] == 'F' || head[0] == 'C') && head[1] == 'W' && head[2] == 'S';
}

namespace {

constexpr std::uint16_t kDefineFontInfo2 = 62;  // DefineFontInfo with a language code

// The family standing for `name` when it is a device font alias (trailing
// NULs, which some compilers write, kept); nullopt otherwise.
std::optional<swf::Bytes> FamilyFor(std::span<const std::uint8_t> name) {
  std::size_t end = name.size();
  while (end > 0 && name[end - 1] == 0) --end;
  const std::string_view bare(reinterpret_cast<const char*>(name.data()), end);
  for (const DeviceFontAlias& a : kDeviceFontAliases) {
    if (bare != a.alias) continue;
    swf::Bytes family(a.family.begin(), a.family.end());
    family.insert(family.end(), name.size() - end, 0);
    return family;
  }
  return std::nullopt;
}

std::uint16_t U16At(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// True when a DefineFont body has no glyph that draws anything: a device
// font's glyph table, or none at all. A damaged table counts as drawing.
bool HasNoOutlines(std::span<const std::uint8_t> body) {
  if (body.size() == 2) return true;  // the font id only
  if (body.size() < 4) return false;
  const std::span<const std::uint8_t> table = body.subspan(2);
  const std::size_t first = U16At(table, 0);
  if (first == 0 || first % 2 != 0 || first > table.size()) return false;
  const std::size_t glyphs = first / 2;
  for (std::size_t i = 0; i < glyphs; ++i) {
    const std::size_t begin = U16At(table, 2 * i);
    const std::size_t end = i + 1 < glyphs ? U16At(table, 2 * (i + 1)) : table.size();
    if (begin < first || end < begin || end > table.size()) return false;
    // A shape that draws needs its bit counts and an edge record, which
    // take more than two bytes; an empty one is bit counts and its end.
    if (end - begin > 2) return false;
  }
  return true;
}

// The tag, re-encoded with `name_at` + `name_length` of its body (the name
// after its length byte at name_at - 1) replaced by `name`.
swf::Bytes WithName(const swf::ParsedMovie& m, const swf::TagRecord& t, std::size_t name_at,
                    std::size_t name_length, const swf::Bytes& name) {
  const std::span<const std::uint8_t> body = m.Body(t);
  swf::Tag tag{static_cast<TagCode>(t.code), {}};
  tag.body.assign(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(name_at - 1));
  tag.body.push_back(static_cast<std::uint8_t>(name.size()));
  tag.body.insert(tag.body.end(), name.begin(), name.end());
  tag.body.insert(tag.body.end(), body.begin() + static_cast<std::ptrdiff_t>(name_at + name_length), body.end());
  tag.force_long_header = t.body_offset - t.offset > 2;
  return tag.Encode();
}

}  // namespace

PatchResult RenameDeviceFonts(std::span<const std::uint8_t> movie) {
  PatchResult result;
  const auto unchanged = [&](std::string reason) {
    result.bytes.assign(movie.begin(), movie.end());
    result.reason = std::move(reason);
    return std::move(result);
  };
  swf::ReadResult read = swf::ReadMovie(movie);
  if (!read.movie) return unchanged("not a readable movie: " + read.error);
  const swf::ParsedMovie& m = *read.movie;
  result.swf_version = m.version;

  std::vector<std::uint16_t> outline_free_fonts;  // DefineFont ids
  std::vector<Splice> splices;
  for (const swf::TagRecord& t : m.tags) {
    const std::span<const std::uint8_t> body = m.Body(t);
    // Where the tag's name starts in its body (after its length byte).
    std::size_t name_at = 0;
    if (Is(t, TagCode::kDefineFont)) {
      if (body.size() >= 2 && HasNoOutlines(body)) outline_free_fonts.push_back(U16At(body, 0));
    } else if (Is(t, TagCode::kDefineFont2) || Is(t, TagCode::kDefineFont3)) {
      // id, flags, language, name length, name, glyph count
      if (body.size() >= 5 && body.size() >= 5 + std::size_t{body[4]} + 2 &&
          U16At(body, 5 + std::size_t{body[4]}) == 0) {
        name_at = 5;
      }
    } else if (Is(t, TagCode::kDefineFontInfo) || t.code == kDefineFontInfo2) {
      // id, name length, name: of a DefineFont defined before
      if (body.size() >= 3 && body.size() >= 3 + std::size_t{body[2]} &&
          std::find(outline_free_fonts.begin(), outline_free_fonts.end(), U16At(body, 0)) !=
              outline_free_fonts.end()) {
        name_at = 3;
      }
    }
    if (name_at == 0) continue;
    const std::size_t name_length = body[name_at - 1];
    const std::optional<swf::Bytes> family = FamilyFor(body.subspan(name_at, name_length));
    if (!family) continue;
    swf::Bytes tag = WithName(m, t, name_at, name_length, *family);
    splices.push_back({t.offset, t.body_offset + t.body_length - t.offset, std::move(tag)});
  }
  if (splices.empty()) return unchanged("no device font alias");
  std::optional<swf::Bytes> renamed = Spliced(m, splices);
  if (!renamed) return unchanged("movie too large to patch");
  result.bytes = std::move(*renamed);
  result.patched = true;
  result.renamed_fonts = static_cast<int>(splices.size());
  return result;
}

}  // namespace pagoro
