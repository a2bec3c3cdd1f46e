#include "player/requested_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace pagoro {
namespace {

namespace fs = std::filesystem;

// The URL the engine makes of the path a movie loads: spaces and bytes
// outside ASCII percent-encoded, "%" kept, "?" starting the query; the "#"
// of the fragment arrives as "%23".
struct Url {
  std::string path;
  std::optional<std::string> query;
};
Url AsUrl(const std::string& movie_path) {
  std::string encoded;
  for (const char c : movie_path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == ' ' || c == '#' || byte >= 0x80) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      encoded += {'%', kHex[byte >> 4], kHex[byte & 15]};
    } else {
      encoded += c;
    }
  }
  const std::size_t question = encoded.find('?');
  if (question == std::string::npos) return {encoded, std::nullopt};
  return {encoded.substr(0, question), encoded.substr(question + 1)};
}

class RequestedFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/requested.XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    base_ = name;
    Write(base_ / "secret.txt");
  }
  void TearDown() override { fs::remove_all(base_); }

  static void Write(const fs::path& p) { std::ofstream(p) << p.filename().string(); }
  static ConfinedPath Request(const std::string& movie_path, const fs::path& folder) {
    const Url url = AsUrl(movie_path);
    return RequestedFile(url.path, url.query, folder);
  }

  fs::path base_;
};

TEST_F(RequestedFileTest, EveryNameOfFolderAndEntryReachesItsFile) {
  const std::string names[] = {"Magazine #12", "Issue?", "50% off",   "Spring%20Issue",
                               "a b",          "目录",   "x%y?#z %41"};
  for (const std::string& folder_name : names) {
    const fs::path folder = base_ / folder_name;
    fs::create_directory(folder);
    for (const std::string& entry : names) Write(folder / (entry + ".xml"));
    for (const std::string& entry : names) {
      // TempPath ends in "/" and the movie adds the name.
      const std::string told = folder.string() + "/";
      const ConfinedPath found = Request(told + entry + ".xml", folder);
      ASSERT_TRUE(found.inside) << folder_name << " / " << entry << ": " << found.reason;
      EXPECT_EQ(found.file.filename().string(), entry + ".xml") << folder_name;
    }
  }
}

TEST_F(RequestedFileTest, AQueryIsACacheBusterUnlessItIsPartOfTheName) {
  const fs::path folder = base_ / "book";
  fs::create_directory(folder);
  Write(folder / "page.swf");
  Write(folder / "page.swf?2");
  EXPECT_EQ(Request(folder.string() + "/page.swf?123", folder).file.filename(), "page.swf");
  EXPECT_EQ(Request(folder.string() + "/page.swf?2", folder).file.filename(), "page.swf?2");
}

TEST_F(RequestedFileTest, NothingOutsideTheFolderIsReachedByEncoding) {
  const fs::path folder = base_ / "book%20one";
  fs::create_directory(folder);
  fs::create_symlink(base_ / "secret.txt", folder / "out%20link");
  Write(folder / "%2E%2E");
  const std::string told = folder.string() + "/";
  for (const std::string& request :
       {told + "out%20link", told + "out link", told + "%2E%2E/secret.txt", told + "../secret.txt",
        told + "%2F..%2Fsecret.txt", base_.string() + "/secret.txt"}) {
    EXPECT_FALSE(Request(request, folder).inside) << request;
  }
  // An entry named so literally is no way up.
  EXPECT_EQ(Request(told + "%2E%2E", folder).file.filename(), "%2E%2E");
}

// A folder named in code page 936 bytes (杂志), as unzip leaves names from
// Chinese archives: reached by its bytes (a load relative to the movie)
// and by its legible name (TempPath + name); a namesake folder in UTF-8
// beside it, or a way up, is not.
TEST_F(RequestedFileTest, AFolderNamedInGbkBytesIsReachedByItsBytesAndByItsLegibleName) {
  const fs::path folder = base_ / "\xD4\xD3\xD6\xBE";
  fs::create_directory(folder);
  Write(folder / "page.txt");
  Write(folder / "\xD2\xB3.txt");  // 页.txt, its name in GBK bytes too
  fs::create_directory(base_ / "杂志");
  Write(base_ / "杂志" / "other.txt");

  EXPECT_EQ(Request(folder.string() + "/page.txt", folder).file, folder / "page.txt");
  const std::string told = base_.string() + "/杂志/";
  EXPECT_EQ(Request(told + "page.txt", folder).file, folder / "page.txt");
  EXPECT_EQ(Request(told + "\xD2\xB3.txt", folder).file, folder / "\xD2\xB3.txt");
  for (const std::string& request :
       {told + "other.txt", told + "../secret.txt", base_.string() + "/杂志x/page.txt"}) {
    EXPECT_FALSE(Request(request, folder).inside) << request;
  }
}

}  // namespace
}  // namespace pagoro
