#include "core/magazine_identity.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/sha256.h"
#include "testing/book_builder.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

std::string Digest(std::string_view bytes) {
  Sha256 hash;
  hash.Add(bytes);
  const auto digest = hash.Finish();
  return Hex(digest.data(), digest.size());
}

TEST(Sha256Test, KnownDigests) {
  EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Two blocks, the padding in the second.
  EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  // Added in uneven pieces, the same as at once.
  const std::string million(1000000, 'a');
  Sha256 pieces;
  for (std::size_t at = 0; at < million.size(); at += 997)
    pieces.Add(std::string_view(million).substr(at, 997));
  const auto digest = pieces.Finish();
  EXPECT_EQ(Hex(digest.data(), digest.size()),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

std::string IdentityOf(const std::string& bytes, FileKind kind, std::size_t* read_bytes = nullptr) {
  std::size_t total = 0;
  const std::optional<std::string> id = MagazineIdentity(
      bytes.size(), kind, [&](std::uint64_t offset, std::size_t size, unsigned char* out) {
        if (offset + size > bytes.size()) return false;
        std::memcpy(out, bytes.data() + offset, size);
        total += size;
        return true;
      });
  if (read_bytes != nullptr) *read_bytes = total;
  return id.value_or("");
}

// Two issues shipped under one program name are two magazines, even laid
// out alike (the same names, sizes and first bytes); the same issue
// anywhere is one.
TEST(MagazineIdentityTest, BooksAreKnownByTheirIndex) {
  const std::string issue1 = testing::BookBuilder()
                                 .File("main.swf", "FWS issue one")
                                 .File("page.swf", testing::PatternBytes(200000, 1))
                                 .Build();
  const std::string issue2 = testing::BookBuilder()
                                 .File("main.swf", "FWS issue two")
                                 .File("page.swf", testing::PatternBytes(200000, 2))
                                 .Build();
  std::size_t read = 0;
  const std::string id1 = IdentityOf(issue1, FileKind::kBook, &read);
  EXPECT_EQ(id1.size(), 32u);
  EXPECT_LT(read, kIdentityEnds + 200) << "the index, its length and the bytes before it";
  EXPECT_EQ(IdentityOf(issue1, FileKind::kBook), id1);
  EXPECT_NE(IdentityOf(issue2, FileKind::kBook), id1);
  // A book judged as something else (its index unreadable) is told by its ends.
  EXPECT_NE(IdentityOf(issue1, FileKind::kNone), id1);
}

TEST(MagazineIdentityTest, OtherFilesAreKnownByTheirEnds) {
  std::string movie = testing::PatternBytes(300000, 3);
  std::size_t read = 0;
  const std::string id = IdentityOf(movie, FileKind::kMovie, &read);
  EXPECT_EQ(read, 2 * kIdentityEnds);
  std::string changed_end = movie;
  changed_end.back() ^= 1;
  EXPECT_NE(IdentityOf(changed_end, FileKind::kMovie), id);
  std::string changed_head = movie;
  changed_head[10] ^= 1;
  EXPECT_NE(IdentityOf(changed_head, FileKind::kMovie), id);
  std::string longer = movie + "x";
  EXPECT_NE(IdentityOf(longer, FileKind::kMovie), id);
  // A small file is read once, whole.
  EXPECT_EQ(IdentityOf("FWS", FileKind::kMovie, &read).size(), 32u);
  EXPECT_EQ(read, 3u);
  EXPECT_NE(IdentityOf("FWS", FileKind::kMovie), IdentityOf("CWS", FileKind::kMovie));
}

TEST(MagazineIdentityTest, AFailedReadGivesNone) {
  EXPECT_FALSE(MagazineIdentity(100, FileKind::kMovie,
                                [](std::uint64_t, std::size_t, unsigned char*) { return false; }));
}

}  // namespace
}  // namespace pagoro
