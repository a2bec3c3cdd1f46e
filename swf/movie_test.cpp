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

// How a test movie is stored: 'F' plain, 'C' zlib, 'Z' LZMA.
constexpr char kPackings[] = {'F', 'C', 'Z'};

Bytes TwoFrameMovie(int version, char packing) {
  MovieOptions o;
  o.version = version;
  o.compressed = packing == 'C';
  o.width = 640;
  o.height = 480;
  o.frame_rate = 24.5;
  MovieBuilder b(o);
  b.Add(SetBackgroundColor({1, 2, 3}));
  b.Add(DoAction(ActionBuilder().Stop().Finish())).Add(ShowFrame());
  Tag big{TagCode::kDoAction, Bytes(300, 0)};  // needs the long tag header
  b.Add(big).Add(ShowFrame());
  return packing == 'Z' ? LzmaCompressMovie(b.Finish()) : b.Finish();
}

TEST(Movie, HeaderAndTagsReadBackForEveryVersionAndCompression) {
  for (int version : {5, 6, 8, 10}) {
    for (char packing : kPackings) {
      SCOPED_TRACE("version " + std::to_string(version) + " " + packing + "WS");
      const bool compressed = packing != 'F';
      const Bytes file = TwoFrameMovie(version, packing);
      EXPECT_EQ(file[0], packing);
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
  const ReadResult plain = ReadMovie(TwoFrameMovie(6, 'F'));
  const ReadResult zlib = ReadMovie(TwoFrameMovie(6, 'C'));
  const ReadResult lzma = ReadMovie(TwoFrameMovie(6, 'Z'));
  ASSERT_TRUE(plain.movie && zlib.movie && lzma.movie) << zlib.error << lzma.error;
  EXPECT_EQ(plain.movie->data, zlib.movie->data);
  EXPECT_EQ(plain.movie->data, lzma.movie->data);
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
  for (char packing : kPackings) {
    const bool compressed = packing != 'F';
    const Bytes file = TwoFrameMovie(8, packing);
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
  const Bytes cut_lzma{'Z', 'W', 'S', 13, 0, 0, 0, 0, 0, 0};
  EXPECT_NE(ReadMovie(cut_lzma).error.find("LZMA"), std::string::npos);
  // LZMA properties asking for a 4 GiB dictionary: refused, not allocated.
  Bytes greedy_lzma = TwoFrameMovie(8, 'Z');
  for (std::size_t i = 13; i < 17; ++i) greedy_lzma[i] = 0xff;
  EXPECT_NE(ReadMovie(greedy_lzma).error.find("MiB"), std::string::npos)
      << ReadMovie(greedy_lzma).error;
  Bytes garbage_cws{'C', 'W', 'S', 8, 100, 0, 0, 0, 1, 2, 3, 4};
  EXPECT_FALSE(ReadMovie(garbage_cws).movie);
}

}  // namespace
}  // namespace pagoro::swf
