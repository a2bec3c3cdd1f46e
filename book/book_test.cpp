#include "book/book.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "book/cp936.h"
#include "book/errors.h"
#include "testing/book_builder.h"
#include "testing/book_host.h"
#include "testing/env_wrapper.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

using testing::BookBuilder;
using testing::ReadAll;
using testing::WithIndex;
using testing::WriteAll;

// `n` bytes that differ from position to position.
std::string Pattern(std::size_t n, char seed = 0) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251 + seed) & 0xFF);
  return s;
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

class BookTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(cache_.substr(0, cache_.size() - 1)); }

  // Writes `bytes` as a book executable and loads it.
  void Load(const std::string& bytes) {
    WriteAll(book_path_, bytes);
    book_.LoadIndex(book_path_);
  }

  // The message of the pagoro exception that `f` raises ("" when none).
  template <typename F>
  static std::string ErrorOf(F f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.what();
    }
    return "";
  }

  testing::PrivateFolder folder_;
  Env& env_ = Env::Default();
  testing::RecordingHost host_{env_};
  Book book_{env_, host_};
  const std::string book_path_ = folder_.path() + "/Spring.exe";
  const std::string cache_ = folder_.data() + "/Spring/";
};

TEST_F(BookTest, ExtractsAVersion20BookByteExact) {
  const std::string movie = "FWS" + Pattern(1200);
  const std::string page = "<?xml version=\"1.0\"?><page/>";
  const std::string music = "ID3" + Pattern(5000, 3);
  Load(BookBuilder("2.0", 800, 600)
           .File("main.swf", movie)
           .File("page1.xml", page)
           .File("music.mp3", music)
           .Build());
  EXPECT_EQ(book_.MovieWidth(), 800);
  EXPECT_EQ(book_.MovieHeight(), 600);
  EXPECT_TRUE(host_.messages.empty());

  WriteAll(cache_ + "stale.txt", "from before");
  book_.ExtractAssets(cache_);
  EXPECT_EQ(Names(cache_), (std::set<std::string>{"page1.xml", "music.mp3"}));
  EXPECT_EQ(ReadAll(cache_ + "page1.xml"), page);
  EXPECT_EQ(ReadAll(cache_ + "music.mp3"), music);

  const std::string path = book_.ExtractMainMovie("main.swf");
  EXPECT_EQ(std::filesystem::path(path).parent_path().string(), folder_.tmp());
  EXPECT_EQ(ReadAll(path), movie);
}

// One buffer serves the whole asset pass: a file after a larger one gets
// exactly its own bytes, none of the larger one's.
TEST_F(BookTest, AssetPassWritesEachFileWholeAfterLargerOnes) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"a.flv", "FLV" + Pattern(300000, 1)},
      {"b.txt", "abc"},
      {"c.mp3", "ID3" + Pattern(70000, 2)},
      {"d.jpg", "JFI" + Pattern(1, 3)},
      {"e.flv", "FLV" + Pattern(400000, 4)}};
  BookBuilder builder;
  builder.File("main.swf", "FWS" + Pattern(10));
  for (const auto& [name, bytes] : files) builder.File(name, bytes);
  Load(builder.Build());
  book_.ExtractAssets(cache_);
  for (const auto& [name, bytes] : files) EXPECT_EQ(ReadAll(cache_ + name), bytes) << name;
}

TEST_F(BookTest, Version10RotatesEntriesLongerThan10240Bytes) {
  for (std::size_t size : {0u, 1u, 10239u, 10240u, 10241u, 30000u}) {
    const std::string movie = Pattern(size, static_cast<char>(size));
    Load(BookBuilder("1.0").File("main.swf", movie).Build());
    const std::string path = book_.ExtractMainMovie("main.swf");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(ReadAll(path), movie) << size;
  }
  // Told in stored bytes: a 10241-byte file is the last stored byte, then the first 10240.
  const std::string stored = Pattern(10241, 9);
  Load(WithIndex("IMG" + stored, "buildexe\r\nversion|1.0|1|1|1|\r\nmain.swf|3|10241\r\n"));
  EXPECT_EQ(ReadAll(book_.ExtractMainMovie("main.swf")),
            stored.substr(10240) + stored.substr(0, 10240));
}

TEST_F(BookTest, HeaderBytesStartTheFile) {
  // Size 0: the three header bytes alone; a longer field gives only three.
  const std::string index =
      "buildexe\r\nversion|2.0|1|1|1|\r\nmain.swf|0|0|FWSxy\r\na.bin|3|2|a|b\r\n";
  Load(WithIndex("IMGde", index));
  EXPECT_EQ(ReadAll(book_.ExtractMainMovie("main.swf")), "FWS");
  book_.ExtractAssets(cache_);
  EXPECT_EQ(ReadAll(cache_ + "a.bin"), "a|bde");
}

TEST_F(BookTest, UnreadableIndexFailsOnTheHeaderLineWithoutTheMappingMessage) {
  const std::string good = BookBuilder().File("main.swf", "FWS").Build();
  const std::string body = good.substr(0, good.size() - 4);
  const auto length = [&](std::uint32_t n) {
    return body + std::string{static_cast<char>(n), static_cast<char>(n >> 8),
                              static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
  };
  const std::string cases[] = {
      "",
      "M",
      "MZ\x90",
      std::string(4, '\0'),
      body + std::string(4, '\0'),
      length(static_cast<std::uint32_t>(body.size()) + 1),
      length(0x80000000u),
      length(0xFFFFFFFFu),
  };
  for (const std::string& bytes : cases) {
    EXPECT_EQ(ErrorOf([&] { Load(bytes); }), "List index out of bounds (1)") << bytes.size();
    ASSERT_TRUE(book_.BookIndex().has_value());
    EXPECT_EQ(book_.BookIndex()->Count(), 0);
  }
  EXPECT_TRUE(host_.messages.empty());
  // The whole file as index still reads.
  Load(length(static_cast<std::uint32_t>(body.size())));
  EXPECT_EQ(book_.MovieWidth(), 640);
}

TEST_F(BookTest, HeaderLineNumbers) {
  const struct {
    const char* header;
    const char* error;
    int width, height;
  } cases[] = {
      {"version|2.0|1| 640|480|", "", 640, 480},
      {"version|2.0|1|640|480|more|fields", "", 640, 480},
      {"version|2.0|1|$280|0x1E0|", "", 640, 480},
      {"version|2.0|1|640 |480|", "'640 ' is not a valid integer value", 0, 0},
      {"version|2.0|1|640|480", "'' is not a valid integer value", 640, 0},
      {"version|2.0|1|640", "'' is not a valid integer value", 0, 0},
      {"version|2.0|1|\xD6\xD0|4|", "'中' is not a valid integer value", 0, 0},
  };
  for (const auto& c : cases) {
    Book book(env_, host_);
    WriteAll(book_path_, BookBuilder().Header(c.header).Build());
    EXPECT_EQ(ErrorOf([&] { book.LoadIndex(book_path_); }), c.error) << c.header;
    EXPECT_EQ(book.MovieWidth(), c.width) << c.header;
    EXPECT_EQ(book.MovieHeight(), c.height) << c.header;
  }
}

TEST_F(BookTest, FailingHeaderLineKeepsWhatWasReadBefore) {
  Load(BookBuilder("2.0", 800, 600).Build());
  EXPECT_EQ(ErrorOf([&] { Load(BookBuilder().Header("version|2.0|1|1024|tall|").Build()); }),
            "'tall' is not a valid integer value");
  EXPECT_EQ(book_.MovieWidth(), 1024);
  EXPECT_EQ(book_.MovieHeight(), 600);
  // The new book is loaded all the same.
  EXPECT_EQ(book_.BookIndex()->Count(), 2);
  EXPECT_EQ((*book_.BookIndex())[1], "version|2.0|1|1024|tall|");
}

TEST_F(BookTest, MissingFileOrFolderChangesNothing) {
  Load(BookBuilder("2.0", 320, 200).File("main.swf", "FWS1").Build());
  const unsigned char* view = book_.BookView();
  for (const std::string& path : {folder_.path() + "/none.exe", folder_.tmp()}) {
    book_.LoadIndex(path);
    EXPECT_EQ(book_.BookView(), view);
    EXPECT_EQ(book_.MovieWidth(), 320);
  }
  EXPECT_EQ(ReadAll(book_.ExtractMainMovie("main.swf")), "FWS1");
  book_.ReleaseBook();
  EXPECT_EQ(book_.BookView(), nullptr);
  EXPECT_FALSE(book_.BookIndex().has_value());
}

TEST_F(BookTest, WithoutAnyIndexNothingHappens) {
  book_.LoadIndex(folder_.path() + "/none.exe");
  WriteAll(cache_ + "keep.txt", "mine");
  book_.ExtractAssets(cache_);
  EXPECT_EQ(ReadAll(cache_ + "keep.txt"), "mine");
  EXPECT_EQ(book_.ExtractMainMovie("main.swf"), "");
  EXPECT_TRUE(Names(folder_.tmp()).empty());
}

TEST_F(BookTest, FileTooLargeForABookGetsTheMappingMessage) {
  // Sparse: takes no disk space.
  WriteAll(book_path_, "");
  std::filesystem::resize_file(book_path_, (std::uintmax_t{1} << 32) + 8);
  EXPECT_EQ(ErrorOf([&] { book_.LoadIndex(book_path_); }), "List index out of bounds (1)");
  EXPECT_EQ(host_.messages,
            std::vector<std::string>{std::string(kMappingErrorMessage) +
                                     "\n\"Spring.exe\": the file is 4 GiB or larger, more than a "
                                     "book can be"});
  EXPECT_EQ(book_.BookView(), nullptr);
  EXPECT_EQ(book_.BookSize(), 0u);
}

TEST_F(BookTest, FormatVersionSelectsTheStorageScheme) {
  for (const char* version : {"2.00", "2", " 2.0", "1", ""}) {
    Load(BookBuilder(version).File("main.swf", "FWSabc").File("a.txt", "abcdef").Build());
    EXPECT_EQ(book_.ExtractMainMovie("main.swf"), "") << version;
    book_.ExtractAssets(cache_);
    EXPECT_EQ(ReadAll(cache_ + "a.txt"), "abcdef");
  }
  EXPECT_TRUE(Names(folder_.tmp()).empty());
}

TEST_F(BookTest, EntrySearchIsASubstringTestOnWholeLines) {
  Load(BookBuilder()
           .File("xmain.swf", "FWSfirst")
           .File("main.swf", "FWSsecond")
           .File("Main.swf", "FWSthird")
           .Build());
  EXPECT_EQ(ReadAll(book_.ExtractMainMovie("main.swf")), "FWSfirst");
  EXPECT_EQ(ReadAll(book_.ExtractHeaderedEntry("movies/main.swf")), "FWSfirst");
  EXPECT_EQ(ReadAll(book_.ExtractHeaderedEntry("c:Main.swf")), "FWSthird");
  EXPECT_EQ(book_.ExtractHeaderedEntry("movies/"), "");
  EXPECT_EQ(book_.ExtractHeaderedEntry("MAIN.SWF"), "");
  EXPECT_EQ(book_.ExtractHeaderedEntry(""), "");
  // Version 1.0 starts at the header line, which may hold the name.
  Load(BookBuilder("1.0").Header("version|1.0|main.swf|1|1|").File("main.swf", "FWS").Build());
  EXPECT_EQ(ErrorOf([&] { book_.ExtractMainMovie("main.swf"); }),
            "'1.0' is not a valid integer value");
}

TEST_F(BookTest, AssetPassFailuresStopAtTheLine) {
  const struct {
    BookBuilder book;
    const char* error;
    std::set<std::string> written;
  } cases[] = {
      {BookBuilder("1.0").File("main.swf", "FWS").File("a.txt", "aaaa").File("b.txt", "bb"),
       "'' is not a valid integer value",
       {}},
      {BookBuilder().File("a.txt", "aaaa").Line("").File("b.txt", "bbbb"),
       "'' is not a valid integer value",
       {"a.txt"}},
      {BookBuilder().File("a.txt", "aaaa").Line("b.txt|x|1|abc"),
       "'x' is not a valid integer value",
       {"a.txt"}},
      {BookBuilder().File("a.txt", "aaaa").Line("b.txt|0|1"),
       "'' is not a valid integer value",
       {"a.txt"}},
      // A second line of the same name is skipped unread.
      {BookBuilder().File("a.txt", "aaaa").Line("a.txt|bad|bad").File("b.txt", "bbbb"),
       "",
       {"a.txt", "b.txt"}},
      {BookBuilder().Line("main.swf|bad").Line("old-main.swf.bak|bad").File("b.txt", "bbbb"),
       "",
       {"b.txt"}},
  };
  for (const auto& c : cases) {
    Load(c.book.Build());
    EXPECT_EQ(ErrorOf([&] { book_.ExtractAssets(cache_); }), c.error);
    EXPECT_EQ(Names(cache_), c.written) << c.error;
  }
}

TEST_F(BookTest, CacheFolderNamedLikeTheMovieReceivesNothing) {
  const std::string folder = folder_.data() + "/main.swf/";
  std::filesystem::create_directory(folder);
  Load(BookBuilder().File("a.txt", "aaaa").Build());
  book_.ExtractAssets(folder);
  EXPECT_TRUE(Names(folder).empty());
}

TEST_F(BookTest, FileThatCannotBeCreatedNamesItsPath) {
  Load(BookBuilder().File("a.txt", "aaaa").Build());
  const std::string folder = folder_.data() + "/missing/";
  EXPECT_EQ(ErrorOf([&] { book_.ExtractAssets(folder); }),
            "Cannot create file \"" + folder + "a.txt\". No such file or directory");
}

TEST_F(BookTest, NamesWithAFolderPartWriteNothing) {
  const std::string names[] = {"../evil.txt", "sub/x.txt",  "/abs.txt", "..",      ".",
                               "a\\b.txt",    "\\evil.txt", "\x81/x",   "x\xFF\\y"};
  for (const std::string& name : names) {
    Load(BookBuilder().File("a.txt", "aaaa").File(name, "evil").File("c.txt", "cccc").Build());
    EXPECT_EQ(ErrorOf([&] { book_.ExtractAssets(cache_); }),
              "Entry name \"" + Cp936ToUtf8(name) + "\" is not a plain file name");
    EXPECT_EQ(Names(cache_), std::set<std::string>{"a.txt"}) << name;
    EXPECT_EQ(Names(folder_.data()), std::set<std::string>{"Spring"}) << name;
    EXPECT_EQ(Names(folder_.path()),
              (std::set<std::string>{"Spring.exe", "data", "home", "state", "tmp", "work"}))
        << name;
    EXPECT_TRUE(Names(folder_.work()).empty()) << name;
  }
}

TEST_F(BookTest, Cp936NamesAreWrittenAsUtf8) {
  // 0x5C as the second byte of a character is no backslash.
  Load(BookBuilder()
           .File("\xD6\xD0\xCE\xC4.xml", "<?xml?>")
           .File("\x81\x5C.txt", "txt")
           .File("\x81\x5C\x81\x5C", "two")
           .File("bad\xFF.txt", "bad")
           .File("bad\x80\xA1\x5C", "more")
           .Build());
  book_.ExtractAssets(cache_);
  EXPECT_EQ(Names(cache_),
            (std::set<std::string>{"中文.xml", "乗.txt", "乗乗", "bad\uFFFD.txt", "bad€\uFFFD"}));
  EXPECT_EQ(ReadAll(cache_ + "乗乗"), "two");
}

TEST_F(BookTest, EntryBytesOutsideTheFileAreRefused) {
  const std::string prefix = "buildexe\r\nversion|2.0|1|1|1|\r\n";
  const std::string image = "IMG0123456789";
  // Numbers padded to six digits keep every line, hence the file, one length.
  const auto pad = [](long long n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    return (n < 0 ? "-" : "") + std::string(6 - digits.size() - (n < 0), '0') + digits;
  };
  const auto line = [&](long long offset, long long size) {
    return "x.bin|" + pad(offset) + "|" + pad(size) + "|abc\r\n";
  };
  const long long end =
      static_cast<long long>(image.size() + prefix.size() + line(0, 0).size() + 4);
  const struct {
    std::string line;
    bool refused;
  } cases[] = {
      {line(3, end - 3), false},
      {line(3, end - 2), true},
      {line(end, 0), false},
      {line(end + 1, 0), true},
      {line(-1, 1), true},
      {line(3, -1), true},
      {"x.bin|2147483647|2147483647|abc\r\n", true},
      {"x.bin|$7FFFFFFF|1|abc\r\n", true},
  };
  for (const auto& c : cases) {
    Load(WithIndex(image, prefix + c.line));
    const std::string error = ErrorOf([&] { book_.ExtractAssets(cache_); });
    EXPECT_EQ(error.starts_with("Entry \"x.bin\" lies outside the book file"), c.refused)
        << c.line << error;
    EXPECT_EQ(Names(cache_).size(), c.refused ? 0u : 1u);
    if (!c.refused) {
      EXPECT_TRUE(ReadAll(cache_ + "x.bin").starts_with("abc"));
    }
  }
  // The movie, in both versions, the same way; no temporary file is left.
  Load(WithIndex(image, prefix + "main.swf|10|999|abc\r\n"));
  EXPECT_EQ(ErrorOf([&] { book_.ExtractMainMovie("main.swf"); }),
            "Entry \"main.swf\" lies outside the book file (offset 10, size 999)");
  Load(WithIndex(image, "buildexe\r\nversion|1.0|1|1|1|\r\nmain.swf|0|99999\r\n"));
  EXPECT_EQ(ErrorOf([&] { book_.ExtractMainMovie("main.swf"); }),
            "Entry \"main.swf\" lies outside the book file (offset 0, size 99999)");
  EXPECT_TRUE(Names(folder_.tmp()).empty());
}

TEST_F(BookTest, TooFewHeaderBytesAreRefused) {
  for (const char* header : {"", "F", "FW"}) {
    const std::string entry = std::string("|0|1|") + header + "\r\n";
    Load(WithIndex("IMG", "buildexe\r\nversion|2.0|1|1|1|\r\nmain.swf" + entry + "a.bin" + entry));
    EXPECT_EQ(ErrorOf([&] { book_.ExtractMainMovie("main.swf"); }),
              "Entry \"main.swf\" lacks its three header bytes");
    EXPECT_EQ(ErrorOf([&] { book_.ExtractAssets(cache_); }),
              "Entry \"a.bin\" lacks its three header bytes");
    EXPECT_TRUE(Names(cache_).empty());
  }
  EXPECT_TRUE(Names(folder_.tmp()).empty());
}

// A book on a medium that goes away while its files are written: the
// bytes that are gone are an error naming the book, never a fault of the
// mapped pages. (The medium is played by the file shrinking under the
// mapping after the first file is written.)
TEST_F(BookTest, ABookThatShrinksDuringExtractionIsAnErrorNamingIt) {
  struct ShrinkingEnv : testing::EnvWrapper {
    std::string book;
    int writes = 0;
    void WriteFile(const std::string& path, const unsigned char* bytes, std::size_t size) override {
      EnvWrapper::WriteFile(path, bytes, size);
      Wrote();
    }
    void WriteFileIn(OpenFolder& folder, const std::string& name, const unsigned char* bytes,
                     std::size_t size) override {
      EnvWrapper::WriteFileIn(folder, name, bytes, size);
      Wrote();
    }
    void Wrote() {
      if (++writes == 1) std::filesystem::resize_file(book, 4096);
    }
  } env;
  env.book = book_path_;
  testing::RecordingHost host{env};
  for (const char* version : {"2.0", "1.0"}) {
    SCOPED_TRACE(version);
    const bool v2 = std::string(version) == "2.0";
    BookBuilder builder(version, 800, 600);
    builder.File("main.swf", "FWS" + Pattern(300000));
    if (v2) builder.File("a.txt", "one").File("b.bin", "BIN" + Pattern(300000, 1));
    WriteAll(book_path_, builder.Build());
    Book book(env, host);
    env.writes = 0;
    book.LoadIndex(book_path_);
    const std::string expected =
        "The magazine's file \"Spring.exe\" can't be read any more: was its disc or stick "
        "removed? (the file is shorter than when it was opened)";
    if (v2) {
      EXPECT_EQ(ErrorOf([&] { book.ExtractAssets(cache_); }), expected);
      EXPECT_EQ(Names(cache_), std::set<std::string>{"a.txt"});
    } else {
      env.writes = 1;  // shrinks at once
      std::filesystem::resize_file(book_path_, 4096);
      EXPECT_EQ(ErrorOf([&] { book.ExtractMainMovie("main.swf"); }), expected);
    }
  }
}

// The book cut short between its mapping and the reading of its index (a
// stick pulled as the reader starts): its mapped pages are gone, and the
// index is read from the file, so this is the same error as during the
// extraction, not a fault.
TEST_F(BookTest, ABookCutShortBeforeItsIndexIsReadIsAnErrorNamingIt) {
  struct CuttingEnv : testing::EnvWrapper {
    std::unique_ptr<MappedFile> MapReadOnly(const std::string& path, std::string* error) override {
      std::unique_ptr<MappedFile> file = EnvWrapper::MapReadOnly(path, error);
      std::filesystem::resize_file(path, 4096);
      return file;
    }
  } env;
  testing::RecordingHost host{env};
  Book book(env, host);
  WriteAll(book_path_, BookBuilder("2.0", 800, 600)
                           .File("main.swf", "FWS" + Pattern(300000))
                           .File("a.txt", "one")
                           .Build());
  EXPECT_EQ(ErrorOf([&] { book.LoadIndex(book_path_); }),
            "The magazine's file \"Spring.exe\" can't be read any more: was its disc or stick "
            "removed? (the file is shorter than when it was opened)");
  EXPECT_TRUE(host.messages.empty());
  // Nothing of it is extracted.
  book.ExtractAssets(cache_);
  EXPECT_TRUE(Names(cache_).empty());
  EXPECT_EQ(book.ExtractMainMovie("main.swf"), "");
}

// The cache folder swapped for a link to another folder while the files
// are written (a process of the same user racing the reader): every file
// still goes into the folder that was opened, none into the decoy, and a
// later clearing through the link deletes nothing there.
TEST_F(BookTest, AFolderSwappedForALinkMidWayReachesNothingElse) {
  const std::string decoy = folder_.work() + "/decoy";
  std::filesystem::create_directories(decoy);
  WriteAll(decoy + "/thesis.odt", "mine");
  struct SwappingEnv : testing::EnvWrapper {
    std::function<void()> swap;
    void WriteFileIn(OpenFolder& folder, const std::string& name, const unsigned char* bytes,
                     std::size_t size) override {
      EnvWrapper::WriteFileIn(folder, name, bytes, size);
      if (swap) std::exchange(swap, nullptr)();
    }
  } env;
  const std::string moved = folder_.work() + "/moved";
  env.swap = [&] {
    std::filesystem::rename(cache_.substr(0, cache_.size() - 1), moved);
    std::filesystem::create_directory_symlink(decoy, cache_.substr(0, cache_.size() - 1));
  };
  testing::RecordingHost host{env};
  Book book(env, host);
  WriteAll(book_path_, BookBuilder("2.0", 800, 600)
                           .File("main.swf", "FWS" + Pattern(10))
                           .File("a.txt", "one")
                           .File("b.txt", "two")
                           .File("c.txt", "three")
                           .Build());
  book.LoadIndex(book_path_);
  book.ExtractAssets(cache_);
  EXPECT_EQ(Names(moved), (std::set<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(Names(decoy), std::set<std::string>{"thesis.odt"});
  host.ClearFolder(cache_);
  EXPECT_EQ(ReadAll(decoy + "/thesis.odt"), "mine");
}

}  // namespace
}  // namespace pagoro
