#include "swf/movie.h"

#include <gtest/gtest.h>

#include "swf/actions.h"
#include "swf/swf_reader.h"

namespace pagoro::swf {
namespace {

std::vector<std::uint16_t> Codes(const ParsedMovie& m) {
  std::vector<std::uint16_t> codes;
  for (const auto& t : m.tags) codes.push_back(t.code);
  return codes;
}

Bytes TwoFrameMovie(int version, bool compressed) {
  MovieOptions o;
  o.version = version;
  o.compressed = compressed;
  o.width = 640;
  o.height = 480;
  o.frame_rate = 24.5;
  MovieBuilder b(o);
  b.Add(SetBackgroundColor({1, 2, 3}));
  b.Add(DoAction(ActionBuilder().Stop().Finish())).Add(ShowFrame());
  Tag big{TagCode::kDoAction, Bytes(300, 0)};  // needs the long tag header
  b.Add(big).Add(ShowFrame());
  return b.Finish();
}

TEST(Movie, HeaderAndTagsReadBackForEveryVersionAndCompression) {
  for (int version : {5, 6, 8, 10}) {
    for (bool compressed : {false, true}) {
      SCOPED_TRACE("version " + std::to_string(version) + (compressed ? " CWS" : " FWS"));
      const Bytes file = TwoFrameMovie(version, compressed);
      EXPECT_EQ(file[0], compressed ? 'C' : 'F');
      const ReadResult r = ReadMovie(file);
      ASSERT_TRUE(r.movie) << r.error;
      const ParsedMovie& m = *r.movie;
      EXPECT_EQ(m.version, version);
      EXPECT_EQ(m.compressed, compressed);
      EXPECT_EQ(m.declared_length, m.data.size());
      if (!compressed) {
        EXPECT_EQ(m.data, file);
      }
      EXPECT_EQ(m.frame_size.x_max, 640 * 20);
      EXPECT_EQ(m.frame_size.y_max, 480 * 20);
      EXPECT_EQ(m.frame_rate, 24 * 256 + 128);
      EXPECT_EQ(m.frame_count, 2);
      EXPECT_TRUE(m.has_end);
      std::vector<std::uint16_t> expected{9, 12, 1, 12, 1, 0};
      if (version >= 8) expected.insert(expected.begin(), 69);
      EXPECT_EQ(Codes(m), expected);
      // The long header was used for the 300-byte tag, and the tags fill the
      // file exactly.
      const TagRecord& big = m.tags[m.tags.size() - 3];
      EXPECT_EQ(big.body_length, 300u);
      EXPECT_EQ(big.body_offset - big.offset, 6u);
      EXPECT_EQ(m.tags.back().body_offset, m.data.size());
    }
  }
}

TEST(Movie, CompressedAndPlainHoldTheSameMovie) {
  const ReadResult plain = ReadMovie(TwoFrameMovie(6, false));
  const ReadResult packed = ReadMovie(TwoFrameMovie(6, true));
  ASSERT_TRUE(plain.movie && packed.movie);
  EXPECT_EQ(plain.movie->data, packed.movie->data);
}

TEST(Movie, OptionsOutOfRangeAreRefused) {
  MovieOptions o;
  o.version = 0;
  EXPECT_THROW(MovieBuilder{o}, std::invalid_argument);
  o = MovieOptions{};
  o.width = 0;
  EXPECT_THROW(MovieBuilder{o}, std::invalid_argument);
  o = MovieOptions{};
  o.frame_rate = 256;
  EXPECT_THROW(MovieBuilder{o}, std::invalid_argument);
}

// Every cut and many damaged copies of a good movie must give an error or
// a movie, never a read outside the input (the sanitizers watch).
TEST(MovieReader, DamagedInputIsRefusedWithoutOverrun) {
  for (bool compressed : {false, true}) {
    const Bytes file = TwoFrameMovie(8, compressed);
    for (std::size_t n = 0; n < file.size(); ++n) {
      const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
      const ReadResult r = ReadMovie(cut);
      if (!r.movie) {
        EXPECT_FALSE(r.error.empty());
      }
      if (r.movie && !compressed) {
        EXPECT_FALSE(r.movie->has_end) << n;
      }
    }
    std::uint32_t seed = 12345;
    for (int round = 0; round < 2000; ++round) {
      Bytes damaged = file;
      for (int k = 0; k < 3; ++k) {
        seed = seed * 1664525 + 1013904223;
        damaged[8 + (seed >> 8) % (damaged.size() - 8)] = static_cast<std::uint8_t>(seed >> 24);
      }
      const ReadResult r = ReadMovie(damaged);
      if (r.movie) {
        for (const TagRecord& t : r.movie->tags) {
          ASSERT_LE(t.body_offset + t.body_length, r.movie->data.size());
        }
      }
    }
  }
}

TEST(MovieReader, ForeignAndUnsupportedFilesAreNamed) {
  const Bytes png{0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a, 0, 0};
  EXPECT_NE(ReadMovie(png).error.find("not a movie"), std::string::npos);
  const Bytes lzma{'Z', 'W', 'S', 13, 0, 0, 0, 0, 0, 0};
  EXPECT_NE(ReadMovie(lzma).error.find("LZMA"), std::string::npos);
  Bytes garbage_cws{'C', 'W', 'S', 8, 100, 0, 0, 0, 1, 2, 3, 4};
  EXPECT_FALSE(ReadMovie(garbage_cws).movie);
}

}  // namespace
}  // namespace pagoro::swf
