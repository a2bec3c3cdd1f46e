#include "core/book_opener.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "book/errors.h"
#include "book/format.h"
#include "book/packer.h"
#include "testing/private_folders.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;
using testing::PatternBytes;
using testing::PrivateFolders;
using testing::ReadTestFile;
using testing::WriteTestFile;

// 32 bits, little-endian, as the container's and the projector's trailers hold them.
std::string Le32(std::uint32_t v) { return format::IndexLengthBytes(v); }

// A movie header with a 550x400 stage, then `body`.
std::string Movie(const std::string& body = "body") {
  const std::string rect("\x78\x00\x05\x5F\x00\x00\x0F\xA0\x00", 9);
  return "FWS\x08" + Le32(static_cast<std::uint32_t>(17 + body.size())) + rect + body;
}

// Stands in for the movie player, which needs a window: records the calls.
class RecordingPlayer : public PlayerControl {
 public:
  void Movie(const std::u16string& path) override { calls.push_back(u"Movie " + path); }
  void Play() override { calls.emplace_back(u"Play"); }
  void SetVariable(const std::u16string& name, const std::u16string& value) override {
    calls.push_back(u"SetVariable " + name + u"=" + value);
  }
  std::vector<std::u16string> calls;
};

class BookOpenerTest : public ::testing::Test {
 protected:
  // A book executable `fileName` in the work folder holding main.swf and
  // the pages; returns its path.
  std::string MakeBook(const std::string& fileName, const std::string& movie,
                       const std::vector<PackEntry>& pages = {}) {
    std::vector<PackEntry> entries = pages;
    entries.push_back({"main.swf", movie});
    SortEntries(entries);
    const std::string path = folders_.work() + "/" + fileName;
    WriteTestFile(path, PackBook("reader image", entries, PackOptions{}));
    return path;
  }
  std::string CacheOf(const std::string& bookName) const {
    return folders_.data() + "/pagoro/" + bookName + "/";
  }
  // The calls a successful opening makes: the movie file, then Play.
  static std::vector<std::u16string> Played(const std::string& moviePath) {
    return {u"Movie " + Utf8ToUtf16(moviePath), u"Play"};
  }

  PrivateFolders folders_;
  RecordingPlayer player_;
  std::vector<std::string> messages_;
  BookOpener opener_{Env::Default(), player_,
                     [this](const std::string& text) { messages_.push_back(text); }};
};

TEST_F(BookOpenerTest, OpensABookIntoItsCacheFolderAndPlaysTheMovie) {
  const std::string movie = PatternBytes(5000);
  const std::string path =
      MakeBook("Spring.exe", movie, {{"page1.xml", "<?xml?>"}, {"图片.jpg", PatternBytes(700, 2)}});

  opener_.OpenBook(path);

  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_EQ(NamesIn(CacheOf("Spring")), (std::vector<std::string>{"page1.xml", "图片.jpg"}));
  EXPECT_EQ(ReadTestFile(CacheOf("Spring") + "图片.jpg"), PatternBytes(700, 2));
  const std::string moviePath = opener_.MovieTempPath();
  EXPECT_EQ(fs::path(moviePath).parent_path(), folders_.tmp());
  EXPECT_TRUE(fs::path(moviePath).filename().string().starts_with("tem"));
  EXPECT_EQ(ReadTestFile(moviePath), movie);
  EXPECT_EQ(player_.calls, Played(moviePath));
  EXPECT_EQ(opener_.book().MovieWidth(), 800);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(BookOpenerTest, OnlyAnExactExeExtensionOpens) {
  const std::string movie = PatternBytes(100);
  for (const char* fileName : {"Book.EXE", "Book.exe.bak", "Book", "Book.ex"}) {
    opener_.OpenBook(MakeBook(fileName, movie));
    EXPECT_TRUE(player_.calls.empty()) << fileName;
    EXPECT_EQ(opener_.CacheFolder(), "") << fileName;
  }
  EXPECT_FALSE(fs::exists(folders_.data() + "/pagoro"));
}

TEST(ExtensionOfTest, TakesTheLastDotOfTheFileName) {
  const struct {
    const char* path;
    const char* extension;
    const char* fileName;
  } cases[] = {
      {"/m/Spring.exe", ".exe", "Spring.exe"}, {"/m/a.exe.b.exe", ".exe", "a.exe.b.exe"},
      {"/m.exe/Spring", "", "Spring"},         {"/m/Spring", "", "Spring"},
      {"Spring.exe", ".exe", "Spring.exe"},    {"/m/x.exe/", "", ""},
      {"/m/a\\b.exe", ".exe", "a\\b.exe"},  // a backslash is a plain character here
      {"/m/c:d.exe", ".exe", "c:d.exe"},       {"/m/.exe", ".exe", ".exe"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.fileName) << c.path;
  }
}

TEST_F(BookOpenerTest, ASecondBookReplacesTheFirst) {
  opener_.OpenBook(MakeBook("First.exe", PatternBytes(300, 1), {{"one.xml", "111"}}));
  const std::string firstMovie = opener_.MovieTempPath();
  opener_.OpenBook(MakeBook("Second.exe", PatternBytes(400, 2), {{"two.xml", "222"}}));

  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Second"));
  EXPECT_EQ(NamesIn(CacheOf("First")), std::vector<std::string>{"one.xml"});  // stays on disk
  EXPECT_EQ(NamesIn(CacheOf("Second")), std::vector<std::string>{"two.xml"});
  EXPECT_FALSE(fs::exists(firstMovie));
  EXPECT_EQ(ReadTestFile(opener_.MovieTempPath()), PatternBytes(400, 2));
  std::vector<std::u16string> expected = Played(firstMovie);
  for (auto& call : Played(opener_.MovieTempPath())) expected.push_back(call);
  EXPECT_EQ(player_.calls, expected);
}

TEST_F(BookOpenerTest, TheSameBookTwiceRefillsItsFolderAndReplacesTheMovieFile) {
  const std::string path = MakeBook("Spring.exe", PatternBytes(300), {{"page.xml", "<p/>"}});
  opener_.OpenBook(path);
  const std::string firstMovie = opener_.MovieTempPath();
  WriteTestFile(CacheOf("Spring") + "page.xml", "changed");
  WriteTestFile(CacheOf("Spring") + "stray.txt", "left by someone");

  opener_.OpenBook(path);

  EXPECT_EQ(NamesIn(CacheOf("Spring")), std::vector<std::string>{"page.xml"});
  EXPECT_EQ(ReadTestFile(CacheOf("Spring") + "page.xml"), "<p/>");
  EXPECT_NE(opener_.MovieTempPath(), firstMovie);
  EXPECT_FALSE(fs::exists(firstMovie));
  EXPECT_EQ(ReadTestFile(opener_.MovieTempPath()), PatternBytes(300));
  EXPECT_EQ(NamesIn(folders_.tmp()).size(), 1u);
}

TEST_F(BookOpenerTest, ExeInTheMiddleOfTheNameIsRemovedToo) {
  opener_.OpenBook(MakeBook("a.exe.b.exe", PatternBytes(10), {{"p.xml", "abc"}}));
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("a.b"));
  EXPECT_EQ(NamesIn(CacheOf("a.b")), std::vector<std::string>{"p.xml"});
}

TEST_F(BookOpenerTest, AnExeWithoutContainerFailsAfterTakingItsFolder) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300)));
  const std::string movie = opener_.MovieTempPath();
  const std::string junk = folders_.work() + "/junk.exe";
  WriteTestFile(junk, std::string("MZ program\0\0\0\0", 14));

  try {
    opener_.OpenBook(junk);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("junk"));
  EXPECT_TRUE(NamesIn(CacheOf("junk")).empty());
  EXPECT_EQ(player_.calls, Played(movie));  // the shown movie goes on
  EXPECT_EQ(opener_.MovieTempPath(), movie);
  EXPECT_TRUE(fs::exists(movie));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(BookOpenerTest, AFolderNamedExeRefillsFromTheCurrentBook) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300), {{"page.xml", "<p/>"}}));
  const std::string firstMovie = opener_.MovieTempPath();
  fs::create_directory(folders_.work() + "/x.exe");

  opener_.OpenBook(folders_.work() + "/x.exe");

  EXPECT_EQ(opener_.CacheFolder(), CacheOf("x"));
  EXPECT_EQ(NamesIn(CacheOf("x")), std::vector<std::string>{"page.xml"});
  EXPECT_FALSE(fs::exists(firstMovie));
  EXPECT_EQ(ReadTestFile(opener_.MovieTempPath()), PatternBytes(300));
  EXPECT_EQ(player_.calls.size(), 4u);
  EXPECT_EQ(player_.calls[2], u"Movie " + Utf8ToUtf16(opener_.MovieTempPath()));
}

TEST_F(BookOpenerTest, BookNamesWithoutAFolderOfTheirOwnTouchNothing) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300)));
  const std::string movie = opener_.MovieTempPath();
  // Files the user keeps where such a name would point.
  WriteTestFile(folders_.data() + "/pagoro/notes.txt", "product");
  WriteTestFile(folders_.data() + "/user.txt", "data");
  WriteTestFile(folders_.work() + "/work.txt", "work");

  for (const char* fileName : {".exe", "..exe", "...exe"}) {
    const std::string path = MakeBook(fileName, PatternBytes(200), {{"user.txt", "overwritten?"}});
    EXPECT_THROW(opener_.OpenBook(path), EBookNameError) << fileName;
    opener_.CloseBooks(fileName);
    EXPECT_EQ(ReadTestFile(folders_.data() + "/pagoro/notes.txt"), "product");
    EXPECT_EQ(ReadTestFile(folders_.data() + "/user.txt"), "data");
    EXPECT_EQ(ReadTestFile(folders_.work() + "/work.txt"), "work");
    EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  }
  EXPECT_EQ(player_.calls, Played(movie));
  EXPECT_FALSE(fs::exists(movie));  // the close still deleted the movie file
}

TEST_F(BookOpenerTest, CloseRemovesTheOwnFolderAndTheMovieFile) {
  opener_.OpenBook(MakeBook("Own.exe", PatternBytes(300), {{"own.xml", "own"}}));
  opener_.OpenBook(MakeBook("Dropped.exe", PatternBytes(300, 2), {{"dropped.xml", "dropped"}}));
  const std::string movie = opener_.MovieTempPath();

  opener_.CloseBooks("Own.exe");

  EXPECT_FALSE(fs::exists(CacheOf("Own")));
  EXPECT_EQ(NamesIn(CacheOf("Dropped")), std::vector<std::string>{"dropped.xml"});
  EXPECT_FALSE(fs::exists(movie));
  EXPECT_EQ(opener_.book().BookView(), nullptr);
  EXPECT_FALSE(opener_.book().BookIndex().has_value());
  EXPECT_TRUE(fs::is_directory(folders_.data() + "/pagoro"));
}

TEST(Utf8ToUtf16Test, ConvertsPathsAndReplacesBadBytes) {
  EXPECT_EQ(Utf8ToUtf16("/tmp/tem1.tmp"), u"/tmp/tem1.tmp");
  EXPECT_EQ(Utf8ToUtf16("杂志/é"), u"杂志/é");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong "/"
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // a surrogate
  EXPECT_EQ(Utf8ToUtf16("\xE6\x9D"), u"\uFFFD\uFFFD");            // cut short
}

TEST_F(BookOpenerTest, OpenFileKnowsABookByItsContentWhateverItsName) {
  const std::vector<PackEntry> pages = {{"page1.xml", "<?xml?>"}};
  std::vector<PackEntry> entries = pages;
  entries.push_back({"main.swf", Movie()});
  SortEntries(entries);
  const std::string windowsBook = folders_.work() + "/MAGAZINE.EXE";
  WriteTestFile(windowsBook, PackBook(std::string("MZ\x90\0windows program", 20), entries, PackOptions{}));

  EXPECT_EQ(opener_.OpenFile(windowsBook), FileKind::kBook);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("MAGAZINE"));
  EXPECT_EQ(NamesIn(CacheOf("MAGAZINE")), (std::vector<std::string>{"page1.xml"}));
  EXPECT_EQ(ReadTestFile(opener_.MovieTempPath()), Movie());
  EXPECT_EQ(player_.calls, Played(opener_.MovieTempPath()));
  EXPECT_EQ(opener_.MovieWidth(), 800);

  // Only the last extension goes; any name at all is opened.
  MakeBook("a.exe.b.exe", Movie());
  MakeBook("Spring", Movie());
  opener_.OpenFile(folders_.work() + "/a.exe.b.exe");
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("a.exe.b"));
  opener_.OpenFile(folders_.work() + "/Spring");
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
}

TEST_F(BookOpenerTest, MoviesAndProjectorsPlayWithTheirOwnFolderAndNoCacheFolder) {
  const std::string movie = Movie("game");
  const std::string projector = folders_.work() + "/Game.exe";
  WriteTestFile(projector, "MZ projector" + movie + Le32(0xFA123456) + Le32(static_cast<std::uint32_t>(movie.size())));
  const std::string plain = folders_.work() + "/intro.swf";
  WriteTestFile(plain, Movie("intro"));

  EXPECT_EQ(opener_.OpenFile(projector), FileKind::kProjector);
  const std::string extracted = opener_.MovieTempPath();
  EXPECT_EQ(fs::path(extracted).parent_path(), folders_.tmp());
  EXPECT_EQ(ReadTestFile(extracted), movie);
  EXPECT_EQ(opener_.CacheFolder(), folders_.work() + "/");
  EXPECT_EQ(opener_.MovieWidth(), 550);
  EXPECT_EQ(opener_.MovieHeight(), 400);

  // The plain movie plays where it lies; the projector's copy is gone.
  EXPECT_EQ(opener_.OpenFile(plain), FileKind::kMovie);
  EXPECT_FALSE(fs::exists(extracted));
  EXPECT_EQ(opener_.MovieTempPath(), "");
  EXPECT_EQ(opener_.CacheFolder(), folders_.work() + "/");
  EXPECT_EQ(player_.calls.back(), u"Play");
  EXPECT_EQ(player_.calls[player_.calls.size() - 2], u"Movie " + Utf8ToUtf16(plain));

  // Closing never deletes the user's own movie, and no book folder was made.
  opener_.CloseBooks("pagoro");
  EXPECT_EQ(ReadTestFile(plain), Movie("intro"));
  EXPECT_EQ(NamesIn(folders_.data() + "/pagoro"), std::vector<std::string>{});
}

TEST_F(BookOpenerTest, AFileThatHoldsNoMagazineIsNamedAndChangesNothing) {
  const std::string book = MakeBook("Spring.exe", Movie());
  opener_.OpenFile(book);
  const std::vector<std::u16string> calls = player_.calls;
  const std::string moviePath = opener_.MovieTempPath();
  const std::string junk = folders_.work() + "/Notes.EXE";
  WriteTestFile(junk, "MZ just a program" + Le32(0));

  try {
    opener_.OpenFile(junk);
    ADD_FAILURE() << "no error";
  } catch (const ENoMagazine& e) {
    EXPECT_EQ(std::string(e.what()), "\"" + junk + "\" holds no magazine: it is neither a book nor a Flash movie or projector");
  }
  EXPECT_THROW(opener_.OpenFile(folders_.work() + "/missing.swf"), Exception);
  EXPECT_EQ(player_.calls, calls);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_EQ(opener_.MovieTempPath(), moviePath);
  EXPECT_FALSE(fs::exists(folders_.data() + "/pagoro/Notes"));
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace pagoro
