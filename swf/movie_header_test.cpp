#include "swf/movie_header.h"

#include <gtest/gtest.h>

#include "swf/movie.h"

namespace pagoro::swf {
namespace {

Bytes Plain(int width, int height) {
  MovieBuilder movie({.version = 10, .width = width, .height = height});
  movie.Add(ShowFrame());
  return movie.Finish();
}

TEST(MovieHeader, SignatureNamesTheCompression) {
  const auto signature = [](const std::string& text) {
    return MovieSignature(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  };
  EXPECT_EQ(signature(std::string("FWS\x0a\0\0\0\0", 8)), Compression::kNone);
  EXPECT_EQ(signature(std::string("CWS\x0a\0\0\0\0", 8)), Compression::kZlib);
  EXPECT_EQ(signature(std::string("ZWS\x0a\0\0\0\0", 8)), Compression::kLzma);
  // Case counts, and the eight header bytes must all be there.
  EXPECT_EQ(signature(std::string("fws\x0a\0\0\0\0", 8)), std::nullopt);
  EXPECT_EQ(signature(std::string("FWX\x0a\0\0\0\0", 8)), std::nullopt);
  EXPECT_EQ(signature(std::string("FWS\x0a\0\0\0", 7)), std::nullopt);
  EXPECT_EQ(signature(""), std::nullopt);
}

TEST(MovieHeader, EveryCompressionGivesItsOwnStageSize) {
  for (const auto& [width, height] :
       {std::pair{640, 480}, std::pair{333, 1}, std::pair{2880, 1800}}) {
    const Bytes plain = Plain(width, height);
    for (const Bytes& file : {plain, CompressMovie(plain), LzmaCompressMovie(plain)}) {
      SCOPED_TRACE(std::string(1, static_cast<char>(file[0])) + "WS " + std::to_string(width));
      EXPECT_EQ(StageSize(file), std::pair(width, height));
    }
  }
}

TEST(MovieHeader, AStageIsReadFromTheStartOfACompressedMovieAlone) {
  // A long movie cut off far after the rectangle: the rest is never needed.
  MovieBuilder long_movie({.width = 1024, .height = 768});
  Bytes noise(200000);
  std::uint32_t state = 1;
  for (std::uint8_t& byte : noise)
    byte = static_cast<std::uint8_t>((state = state * 1103515245 + 12345) >> 24);
  long_movie.Add(Tag{TagCode::kDoAction, noise}).Add(ShowFrame());
  for (Bytes file : {CompressMovie(long_movie.Finish()), LzmaCompressMovie(long_movie.Finish())}) {
    file.resize(file.size() / 2);
    EXPECT_EQ(StageSize(file), std::pair(1024, 768)) << file[0];
  }
}

TEST(MovieHeader, NoStageFromWhatIsNotAWholeRectangle) {
  const Bytes plain = Plain(640, 480);
  Bytes cut(plain.begin(), plain.begin() + 10);  // the rectangle is 9 bytes
  EXPECT_EQ(StageSize(cut), std::nullopt);
  Bytes garbage = CompressMovie(plain);
  std::fill(garbage.begin() + 8, garbage.end(), 0x55);
  EXPECT_EQ(StageSize(garbage), std::nullopt);
  Bytes empty = plain;
  empty[8] = 0;  // a rectangle of zero-bit fields
  EXPECT_EQ(StageSize(empty), std::nullopt);
  EXPECT_EQ(StageSize(Bytes(plain.begin(), plain.begin() + 8)), std::nullopt);
}

TEST(MovieHeader, RectangleFieldsAreSigned) {
  ByteWriter out;
  WriteRect(out, Rect{-200, 1800, -4000, 20});
  Bytes bits = out.bytes();
  const std::size_t length = bits.size();
  bits.push_back(0xFF);  // what follows is not part of it
  const std::optional<FrameRect> frame = ReadFrameRect(bits);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->length, length);
  EXPECT_EQ(frame->rect.x_min, -200);
  EXPECT_EQ(frame->rect.x_max, 1800);
  EXPECT_EQ(frame->rect.y_min, -4000);
  EXPECT_EQ(frame->rect.y_max, 20);
  bits.resize(length - 1);
  EXPECT_EQ(ReadFrameRect(bits), std::nullopt);
}

}  // namespace
}  // namespace pagoro::swf
