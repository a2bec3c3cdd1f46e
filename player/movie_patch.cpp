#include "player/movie_patch.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "swf/actions.h"
#include "swf/swf_reader.h"
#include "swf/tags.h"

namespace pagoro {

namespace {

using swf::TagCode;

constexpr int kFirstVersionWithFunctions = 5;
constexpr std::size_t kLengthField = 4;  // offset of the header's file length

bool Is(const swf::TagRecord& t, TagCode code) {
  return t.code == static_cast<std::uint16_t>(code);
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
  for (std::size_t i = 0; i < 4; ++i)
    out[kLengthField + i] = static_cast<std::uint8_t>(total >> (8 * i));
  return out;
}

constexpr int kFirstVersionWithFlashPackage = 8;
// The property flag that hides the "flash" package from movies older than
// version 8, and all the flags that hide a property by version.
constexpr int kHiddenBeforeVersion8 = 0x1000;
constexpr int kVersionFlags = 0x7f80;

// Pushes the global object: (function () { return this; }).call(undefined).
// Movies before version 6 have no _global, and the global object is what a
// function sees as `this` when called for no object, in every version.
void PushGlobalObject(swf::ActionBuilder& a) {
  swf::ActionBuilder self;
  self.Push("this").GetVariable().Return();
  a.PushUndefined().DefineFunction("", {}, self).CallMethod("call", 1);
}

// Pushes the global object's flash.external.ExternalInterface.
void PushExternalInterface(swf::ActionBuilder& a) {
  PushGlobalObject(a);
  a.Push("flash").GetMember().Push("external").GetMember().Push("ExternalInterface").GetMember();
}

// ASSetPropFlags(object, property, set, clear), the global object's own
// function called on it, its result dropped.
void SetPropertyFlags(swf::ActionBuilder& a, void (*push_object)(swf::ActionBuilder&),
                      std::string_view property, int set, int clear) {
  a.Push(clear).Push(set).Push(property);
  push_object(a);
  a.Push(4);
  PushGlobalObject(a);
  a.Push("ASSetPropFlags").CallMethod().Pop();
}

// ExternalInterface.addCallback(name, null,
//     function (n, v) { _level0[n] = v; return true; })
// on the global object's own package, its result dropped. Before version 8
// the package is hidden from the movie: it is shown for the call and hidden
// again by the one flag that hid it. Its addCallback, hidden from such
// movies by flags of its own, stays shown, inside the hidden package.
swf::Bytes ReceiverTag(std::string_view callback_name, int version) {
  swf::ActionBuilder receive;
  receive.Push("_level0").GetVariable().Push("n").GetVariable().Push("v").GetVariable().SetMember();
  receive.PushBool(true).Return();
  swf::ActionBuilder a;
  const bool hidden = version < kFirstVersionWithFlashPackage;
  if (hidden) {
    SetPropertyFlags(a, PushGlobalObject, "flash", 0, kHiddenBeforeVersion8);
    SetPropertyFlags(a, PushExternalInterface, "addCallback", 0, kVersionFlags);
  }
  a.DefineFunction("", {"n", "v"}, receive).PushNull().Push(callback_name);
  PushExternalInterface(a);
  a.CallMethod("addCallback", 3).Pop();
  if (hidden) SetPropertyFlags(a, PushGlobalObject, "flash", kHiddenBeforeVersion8, 0);
  return swf::DoAction(a.Finish()).Encode();
}

// A name the page can call and every movie version can carry: ASCII
// letters, digits and underscores, not starting with a digit.
bool UsableCallbackName(std::string_view name) {
  return !name.empty() && !(name[0] >= '0' && name[0] <= '9') &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_';
         });
}

}  // namespace

namespace {

// Inserts the action tag `tag` makes for the movie's version as the movie's
// first action; ActionScript 3, older, damaged or cut movies come back
// unchanged with a reason.
PatchResult InsertFirstAction(std::span<const std::uint8_t> movie,
                              const std::function<swf::Bytes(int version)>& tag) {
  PatchResult result;
  const auto unchanged = [&](std::string reason) {
    result.bytes.assign(movie.begin(), movie.end());
    result.reason = std::move(reason);
    return std::move(result);
  };
  swf::ReadResult read = swf::ReadMovie(movie);
  result.unplayable = read.unplayable;
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

  std::optional<swf::Bytes> patched = Spliced(m, {{insert_at, 0, tag(m.version)}});
  if (!patched) return unchanged("movie too large to patch");
  result.bytes = std::move(*patched);
  result.patched = true;
  return result;
}

// Pushes the global object's System.capabilities.
void PushCapabilities(swf::ActionBuilder& a) {
  PushGlobalObject(a);
  a.Push("System").GetMember().Push("capabilities").GetMember();
}

constexpr int kReadOnly = 4;  // the property flag that ignores assignments

// For each of the two properties: delete System.capabilities[name];
// System.capabilities[name] = value; made read-only, as the getter it
// replaces ignored assignments.
swf::Bytes ScreenSizeTag(int width, int height) {
  swf::ActionBuilder a;
  for (const auto& [name, value] :
       {std::pair{"screenResolutionX", width}, std::pair{"screenResolutionY", height}}) {
    PushCapabilities(a);
    a.Push(name).Do(swf::Op::kDelete).Pop();
    PushCapabilities(a);
    a.Push(name).Push(value).SetMember();
    SetPropertyFlags(a, PushCapabilities, name, kReadOnly, 0);
  }
  return swf::DoAction(a.Finish()).Encode();
}

}  // namespace

PatchResult InsertVariableReceiver(std::span<const std::uint8_t> movie,
                                   std::string_view callback_name) {
  if (!UsableCallbackName(callback_name)) {
    PatchResult result;
    result.bytes.assign(movie.begin(), movie.end());
    result.reason = "callback name is empty or not an identifier";
    return result;
  }
  return InsertFirstAction(movie, [&](int version) { return ReceiverTag(callback_name, version); });
}

PatchResult InsertScreenSize(std::span<const std::uint8_t> movie, int width, int height) {
  return InsertFirstAction(movie, [&](int) { return ScreenSizeTag(width, height); });
}

bool LooksLikeMovie(std::span<const std::uint8_t> head) {
  return head.size() >= 3 && (head[0] == 'F' || head[0] == 'C' || head[0] == 'Z') &&
         head[1] == 'W' && head[2] == 'S';
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

// The tag, re-encoded with `length` bytes of its body from `from` replaced
// by `bytes`; its header stays long if it was.
swf::Bytes Replaced(const swf::ParsedMovie& m, const swf::TagRecord& t, std::size_t from,
                    std::size_t length, const swf::Bytes& bytes) {
  const std::span<const std::uint8_t> body = m.Body(t);
  swf::Tag tag{static_cast<TagCode>(t.code), {}};
  tag.body.assign(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(from));
  tag.body.insert(tag.body.end(), bytes.begin(), bytes.end());
  tag.body.insert(tag.body.end(), body.begin() + static_cast<std::ptrdiff_t>(from + length),
                  body.end());
  tag.force_long_header = t.body_offset - t.offset > 2;
  return tag.Encode();
}

// The font tag with its name (its length byte at `length_at`) changed to
// the alias's family; nullopt when the name is no alias.
std::optional<swf::Bytes> FontWithFamily(const swf::ParsedMovie& m, const swf::TagRecord& t,
                                         std::size_t length_at) {
  const std::span<const std::uint8_t> body = m.Body(t);
  const std::size_t length = body[length_at];
  std::optional<swf::Bytes> name = FamilyFor(body.subspan(length_at + 1, length));
  if (!name) return std::nullopt;
  name->insert(name->begin(), static_cast<std::uint8_t>(name->size()));
  return Replaced(m, t, length_at, 1 + length, *name);
}

bool IsSpace(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// `html` with every face attribute that names an alias changed to the
// alias's family; nullopt when there is none. An attribute counts only after
// white space, which no byte of a multi-byte character is.
std::optional<swf::Bytes> HtmlWithFamilies(std::span<const std::uint8_t> html) {
  swf::Bytes out;
  std::size_t copied = 0;
  for (std::size_t i = 1; i + 4 < html.size(); ++i) {
    if (!IsSpace(html[i - 1])) continue;
    static constexpr std::string_view kFace = "face";
    if (!std::equal(kFace.begin(), kFace.end(), html.begin() + static_cast<std::ptrdiff_t>(i),
                    [](char a, std::uint8_t b) { return a == (b | 0x20); })) {
      continue;
    }
    std::size_t at = i + kFace.size();
    while (at < html.size() && IsSpace(html[at])) ++at;
    if (at >= html.size() || html[at] != '=') continue;
    ++at;
    while (at < html.size() && IsSpace(html[at])) ++at;
    if (at >= html.size() || (html[at] != '"' && html[at] != '\'')) continue;
    const std::uint8_t quote = html[at];
    const std::size_t value_at = at + 1;
    const auto close =
        std::find(html.begin() + static_cast<std::ptrdiff_t>(value_at), html.end(), quote);
    if (close == html.end()) break;
    const auto value_end = static_cast<std::size_t>(close - html.begin());
    const std::optional<swf::Bytes> family =
        FamilyFor(html.subspan(value_at, value_end - value_at));
    if (family) {
      out.insert(out.end(), html.begin() + static_cast<std::ptrdiff_t>(copied),
                 html.begin() + static_cast<std::ptrdiff_t>(value_at));
      out.insert(out.end(), family->begin(), family->end());
      copied = value_end;
    }
    i = value_end;
  }
  if (copied == 0) return std::nullopt;
  out.insert(out.end(), html.begin() + static_cast<std::ptrdiff_t>(copied), html.end());
  return out;
}

// The DefineEditText with the faces of its HTML text changed to the
// families; nullopt when it has none, draws with outlines (the faces then
// name embedded fonts), or is damaged.
std::optional<swf::Bytes> EditTextWithFamilies(const swf::ParsedMovie& m, const swf::TagRecord& t) {
  const std::span<const std::uint8_t> body = m.Body(t);
  if (body.size() < 3) return std::nullopt;
  std::size_t at = 2 + (5 + 4 * (std::size_t{body[2]} >> 3) + 7) / 8;  // id, bounds
  if (body.size() < at + 2) return std::nullopt;
  const std::uint8_t flags1 = body[at];
  const std::uint8_t flags2 = body[at + 1];
  at += 2;
  constexpr std::uint8_t kHasText = 0x80, kHasColor = 0x04, kHasMaxLength = 0x02, kHasFont = 0x01;
  constexpr std::uint8_t kHasFontClass = 0x80, kHasLayout = 0x20, kHtml = 0x02, kUseOutlines = 0x01;
  if (!(flags1 & kHasText) || !(flags2 & kHtml) || (flags2 & kUseOutlines)) return std::nullopt;
  // Skips a string with its terminating zero; false when it has none.
  const auto skip_string = [&] {
    const auto end = std::find(
        body.begin() + static_cast<std::ptrdiff_t>(std::min(at, body.size())), body.end(), 0);
    if (end == body.end()) return false;
    at = static_cast<std::size_t>(end - body.begin()) + 1;
    return true;
  };
  if (flags1 & kHasFont) at += 2;
  if ((flags2 & kHasFontClass) && !skip_string()) return std::nullopt;
  if (flags1 & kHasFont || flags2 & kHasFontClass) at += 2;  // height
  if (flags1 & kHasColor) at += 4;
  if (flags1 & kHasMaxLength) at += 2;
  if (flags2 & kHasLayout) at += 9;
  if (!skip_string()) return std::nullopt;  // variable name
  const std::size_t text_at = at;
  if (!skip_string()) return std::nullopt;
  const std::size_t text_length = at - 1 - text_at;
  const std::optional<swf::Bytes> html = HtmlWithFamilies(body.subspan(text_at, text_length));
  if (!html) return std::nullopt;
  return Replaced(m, t, text_at, text_length, *html);
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
  result.unplayable = read.unplayable;
  if (!read.movie) return unchanged("not a readable movie: " + read.error);
  const swf::ParsedMovie& m = *read.movie;
  result.swf_version = m.version;

  std::vector<std::uint16_t> outline_free_fonts;  // DefineFont ids
  std::vector<Splice> splices;
  for (const swf::TagRecord& t : m.tags) {
    const std::span<const std::uint8_t> body = m.Body(t);
    std::optional<swf::Bytes> renamed;
    if (Is(t, TagCode::kDefineFont)) {
      if (body.size() >= 2 && HasNoOutlines(body)) outline_free_fonts.push_back(U16At(body, 0));
    } else if (Is(t, TagCode::kDefineFont2) || Is(t, TagCode::kDefineFont3)) {
      // id, flags, language, name length, name, glyph count
      if (body.size() >= 5 && body.size() >= 5 + std::size_t{body[4]} + 2 &&
          U16At(body, 5 + std::size_t{body[4]}) == 0) {
        renamed = FontWithFamily(m, t, 4);
      }
    } else if (Is(t, TagCode::kDefineFontInfo) || t.code == kDefineFontInfo2) {
      // id, name length, name: of a DefineFont defined before
      if (body.size() >= 3 && body.size() >= 3 + std::size_t{body[2]} &&
          std::find(outline_free_fonts.begin(), outline_free_fonts.end(), U16At(body, 0)) !=
              outline_free_fonts.end()) {
        renamed = FontWithFamily(m, t, 2);
      }
    } else if (Is(t, TagCode::kDefineEditText)) {
      renamed = EditTextWithFamilies(m, t);
    }
    if (renamed)
      splices.push_back({t.offset, t.body_offset + t.body_length - t.offset, std::move(*renamed)});
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
