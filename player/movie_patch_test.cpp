#include "player/movie_patch.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "swf/actions.h"
#include "swf/movie.h"
#include "swf/swf_reader.h"
#include "testing/test_movies.h"

namespace pagoro {
namespace {

using swf::Bytes;

constexpr const char* kReceiver = "pagoroSetVariable";

swf::ParsedMovie Read(const Bytes& file) {
  swf::ReadResult r = swf::ReadMovie(file);
  EXPECT_TRUE(r.movie) << r.error;
  return r.movie ? *r.movie : swf::ParsedMovie{};
}

// The movie's bytes from the first tag on, with the given tag left out.
Bytes TagsWithout(const swf::ParsedMovie& m, std::size_t index) {
  Bytes out;
  for (std::size_t i = 0; i < m.tags.size(); ++i) {
    if (i == index) continue;
    const auto& t = m.tags[i];
    out.insert(out.end(), m.data.begin() + static_cast<std::ptrdiff_t>(t.offset),
               m.data.begin() + static_cast<std::ptrdiff_t>(t.body_offset + t.body_length));
  }
  return out;
}

TEST(VariableReceiver, InsertedFirstAndMovieOtherwiseUnchanged) {
  for (int version : {5, 6, 8, 10}) {
    for (char packing : {'F', 'C', 'Z'}) {
      SCOPED_TRACE("version " + std::to_string(version) + " " + packing + "WS");
      swf::TextMovieOptions o;
      o.movie = {version, packing == 'C', 320, 240};
      o.text = "Page 1";
      const Bytes original =
          packing == 'Z' ? swf::LzmaCompressMovie(swf::TextMovie(o)) : swf::TextMovie(o);
      const PatchResult r = InsertVariableReceiver(original, kReceiver);
      ASSERT_TRUE(r.patched) << r.reason;
      EXPECT_EQ(r.swf_version, version);
      EXPECT_FALSE(r.is_avm2);
      EXPECT_TRUE(r.reason.empty());

      const swf::ParsedMovie before = Read(original);
      const swf::ParsedMovie after = Read(r.bytes);
      EXPECT_FALSE(after.compressed);
      EXPECT_EQ(after.declared_length, r.bytes.size());
      EXPECT_EQ(after.frame_count, before.frame_count);
      EXPECT_EQ(after.frame_rate, before.frame_rate);
      EXPECT_EQ(after.frame_size.x_max, before.frame_size.x_max);
      ASSERT_EQ(after.tags.size(), before.tags.size() + 1);
      const std::size_t at = version >= 8 ? 1 : 0;  // after FileAttributes
      EXPECT_EQ(after.tags[at].code, 12);
      if (version >= 8) {
        EXPECT_EQ(after.tags[0].code, 69);
      }
      EXPECT_EQ(TagsWithout(after, at), TagsWithout(before, before.tags.size()));
    }
  }
}

TEST(VariableReceiver, ActionScript3MoviesAreLeftAlone) {
  // One marked in FileAttributes, one that only carries a code tag.
  swf::MovieOptions marked;
  marked.version = 10;
  marked.file_attributes = swf::file_attributes::kActionScript3;
  swf::MovieOptions unmarked;
  unmarked.version = 9;
  unmarked.compressed = true;
  for (const auto& [options, code] :
       {std::pair{marked, swf::TagCode::kShowFrame}, std::pair{unmarked, swf::TagCode::kDoAbc}}) {
    swf::MovieBuilder b(options);
    b.Add(swf::Tag{code, {}});
    const Bytes movie = b.Finish();
    const PatchResult r = InsertVariableReceiver(movie, kReceiver);
    EXPECT_FALSE(r.patched);
    EXPECT_TRUE(r.is_avm2);
    EXPECT_EQ(r.swf_version, options.version);
    EXPECT_EQ(r.bytes, movie);
    EXPECT_FALSE(r.reason.empty());
  }
}

TEST(VariableReceiver, UnusableInputComesBackUnchangedWithAReason) {
  swf::MovieOptions v4;
  v4.version = 4;
  const Bytes old_movie = swf::MovieBuilder(v4).Add(swf::ShowFrame()).Finish();
  const Bytes good = swf::FsCommandMovie({8, false, 320, 240}, {{"a", "b"}});
  const Bytes cut(good.begin(), good.end() - 2);  // no End tag
  struct Case {
    Bytes movie;
    std::string name;
    int version;
  };
  const std::vector<Case> cases{
      {{}, kReceiver, 0},
      {Bytes{'F', 'W', 'S'}, kReceiver, 0},
      {Bytes(100, 0x41), kReceiver, 0},
      {old_movie, kReceiver, 4},
      {cut, kReceiver, 8},
      {good, "", 0},
      {good, "set-variable", 0},
      {good, "9lives", 0},
      {good, "über", 0},
  };
  for (const Case& c : cases) {
    const PatchResult r = InsertVariableReceiver(c.movie, c.name);
    EXPECT_FALSE(r.patched) << c.name;
    EXPECT_EQ(r.bytes, c.movie);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(r.swf_version, c.version) << r.reason;
  }
}

// --- Device font aliases ---------------------------------------------------

constexpr auto kDefineFontInfo2 = static_cast<swf::TagCode>(62);

// A font tag's body: id, then `rest_before_name`, the name with its length
// byte, then `rest_after_name`.
swf::Tag FontTag(swf::TagCode code, std::uint16_t id, const Bytes& before_name,
                 std::string_view name, const Bytes& after_name) {
  swf::Tag t{code, {}};
  // Room first: GCC 12 warns (-Warray-bounds, a false alarm) when a short
  // vector grows by insert at -O2 and above.
  t.body.reserve(2 + before_name.size() + 1 + name.size() + after_name.size());
  t.body.push_back(static_cast<std::uint8_t>(id));
  t.body.push_back(static_cast<std::uint8_t>(id >> 8));
  t.body.insert(t.body.end(), before_name.begin(), before_name.end());
  t.body.push_back(static_cast<std::uint8_t>(name.size()));
  t.body.insert(t.body.end(), name.begin(), name.end());
  t.body.insert(t.body.end(), after_name.begin(), after_name.end());
  return t;
}

// A DefineFont2 with one glyph (a short line), named `name`.
swf::Tag FontWithGlyph(std::uint16_t id, std::string_view name) {
  // glyph count 1, offset table, code table offset, shape, code 'A'
  return FontTag(swf::TagCode::kDefineFont2, id, {0, 0}, name,
                 {1, 0, 4, 0, 10, 0, 0x10, 0xd5, 0x80, 0x54, 0x00, 0x00, 'A'});
}

// A DefineFont whose glyphs are empty shapes (two of them), or draw
// (`outlines`).
swf::Tag FontV1(std::uint16_t id, bool outlines) {
  Bytes body{static_cast<std::uint8_t>(id), 0, 4, 0, 6, 0, 0x10, 0x00};
  if (outlines)
    body.insert(body.end(), {0x10, 0xd5, 0x80, 0x54, 0x00, 0x00});
  else
    body.insert(body.end(), {0x10, 0x00});
  return swf::Tag{swf::TagCode::kDefineFont, body};
}

// The names of the movie's font tags, in order.
std::vector<std::string> FontNames(const Bytes& file) {
  const swf::ParsedMovie m = Read(file);
  std::vector<std::string> names;
  for (const swf::TagRecord& t : m.tags) {
    const auto body = m.Body(t);
    std::size_t at = 0;
    if (t.code == 48 || t.code == 75) at = 5;
    if (t.code == 13 || t.code == 62) at = 3;
    if (at == 0 || body.size() < at) continue;
    names.emplace_back(reinterpret_cast<const char*>(body.data()) + at, body[at - 1]);
  }
  return names;
}

swf::EditText Field(std::uint16_t id, std::uint16_t font_id, std::string text) {
  swf::EditText field;
  field.id = id;
  field.bounds = {0, 2000, 0, 400};
  field.font_id = font_id;
  field.initial_text = std::move(text);
  return field;
}

TEST(DeviceFonts, AliasesGetTheSystemFamiliesInEveryKindOfMovie) {
  for (int version : {5, 6, 8, 10}) {
    for (bool compressed : {false, true}) {
      SCOPED_TRACE("version " + std::to_string(version) + (compressed ? " CWS" : " FWS"));
      swf::MovieBuilder b({.version = version, .compressed = compressed});
      b.Add(swf::DeviceFont(1, "_sans"))
          .Add(swf::DeviceFont(2, "_serif", true, false))
          .Add(swf::DeviceFont(3, "_typewriter", false, true))
          .Add(swf::DefineEditText(Field(4, 1, "中文 text")))
          .Add(swf::ShowFrame());
      const Bytes original = b.Finish();
      const PatchResult r = RenameDeviceFonts(original);
      ASSERT_TRUE(r.patched) << r.reason;
      EXPECT_EQ(r.renamed_fonts, 3);
      EXPECT_EQ(r.swf_version, version);
      const swf::ParsedMovie before = Read(original);
      const swf::ParsedMovie after = Read(r.bytes);
      EXPECT_FALSE(after.compressed);
      EXPECT_EQ(after.declared_length, r.bytes.size());
      EXPECT_EQ(after.frame_count, before.frame_count);
      EXPECT_EQ(FontNames(r.bytes), (std::vector<std::string>{"sans", "serif", "monospace"}));
      ASSERT_EQ(after.tags.size(), before.tags.size());
      for (std::size_t i = 0; i < after.tags.size(); ++i) {
        const auto a = after.Body(after.tags[i]);
        const auto o = before.Body(before.tags[i]);
        EXPECT_EQ(after.tags[i].code, before.tags[i].code);
        if (after.tags[i].code != 48) {
          EXPECT_TRUE(std::equal(a.begin(), a.end(), o.begin(), o.end())) << "tag " << i;
        } else {
          // Only the name changed: id, style flags and the empty tables stay.
          EXPECT_TRUE(std::equal(a.begin(), a.begin() + 4, o.begin()));
          EXPECT_TRUE(std::equal(a.end() - 4, a.end(), o.end() - 4));
        }
      }
      // The receiver goes in after the rename as before.
      const PatchResult both = InsertVariableReceiver(r.bytes, kReceiver);
      ASSERT_TRUE(both.patched) << both.reason;
      EXPECT_EQ(FontNames(both.bytes), FontNames(r.bytes));
    }
  }
}

TEST(DeviceFonts, OnlyNamesThatChooseADeviceFontChange) {
  struct Case {
    const char* what;
    std::vector<swf::Tag> tags;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases{
      {"glyphs drawn by outline", {FontWithGlyph(1, "_sans")}, {"_sans"}},
      {"named system font",
       {swf::DeviceFont(1, "宋体"), swf::DeviceFont(2, "Arial")},
       {"宋体", "Arial"}},
      {"near misses",
       {swf::DeviceFont(1, "_sansx"), swf::DeviceFont(2, "sans"), swf::DeviceFont(3, "")},
       {"_sansx", "sans", ""}},
      {"terminating zero kept",
       {FontTag(swf::TagCode::kDefineFont2, 1, {0x04, 0}, std::string_view("_serif\0", 7),
                {0, 0, 2, 0})},
       {std::string("serif\0", 6)}},
      {"glyph-less DefineFont3",
       {FontTag(swf::TagCode::kDefineFont3, 1, {0x84, 1}, "_typewriter", {0, 0, 2, 0})},
       {"monospace"}},
      {"font information of a device DefineFont",
       {FontV1(1, false), FontTag(swf::TagCode::kDefineFontInfo, 1, {}, "_sans", {0x00, 'a', 'b'}),
        FontV1(2, false), FontTag(kDefineFontInfo2, 2, {}, "_serif", {0x00, 1, 'a', 0, 'b', 0})},
       {"sans", "serif"}},
      {"font information of an outline DefineFont or of none",
       {FontV1(1, true), FontTag(swf::TagCode::kDefineFontInfo, 1, {}, "_sans", {0x00, 'a', 'b'}),
        FontTag(swf::TagCode::kDefineFontInfo, 7, {}, "_sans", {0x00, 'a'})},
       {"_sans", "_sans"}},
      {"font information before its font",
       {FontTag(swf::TagCode::kDefineFontInfo, 1, {}, "_sans", {0x00, 'a', 'b'}), FontV1(1, false)},
       {"_sans"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    swf::MovieBuilder b({.version = 6});
    b.Add(c.tags).Add(swf::ShowFrame());
    const Bytes movie = b.Finish();
    const PatchResult r = RenameDeviceFonts(movie);
    EXPECT_EQ(FontNames(r.bytes), c.names);
    const bool renamed = FontNames(movie) != c.names;
    EXPECT_EQ(r.patched, renamed);
    if (!renamed) {
      EXPECT_EQ(r.bytes, movie);
      EXPECT_FALSE(r.reason.empty());
    }
  }
}

bool Contains(const Bytes& file, std::string_view text) {
  return std::search(file.begin(), file.end(), text.begin(), text.end()) != file.end();
}

TEST(DeviceFonts, HtmlFacesOfDeviceTextFieldsChange) {
  struct Case {
    std::string text;
    bool html;
    bool outlines;
    std::vector<std::string_view> expected;  // in the result, "" for the input unchanged
  };
  const std::vector<Case> cases{
      {R"(<P ALIGN="LEFT"><FONT FACE="_sans" SIZE="12">中文</FONT></P>)",
       true,
       false,
       {R"(FACE="sans" SIZE)"}},
      {"<font face = '_serif'>a</font><font\nFace=\"_typewriter\">b</font>",
       true,
       false,
       {"face = 'serif'>a", "Face=\"monospace\">b"}},
      {R"(<FONT FACE="_sans">a</FONT>)", false, false, {}},
      {R"(<FONT FACE="_sans">a</FONT>)", true, true, {}},
      {R"(<FONT FACE="Arial">a</FONT><FONT TYPEFACE="_sans">b</FONT><FONT FACE="_sans)",
       true,
       false,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    swf::EditText field = Field(2, 1, c.text);
    field.html = c.html;
    field.variable = "page";
    swf::Tag tag = swf::DefineEditText(field);
    const std::size_t flags2_at = 2 + (5 + 4 * (tag.body[2] >> 3) + 7) / 8 + 1;
    if (c.outlines) tag.body[flags2_at] |= 0x01;
    swf::MovieBuilder b({.version = 6});
    b.Add(swf::DeviceFont(1, "Arial")).Add(tag).Add(swf::ShowFrame());
    const Bytes movie = b.Finish();
    const PatchResult r = RenameDeviceFonts(movie);
    EXPECT_EQ(r.patched, !c.expected.empty());
    if (c.expected.empty()) {
      EXPECT_EQ(r.bytes, movie);
    } else {
      EXPECT_FALSE(Contains(r.bytes, "\"_sans\""));
    }
    for (std::string_view e : c.expected) EXPECT_TRUE(Contains(r.bytes, e)) << e;
    EXPECT_TRUE(Contains(r.bytes, "page"));  // the variable name stays
  }
}

TEST(DeviceFonts, ShorterTagsKeepTheirHeaderKindAndTheFileItsLength) {
  // A body that needs the long header before and fits a short one after:
  // the rename keeps the long one, as it keeps everything but the name.
  swf::Tag font = FontTag(swf::TagCode::kDefineFont2, 1, {0, 0}, "_typewriter", Bytes(49, 0));
  font.body[font.body.size() - 49] = 0;  // no glyphs
  ASSERT_EQ(font.body.size(), 65u);
  swf::Tag short_font = swf::DeviceFont(2, "_sans");
  short_font.force_long_header = true;
  swf::MovieBuilder b({.version = 8});
  b.Add(font).Add(short_font).Add(swf::ShowFrame());
  const PatchResult r = RenameDeviceFonts(b.Finish());
  ASSERT_TRUE(r.patched) << r.reason;
  const swf::ParsedMovie m = Read(r.bytes);
  EXPECT_EQ(m.declared_length, r.bytes.size());
  ASSERT_GE(m.tags.size(), 3u);
  EXPECT_EQ(m.tags[1].body_length, 63u);
  EXPECT_EQ(m.tags[1].body_offset - m.tags[1].offset, 6u);
  EXPECT_EQ(m.tags[2].body_offset - m.tags[2].offset, 6u);
  EXPECT_EQ(FontNames(r.bytes), (std::vector<std::string>{"monospace", "sans"}));
}

// Cut and damaged copies of `good`: the patcher must never read outside its
// input (the sanitizers watch), and whatever it patches must read back whole
// with its length. Returns how many cut copies were patched.
int ExpectSurvivesCutsAndDamage(const Bytes& good,
                                const std::function<PatchResult(const Bytes&)>& patch) {
  int patched_cuts = 0;
  const auto check = [](const Bytes& input, const PatchResult& r) {
    if (r.patched) {
      const swf::ReadResult back = swf::ReadMovie(r.bytes);
      EXPECT_TRUE(back.movie) << back.error;
      if (back.movie) {
        EXPECT_EQ(back.movie->declared_length, r.bytes.size());
      }
    } else {
      EXPECT_EQ(r.bytes, input);
      EXPECT_FALSE(r.reason.empty());
    }
  };
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    const PatchResult r = patch(cut);
    check(cut, r);
    if (r.patched) ++patched_cuts;
  }
  std::uint32_t seed = 99;
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = good;
    const int changes = 1 + round % 4;
    for (int k = 0; k < changes; ++k) {
      seed = seed * 1664525 + 1013904223;
      damaged[(seed >> 8) % damaged.size()] = static_cast<std::uint8_t>(seed >> 24);
    }
    check(damaged, patch(damaged));
  }
  return patched_cuts;
}

TEST(VariableReceiver, SurvivesCutAndDamagedMovies) {
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "CWS" : "FWS");
    const int patched_cuts = ExpectSurvivesCutsAndDamage(
        swf::EchoMovie({8, compressed, 320, 240}, {"a", "b"}),
        [](const Bytes& movie) { return InsertVariableReceiver(movie, kReceiver); });
    // Without End a movie gets no receiver; only a compressed movie can lose
    // bytes and keep its tags whole: those of the zlib trailer.
    if (!compressed) {
      EXPECT_EQ(patched_cuts, 0);
    }
  }
}

TEST(DeviceFonts, SurvivesCutAndDamagedMovies) {
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "CWS" : "FWS");
    swf::MovieBuilder b({.version = 6, .compressed = compressed});
    b.Add(swf::DeviceFont(1, "_sans"))
        .Add(FontTag(swf::TagCode::kDefineFont3, 2, {0x84, 1}, "_typewriter", {0, 0, 2, 0}))
        .Add(FontWithGlyph(3, "_serif"))
        .Add(FontV1(4, false))
        .Add(FontTag(kDefineFontInfo2, 4, {}, "_serif", {0x00, 1, 'a', 0, 'b', 0}))
        .Add(swf::DefineEditText([] {
          swf::EditText field = Field(5, 1, R"(<FONT FACE="_sans">中文</FONT>)");
          field.html = true;
          return field;
        }()))
        .Add(swf::ShowFrame());
    // A movie cut at a tag boundary still gets its fonts renamed.
    EXPECT_GT(ExpectSurvivesCutsAndDamage(b.Finish(), RenameDeviceFonts), 0);
  }
}

// A "CWS" movie of a valid header whose zlib stream inflates to `size`
// bytes of zeros (made a MiB at a time: 1.5 MiB of stream for 1.5 GiB).
Bytes InflatingMovie(std::size_t size) {
  Bytes out = {'C', 'W', 'S', 8, 0xff, 0xff, 0xff, 0xff};
  z_stream z{};
  EXPECT_EQ(deflateInit(&z, Z_BEST_COMPRESSION), Z_OK);
  const std::vector<std::uint8_t> zeros(1u << 20, 0);
  std::vector<std::uint8_t> chunk(1u << 16);
  for (std::size_t left = size; left > 0 || z.avail_in > 0;) {
    if (z.avail_in == 0) {
      const std::size_t part = std::min(left, zeros.size());
      z.next_in = const_cast<Bytef*>(zeros.data());
      z.avail_in = static_cast<uInt>(part);
      left -= part;
    }
    int rc = Z_OK;
    do {
      z.next_out = chunk.data();
      z.avail_out = static_cast<uInt>(chunk.size());
      rc = deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
      out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
    } while (z.avail_out == 0 && rc != Z_STREAM_END);
  }
  deflateEnd(&z);
  return out;
}

// A movie no player could show is marked so, for the control to refuse it
// with a message instead of handing it on: one that inflates past the
// bound, one that is only a header. A movie merely damaged after its
// header is not.
TEST(MoviePatch, MoviesTooLargeOrWithoutTagsAreUnplayable) {
  const Bytes huge = InflatingMovie(swf::kMaxMovieSize + (1u << 20));
  for (const PatchResult& r : {RenameDeviceFonts(huge), InsertVariableReceiver(huge, kReceiver)}) {
    EXPECT_TRUE(r.unplayable);
    EXPECT_NE(r.reason.find("larger than 268435456 bytes"), std::string::npos) << r.reason;
  }
  const Bytes header_only = {'F', 'W', 'S', 8, 8, 0, 0, 0};
  EXPECT_TRUE(RenameDeviceFonts(header_only).unplayable);
  Bytes damaged = swf::EchoMovie({8, false, 320, 240}, {"a"});
  damaged.resize(damaged.size() - 3);
  EXPECT_FALSE(RenameDeviceFonts(damaged).unplayable);
  EXPECT_FALSE(RenameDeviceFonts(swf::EchoMovie({8, true, 320, 240}, {"a"})).unplayable);
}

}  // namespace
}  // namespace pagoro
