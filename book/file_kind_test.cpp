#include "book/file_kind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "book/format.h"
#include "testing/book_builder.h"

namespace pagoro {
namespace {

using testing::BookBuilder;
using testing::WithIndex;

Bytes AsBytes(const std::string& s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

// 32 bits, little-endian, as the container's and the projector's trailers hold them.
std::string Le32(std::uint32_t v) { return format::IndexLengthBytes(v); }

const std::string kMovie = std::string("FWS\x08", 4) + Le32(20) + "0123456789ab";

std::string Projector(const std::string& program, const std::string& movie) {
  return program + movie + Le32(0xFA123456) + Le32(static_cast<std::uint32_t>(movie.size()));
}

TEST(FileKindTest, BooksAreKnownByTheirContainerWhateverTheProgramPart) {
  const std::string elfBook = BookBuilder().File("main.swf", kMovie).Build();
  EXPECT_EQ(KindOfContent(AsBytes(elfBook)), FileKind::kBook);
  // A Windows program part: the container alone decides.
  const std::string index = "buildexe\r\nversion|2.0|1|640|480|\r\n";
  EXPECT_EQ(KindOfContent(AsBytes(WithIndex(std::string("MZ\x90\0 windows program", 20), index))),
            FileKind::kBook);
  // Any header the reader opens without an index error counts, 1.0 too.
  EXPECT_EQ(KindOfContent(AsBytes(WithIndex("MZ", "x\nversion|1.0||$20| 30|"))), FileKind::kBook);
}

TEST(FileKindTest, AContainerThatWouldNotOpenIsNoBook) {
  const std::string program = "MZ windows program without a book";
  for (const std::string& file : {
           program + Le32(0),                                               // empty index
           program + Le32(static_cast<std::uint32_t>(program.size()) + 1),  // one byte too long
           program + Le32(0x80000010),                                      // negative length
           WithIndex(program, "buildexe\r\nversion|2.0|1|640|"),            // no height
           WithIndex(program, "buildexe\r\nversion|2.0|1|640|48 0|"),
           WithIndex(program, "version|2.0|1|640|480|"),  // one line only
           std::string("abc"),
           std::string(),
       }) {
    EXPECT_FALSE(HoldsBookContainer(AsBytes(file))) << file.size() << " bytes";
    EXPECT_EQ(KindOfContent(AsBytes(file)), FileKind::kNone) << file.size() << " bytes";
  }
}

TEST(FileKindTest, AProjectorHandsOutExactlyItsMovie) {
  const std::string file = Projector("MZ projector program", kMovie);
  EXPECT_EQ(KindOfContent(AsBytes(file)), FileKind::kProjector);
  const std::optional<Bytes> movie = ProjectorMovie(AsBytes(file));
  ASSERT_TRUE(movie.has_value());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(movie->data()), movie->size()), kMovie);
  // The movie may fill the whole file before the trailer.
  EXPECT_EQ(KindOfContent(AsBytes(Projector("", kMovie))), FileKind::kProjector);
}

TEST(FileKindTest, ABrokenProjectorTrailerIsRefusedWithoutReadingOutside) {
  const std::string program = "MZ projector program";
  std::string wrongMarker = Projector(program, kMovie);
  wrongMarker[wrongMarker.size() - 8] = 0x57;
  std::string tooLong = program + kMovie + Le32(0xFA123456) +
                        Le32(static_cast<std::uint32_t>(program.size() + kMovie.size() + 1));
  std::string huge = program + kMovie + Le32(0xFA123456) + Le32(0xFFFFFFFF);
  const std::string notAMovie = Projector(program, "this is no movie at all");
  for (const std::string& file : {wrongMarker, tooLong, huge, notAMovie}) {
    EXPECT_FALSE(ProjectorMovie(AsBytes(file)).has_value());
    EXPECT_EQ(KindOfContent(AsBytes(file)), FileKind::kNone);
  }
}

TEST(FileKindTest, PlainMoviesByTheirSignature) {
  for (const char* signature : {"FWS", "CWS", "ZWS"}) {
    const std::string movie = std::string(signature) + kMovie.substr(3);
    EXPECT_EQ(KindOfContent(AsBytes(movie)), FileKind::kMovie) << signature;
  }
  EXPECT_EQ(KindOfContent(AsBytes(std::string("fws\x08\x14\0\0\0", 8))), FileKind::kNone);
  EXPECT_EQ(KindOfContent(AsBytes(kMovie.substr(0, 7))), FileKind::kNone);
}

// Judged through reads of the file: only the few bytes looked at are read,
// and any read that fails gives no judgement rather than a wrong one.
TEST(FileKindTest, AFileIsJudgedByFewReadsAndAFailedReadGivesNoAnswer) {
  const std::string big(300000, 'x');
  const std::string book = BookBuilder().File("main.swf", kMovie + big).Build();
  const std::string projector = Projector("MZ projector" + big, kMovie);
  const std::string movie = kMovie + big;
  const std::string none = "MZ" + big;
  for (const auto& [file, kind] : {std::pair{book, FileKind::kBook},
                                   {projector, FileKind::kProjector},
                                   {movie, FileKind::kMovie},
                                   {none, FileKind::kNone}}) {
    SCOPED_TRACE(static_cast<int>(kind));
    for (int failing = 0;; ++failing) {
      int reads = 0;
      std::uint64_t bytesRead = 0;
      const std::optional<Judgement> judged =
          JudgeFile(file.size(), [&](std::uint64_t offset, std::size_t size, unsigned char* out) {
            EXPECT_LE(offset + size, file.size());
            if (reads++ == failing) return false;
            bytesRead += size;
            std::copy_n(file.data() + offset, size, out);
            return true;
          });
      if (failing < reads) {
        EXPECT_FALSE(judged.has_value()) << "read " << failing << " failed";
        continue;
      }
      ASSERT_TRUE(judged.has_value());
      EXPECT_EQ(judged->kind, kind);
      EXPECT_LT(bytesRead, 1000u);
      if (kind == FileKind::kProjector) {
        EXPECT_EQ(file.substr(judged->movie_offset, judged->movie_size), kMovie);
      } else if (kind == FileKind::kMovie) {
        EXPECT_EQ(judged->movie_size, file.size());
      }
      break;
    }
  }
}

}  // namespace
}  // namespace pagoro
