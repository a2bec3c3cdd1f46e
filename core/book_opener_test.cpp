#include "core/book_opener.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "book/errors.h"
#include "book/format.h"
#include "book/packer.h"
#include "swf/movie.h"
#include "testing/env_wrapper.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;
using testing::PatternBytes;
using testing::PrivateFolder;
using testing::ReadAll;
using testing::WriteAll;

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
  void Movie(const std::string& path) override {
    if (refuse) throw std::runtime_error("not a movie");
    calls.push_back("Movie " + path);
  }
  void Play() override { calls.emplace_back("Play"); }
  void SetVariable(const std::u16string& /*name*/, const std::u16string& /*value*/) override {
    calls.emplace_back("SetVariable");
  }
  std::vector<std::string> calls;
  bool refuse = false;
};

// Stands in for the other running readers: `elsewhere` are the folders
// they hold.
class FakeClaims : public FolderClaims {
 public:
  bool Claim(const std::string& folder) override {
    if (elsewhere.contains(folder)) return false;
    held.insert(folder);
    return true;
  }
  void Release(const std::string& folder) override { held.erase(folder); }
  void CallHolder(const std::string& folder) override { called.push_back(folder); }
  void NameBook(const std::string& folder, const std::string& bookPath) override {
    named[folder] = bookPath;
  }
  std::string HolderBook(const std::string& folder) override {
    const auto it = books_elsewhere.find(folder);
    return it == books_elsewhere.end() ? "" : it->second;
  }
  std::set<std::string> elsewhere;
  std::map<std::string, std::string> books_elsewhere;  // folder -> the holder's book file
  std::map<std::string, std::string> named;
  std::set<std::string> held;
  std::vector<std::string> called;
};

class BookOpenerTest : public ::testing::Test {
 protected:
  // Opens `path` by its content; what it held.
  FileKind OpenedKind(const std::string& path) {
    FileKind kind = FileKind::kNone;
    EXPECT_EQ(opener_.OpenFile(path, &kind), OpenOutcome::kOpened);
    return kind;
  }

  // A book executable `fileName` in the work folder holding main.swf and
  // the pages; returns its path.
  std::string MakeBook(const std::string& fileName, const std::string& movie,
                       const std::vector<PackEntry>& pages = {}) {
    std::vector<PackEntry> entries = pages;
    entries.push_back({"main.swf", movie});
    SortEntries(entries);
    const std::string path = folders_.work() + "/" + fileName;
    WriteAll(path, PackBook("reader image", entries, PackOptions{}));
    return path;
  }
  // A projector `fileName` in the work folder carrying `movie`; its path.
  std::string MakeProjector(const std::string& fileName, const std::string& movie) {
    const std::string path = folders_.work() + "/" + fileName;
    WriteAll(path, "MZ projector" + movie + Le32(0xFA123456) +
                       Le32(static_cast<std::uint32_t>(movie.size())));
    return path;
  }
  std::string CacheOf(const std::string& bookName) const {
    return folders_.data() + "/pagoro/" + bookName + "/";
  }
  // The calls a successful opening makes: the movie file, then Play.
  static std::vector<std::string> Played(const std::string& moviePath) {
    return {"Movie " + moviePath, "Play"};
  }

  PrivateFolder folders_;
  RecordingPlayer player_;
  FakeClaims claims_;
  std::vector<std::string> messages_;
  BookOpener opener_{Env::Default(), player_,
                     [this](const std::string& text) { messages_.push_back(text); }, &claims_};
};

TEST_F(BookOpenerTest, OpensABookIntoItsCacheFolderAndPlaysTheMovie) {
  const std::string movie = PatternBytes(5000);
  const std::string path =
      MakeBook("Spring.exe", movie, {{"page1.xml", "<?xml?>"}, {"图片.jpg", PatternBytes(700, 2)}});

  opener_.OpenBook(path);

  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_EQ(NamesIn(CacheOf("Spring")), (std::vector<std::string>{"page1.xml", "图片.jpg"}));
  EXPECT_EQ(ReadAll(CacheOf("Spring") + "图片.jpg"), PatternBytes(700, 2));
  const std::string moviePath = opener_.MovieTempPath();
  EXPECT_EQ(fs::path(moviePath).parent_path(), folders_.tmp());
  EXPECT_TRUE(fs::path(moviePath).filename().string().starts_with("tem"));
  EXPECT_EQ(ReadAll(moviePath), movie);
  EXPECT_EQ(player_.calls, Played(moviePath));
  EXPECT_EQ(opener_.MovieWidth(), 800);
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
  EXPECT_EQ(ReadAll(opener_.MovieTempPath()), PatternBytes(400, 2));
  std::vector<std::string> expected = Played(firstMovie);
  for (auto& call : Played(opener_.MovieTempPath())) expected.push_back(call);
  EXPECT_EQ(player_.calls, expected);
}

TEST_F(BookOpenerTest, TheSameBookTwiceRefillsItsFolderAndReplacesTheMovieFile) {
  const std::string path = MakeBook("Spring.exe", PatternBytes(300), {{"page.xml", "<p/>"}});
  opener_.OpenBook(path);
  const std::string firstMovie = opener_.MovieTempPath();
  WriteAll(CacheOf("Spring") + "page.xml", "changed");
  WriteAll(CacheOf("Spring") + "stray.txt", "left by someone");

  opener_.OpenBook(path);

  EXPECT_EQ(NamesIn(CacheOf("Spring")), std::vector<std::string>{"page.xml"});
  EXPECT_EQ(ReadAll(CacheOf("Spring") + "page.xml"), "<p/>");
  EXPECT_NE(opener_.MovieTempPath(), firstMovie);
  EXPECT_FALSE(fs::exists(firstMovie));
  EXPECT_EQ(ReadAll(opener_.MovieTempPath()), PatternBytes(300));
  EXPECT_EQ(NamesIn(folders_.tmp()).size(), 1u);
}

TEST_F(BookOpenerTest, ExeInTheMiddleOfTheNameIsRemovedToo) {
  opener_.OpenBook(MakeBook("a.exe.b.exe", PatternBytes(10), {{"p.xml", "abc"}}));
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("a.b"));
  EXPECT_EQ(NamesIn(CacheOf("a.b")), std::vector<std::string>{"p.xml"});
}

TEST_F(BookOpenerTest, AFailedOpeningLeavesThePlayingBookCurrent) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300), {{"page.xml", "<p/>"}}));
  const std::string movie = opener_.MovieTempPath();
  const std::string junk = folders_.work() + "/junk.exe";
  WriteAll(junk, std::string("MZ program\0\0\0\0", 14));
  // A folder of that name from before, with the user's file in it.
  fs::create_directories(CacheOf("Kept"));
  WriteAll(CacheOf("Kept") + "notes.txt", "mine");
  fs::copy_file(junk, folders_.work() + "/Kept.exe");

  try {
    opener_.OpenBook(junk);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(opener_.OpenBook(folders_.work() + "/Kept.exe"), EListError);

  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_EQ(NamesIn(CacheOf("Spring")), std::vector<std::string>{"page.xml"});
  EXPECT_FALSE(fs::exists(CacheOf("junk")));
  EXPECT_EQ(NamesIn(CacheOf("Kept")), std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(player_.calls, Played(movie));  // the shown movie goes on
  EXPECT_EQ(opener_.MovieTempPath(), movie);
  EXPECT_TRUE(fs::exists(movie));
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(claims_.held, std::set<std::string>{CacheOf("Spring")});
}

TEST_F(BookOpenerTest, AMovieThePlayerRefusesKeepsThePlayingBookCurrent) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300)));
  player_.refuse = true;
  EXPECT_THROW(opener_.OpenBook(MakeBook("Other.exe", PatternBytes(300), {{"o.xml", "other"}})),
               std::runtime_error);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_FALSE(fs::exists(CacheOf("Other")));
  EXPECT_EQ(claims_.held, std::set<std::string>{CacheOf("Spring")});
}

TEST_F(BookOpenerTest, ABookAnotherReaderHoldsIsLeftToIt) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300)));
  const std::vector<std::string> calls = player_.calls;
  claims_.elsewhere.insert(CacheOf("Busy"));
  fs::create_directories(CacheOf("Busy"));
  WriteAll(CacheOf("Busy") + "page.xml", "theirs");

  EXPECT_EQ(opener_.OpenBook(MakeBook("Busy.exe", PatternBytes(200), {{"page.xml", "mine"}})),
            OpenOutcome::kHeldElsewhere);
  opener_.CloseBooks("Busy.exe");

  EXPECT_EQ(claims_.called, std::vector<std::string>{CacheOf("Busy")});
  EXPECT_EQ(ReadAll(CacheOf("Busy") + "page.xml"), "theirs");
  EXPECT_EQ(player_.calls, calls);
}

// Another reader plays Downloads/Mag.exe from pagoro/Mag/: a different
// Mag.exe opens in a folder of its own and the first keeps its files; the
// very same file is still handed over.
TEST_F(BookOpenerTest, ANamesakeOfAPlayingBookOpensInAFolderOfItsOwn) {
  claims_.elsewhere.insert(CacheOf("Mag"));
  claims_.books_elsewhere[CacheOf("Mag")] = "/home/u/Downloads/Mag.exe";
  fs::create_directories(CacheOf("Mag"));
  WriteAll(CacheOf("Mag") + "page.xml", "theirs");
  const std::string desktop = MakeBook("Mag.exe", PatternBytes(300), {{"page.xml", "mine"}});

  EXPECT_EQ(opener_.OpenBook(desktop, Ownership::kOwn), OpenOutcome::kOpened);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Mag (2)"));
  EXPECT_EQ(ReadAll(CacheOf("Mag (2)") + "page.xml"), "mine");
  EXPECT_EQ(ReadAll(CacheOf("Mag") + "page.xml"), "theirs");
  EXPECT_EQ(claims_.named[CacheOf("Mag (2)")], desktop);
  EXPECT_TRUE(claims_.called.empty());

  // A third namesake while both play takes the next number; the same file
  // as the first is handed over.
  claims_.elsewhere.insert(CacheOf("Mag (2)"));
  claims_.books_elsewhere[CacheOf("Mag (2)")] = desktop;
  EXPECT_EQ(opener_.OpenBook("/home/u/Downloads/Mag.exe"), OpenOutcome::kHeldElsewhere);
  EXPECT_EQ(claims_.called, std::vector<std::string>{CacheOf("Mag")});
  const std::string third = folders_.work() + "/third/Mag.exe";
  fs::create_directories(folders_.work() + "/third");
  fs::copy_file(desktop, third);
  EXPECT_EQ(opener_.OpenBook(third), OpenOutcome::kOpened);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Mag (3)"));
}

// The disk fills while a second book's files are written: the message
// keeps the framework's text and names the folder and cause, the files of
// this opening go (its folder was there before), and the playing movie and
// its folder stay as they were.
TEST_F(BookOpenerTest, ADiskThatFillsMidWayLeavesThePlayingBookAlone) {
  struct FillingEnv : testing::EnvWrapper {
    int writes = 0;
    void WriteFileIn(OpenFolder& folder, const std::string& name, const unsigned char* bytes,
                     std::size_t size) override {
      if (++writes == 2) throw EWriteError("/the/folder", "No space left on device");
      EnvWrapper::WriteFileIn(folder, name, bytes, size);
    }
  } env;
  BookOpener opener(env, player_, nullptr, &claims_);
  opener.OpenBook(MakeBook("Playing.exe", PatternBytes(300), {{"p.xml", "playing"}}));
  const std::vector<std::string> calls = player_.calls;
  fs::create_directories(CacheOf("Full"));
  WriteAll(CacheOf("Full") + "old.xml", "stale");
  try {
    opener.OpenBook(
        MakeBook("Full.exe", PatternBytes(300), {{"a.xml", "aaaa"}, {"b.xml", "bbbb"}}));
    ADD_FAILURE() << "no error";
  } catch (const EWriteError& e) {
    EXPECT_STREQ(e.what(),
                 "Stream write error\nThe folder \"/the/folder\" can't take the file: No space "
                 "left on device");
  }
  EXPECT_TRUE(fs::is_empty(CacheOf("Full")));
  EXPECT_EQ(ReadAll(CacheOf("Playing") + "p.xml"), "playing");
  EXPECT_EQ(opener.CacheFolder(), CacheOf("Playing"));
  EXPECT_EQ(player_.calls, calls);
}

TEST_F(BookOpenerTest, CloseRemovesTheRunsOwnFoldersOnly) {
  opener_.OpenBook(MakeBook("Own.exe", PatternBytes(300), {{"own.xml", "own"}}), Ownership::kOwn);
  opener_.OpenBook(MakeBook("Named.exe", PatternBytes(300), {{"n.xml", "named"}}), Ownership::kOwn);
  opener_.OpenBook(MakeBook("Dropped.exe", PatternBytes(300), {{"d.xml", "dropped"}}));
  opener_.OpenBook(MakeBook("Last.exe", PatternBytes(300), {{"l.xml", "last"}}));
  // A dropped book that no longer plays is no longer this reader's.
  EXPECT_EQ(claims_.held,
            (std::set<std::string>{CacheOf("Own"), CacheOf("Named"), CacheOf("Last")}));

  opener_.CloseBooks("Own.exe");

  EXPECT_FALSE(fs::exists(CacheOf("Own")));
  EXPECT_FALSE(fs::exists(CacheOf("Named")));
  EXPECT_EQ(NamesIn(CacheOf("Dropped")), std::vector<std::string>{"d.xml"});
  EXPECT_EQ(NamesIn(CacheOf("Last")), std::vector<std::string>{"l.xml"});
}

TEST_F(BookOpenerTest, AFolderNamedExeRefillsFromTheCurrentBook) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300), {{"page.xml", "<p/>"}}));
  const std::string firstMovie = opener_.MovieTempPath();
  fs::create_directory(folders_.work() + "/x.exe");

  opener_.OpenBook(folders_.work() + "/x.exe");

  EXPECT_EQ(opener_.CacheFolder(), CacheOf("x"));
  EXPECT_EQ(NamesIn(CacheOf("x")), std::vector<std::string>{"page.xml"});
  EXPECT_FALSE(fs::exists(firstMovie));
  EXPECT_EQ(ReadAll(opener_.MovieTempPath()), PatternBytes(300));
  EXPECT_EQ(player_.calls.size(), 4u);
  EXPECT_EQ(player_.calls[2], "Movie " + opener_.MovieTempPath());
}

TEST_F(BookOpenerTest, BookNamesWithoutAFolderOfTheirOwnTouchNothing) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300)));
  const std::string movie = opener_.MovieTempPath();
  // Files the user keeps where such a name would point.
  WriteAll(folders_.data() + "/pagoro/notes.txt", "product");
  WriteAll(folders_.data() + "/user.txt", "data");
  WriteAll(folders_.work() + "/work.txt", "work");

  for (const char* fileName : {".exe", "..exe", "...exe"}) {
    const std::string path = MakeBook(fileName, PatternBytes(200), {{"user.txt", "overwritten?"}});
    EXPECT_THROW(opener_.OpenBook(path), EBookNameError) << fileName;
    opener_.CloseBooks(fileName);
    EXPECT_EQ(ReadAll(folders_.data() + "/pagoro/notes.txt"), "product");
    EXPECT_EQ(ReadAll(folders_.data() + "/user.txt"), "data");
    EXPECT_EQ(ReadAll(folders_.work() + "/work.txt"), "work");
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

TEST_F(BookOpenerTest, ALinkedFolderIsRefusedAndWhatItPointsToSurvives) {
  opener_.OpenBook(MakeBook("Spring.exe", PatternBytes(300)));
  const std::string movie = opener_.MovieTempPath();
  const std::string own = folders_.work() + "/Documents";
  fs::create_directories(own + "/sub");
  WriteAll(own + "/thesis.odt", "thesis");
  WriteAll(own + "/notes.txt", "notes");
  fs::create_directory_symlink(own, CacheOf("Linked").substr(0, CacheOf("Linked").size() - 1));

  const std::string linked = MakeBook("Linked.exe", PatternBytes(200), {{"notes.txt", "book"}});
  EXPECT_THROW(opener_.OpenBook(linked), ECacheFolderError);
  opener_.CloseBooks("Linked.exe");

  EXPECT_EQ(NamesIn(own), (std::vector<std::string>{"notes.txt", "sub", "thesis.odt"}));
  EXPECT_EQ(ReadAll(own + "/thesis.odt"), "thesis");
  EXPECT_EQ(ReadAll(own + "/notes.txt"), "notes");
  // The refusal changed nothing of the book that was shown.
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_EQ(player_.calls, Played(movie));
}

// unzip leaves the names of a Chinese Windows archive in code page 936 bytes.
TEST_F(BookOpenerTest, ABookNamedInCodePage936GetsALegibleFolder) {
  const std::string gbkName = "\xD4\xD3\xD6\xBE.exe";  // 杂志.exe
  opener_.OpenBook(MakeBook(gbkName, PatternBytes(300), {{"page.xml", "<p/>"}}));
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("杂志"));
  EXPECT_EQ(NamesIn(CacheOf("杂志")), std::vector<std::string>{"page.xml"});
  EXPECT_EQ(ReadAll(opener_.MovieTempPath()), PatternBytes(300));
  opener_.CloseBooks(gbkName);
  EXPECT_FALSE(fs::exists(CacheOf("杂志")));
}

// The system reports less room than the book asks for.
class SmallDiskEnv : public testing::EnvWrapper {
 public:
  explicit SmallDiskEnv(std::uint64_t free) : free_(free) {}
  std::optional<std::uint64_t> FreeSpace(const std::string&) override { return free_; }

 private:
  std::uint64_t free_;
};

TEST_F(BookOpenerTest, ABookThatAsksForMoreRoomThanIsFreeWritesNothing) {
  // 1 MiB stored once, named by 400 entries: the files need 400 MiB.
  const std::string data = PatternBytes(1 << 20);
  std::string index = "buildexe\r\nversion|2.0|1|800|600|\r\nmain.swf|0|100|FWS\r\n";
  for (int i = 0; i < 400; ++i)
    index += "copy" + std::to_string(i) + ".bin|3|" + std::to_string(data.size() - 3) + "|FWS\r\n";
  std::string book = data + index;
  const auto length = static_cast<std::uint32_t>(index.size());
  for (int i = 0; i < 4; ++i) book += static_cast<char>((length >> (8 * i)) & 0xFF);
  const std::string path = folders_.work() + "/Shared.exe";
  WriteAll(path, book);

  SmallDiskEnv env(64u << 20);
  BookOpener opener(env, player_, [](const std::string&) {});
  try {
    opener.OpenBook(path);
    FAIL() << "no error";
  } catch (const ENoSpaceError& e) {
    EXPECT_EQ(std::string(e.what()), "Not enough free space in \"" + folders_.data() +
                                         "/pagoro/Shared\" for the book's files: they need "
                                         "400.0 MiB, 64.0 MiB are free");
  }
  EXPECT_TRUE(NamesIn(CacheOf("Shared")).empty());
  EXPECT_TRUE(player_.calls.empty());
}

TEST_F(BookOpenerTest, AMovieFileThatCannotBeWrittenWholeIsRemoved) {
  const std::string path = MakeBook("Big.exe", PatternBytes(256 * 1024), {{"page.xml", "<p/>"}});
  // The system refuses to let a file grow past 64 KiB, as a full folder would.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(opener_.OpenBook(path), EWriteError);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_TRUE(NamesIn(folders_.tmp()).empty());
  EXPECT_EQ(opener_.MovieTempPath(), "");
}

TEST_F(BookOpenerTest, OpenFileKnowsABookByItsContentWhateverItsName) {
  const std::vector<PackEntry> pages = {{"page1.xml", "<?xml?>"}};
  std::vector<PackEntry> entries = pages;
  entries.push_back({"main.swf", Movie()});
  SortEntries(entries);
  const std::string windowsBook = folders_.work() + "/MAGAZINE.EXE";
  WriteAll(windowsBook,
           PackBook(std::string("MZ\x90\0windows program", 20), entries, PackOptions{}));

  EXPECT_EQ(OpenedKind(windowsBook), FileKind::kBook);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("MAGAZINE"));
  EXPECT_EQ(NamesIn(CacheOf("MAGAZINE")), (std::vector<std::string>{"page1.xml"}));
  EXPECT_EQ(ReadAll(opener_.MovieTempPath()), Movie());
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

// A book too large to be mapped as one, opened by name or dropped: the
// mapping message as it always read, and a line naming the file and why;
// what plays goes on.
TEST_F(BookOpenerTest, ABookTooLargeToMapGetsTheMappingMessageNamingIt) {
  const std::string playing = MakeBook("Playing.exe", Movie());
  ASSERT_EQ(OpenedKind(playing), FileKind::kBook);
  const std::string identity = opener_.Identity();
  const std::string packed = ReadAll(MakeBook("Small.exe", Movie("big")));
  const std::uint32_t indexLength = static_cast<unsigned char>(packed[packed.size() - 4]) |
                                    static_cast<unsigned char>(packed[packed.size() - 3]) << 8 |
                                    static_cast<unsigned char>(packed[packed.size() - 2]) << 16 |
                                    static_cast<unsigned char>(packed[packed.size() - 1]) << 24;
  // Sparse: 4 GiB of nothing, then the small book's index, so that it is
  // judged a book.
  const std::string big = folders_.work() + "/Big.exe";
  WriteAll(big, "");
  std::filesystem::resize_file(big, std::uintmax_t{1} << 32);
  {
    std::ofstream out(big, std::ios::binary | std::ios::app);
    out << packed.substr(packed.size() - 4 - indexLength);
  }
  const std::string message = std::string(kMappingErrorMessage) +
                              "\n\"Big.exe\": the file is 4 GiB or larger, more than a book can be";
  EXPECT_ANY_THROW(opener_.OpenFile(big));
  EXPECT_ANY_THROW(opener_.OpenBook(big));
  EXPECT_EQ(messages_, (std::vector<std::string>{message, message}));
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Playing"));
  EXPECT_EQ(opener_.Identity(), identity);
  EXPECT_FALSE(identity.empty());
}

TEST_F(BookOpenerTest, MoviesAndProjectorsPlayWithTheirOwnFolderAndNoCacheFolder) {
  const std::string movie = Movie("game");
  const std::string projector = MakeProjector("Game.exe", movie);
  // A folder named in GBK bytes (as unzip leaves names from a Chinese
  // archive): the player gets the path as it is, byte for byte.
  const std::string gbk = folders_.work() + "/\xD4\xD3\xD6\xBE";
  fs::create_directory(gbk);
  const std::string plain = gbk + "/intro.swf";
  WriteAll(plain, Movie("intro"));

  EXPECT_EQ(OpenedKind(projector), FileKind::kProjector);
  const std::string extracted = opener_.MovieTempPath();
  EXPECT_EQ(fs::path(extracted).parent_path(), folders_.tmp());
  EXPECT_EQ(ReadAll(extracted), movie);
  EXPECT_EQ(opener_.CacheFolder(), folders_.work() + "/");
  EXPECT_EQ(opener_.MovieWidth(), 550);
  EXPECT_EQ(opener_.MovieHeight(), 400);

  // The plain movie plays where it lies; the projector's copy is gone.
  EXPECT_EQ(OpenedKind(plain), FileKind::kMovie);
  EXPECT_FALSE(fs::exists(extracted));
  EXPECT_EQ(opener_.MovieTempPath(), "");
  EXPECT_EQ(opener_.CacheFolder(), gbk + "/");
  EXPECT_EQ(player_.calls.back(), "Play");
  EXPECT_EQ(player_.calls[player_.calls.size() - 2], "Movie " + plain);

  // Closing never deletes the user's own movie, and no book folder was made.
  opener_.CloseBooks("pagoro");
  EXPECT_EQ(ReadAll(plain), Movie("intro"));
  EXPECT_EQ(NamesIn(folders_.data() + "/pagoro"), std::vector<std::string>{});
}

// A compressed movie keeps its stage size in its compressed part: opened
// by itself or from a projector it still sizes the window.
TEST_F(BookOpenerTest, ACompressedMovieGetsItsOwnStageSize) {
  swf::MovieBuilder builder({.width = 1024, .height = 700});
  builder.Add(swf::ShowFrame());
  const swf::Bytes plain = builder.Finish();
  for (const swf::Bytes& bytes : {swf::CompressMovie(plain), swf::LzmaCompressMovie(plain)}) {
    const std::string movie(bytes.begin(), bytes.end());
    SCOPED_TRACE(movie.substr(0, 3));
    const std::string file = folders_.work() + "/" + movie.substr(0, 3) + ".swf";
    WriteAll(file, movie);
    EXPECT_EQ(OpenedKind(file), FileKind::kMovie);
    EXPECT_EQ(opener_.MovieWidth(), 1024);
    EXPECT_EQ(opener_.MovieHeight(), 700);
    const std::string projector = folders_.work() + "/" + movie.substr(0, 3) + ".exe";
    WriteAll(projector, "MZ projector" + movie + Le32(0xFA123456) +
                            Le32(static_cast<std::uint32_t>(movie.size())));
    EXPECT_EQ(OpenedKind(projector), FileKind::kProjector);
    EXPECT_EQ(opener_.MovieWidth(), 1024);
    EXPECT_EQ(opener_.MovieHeight(), 700);
  }
}

TEST_F(BookOpenerTest, AFileThatHoldsNoMagazineIsNamedAndChangesNothing) {
  const std::string book = MakeBook("Spring.exe", Movie());
  opener_.OpenFile(book);
  const std::vector<std::string> calls = player_.calls;
  const std::string moviePath = opener_.MovieTempPath();
  const std::string junk = folders_.work() + "/Notes.EXE";
  WriteAll(junk, "MZ just a program" + Le32(0));

  try {
    opener_.OpenFile(junk);
    ADD_FAILURE() << "no error";
  } catch (const ENoMagazine& e) {
    EXPECT_EQ(
        std::string(e.what()),
        "\"" + junk + "\" holds no magazine: it is neither a book nor a Flash movie or projector");
  }
  EXPECT_THROW(opener_.OpenFile(folders_.work() + "/missing.swf"), Exception);
  EXPECT_EQ(player_.calls, calls);
  EXPECT_EQ(opener_.CacheFolder(), CacheOf("Spring"));
  EXPECT_EQ(opener_.MovieTempPath(), moviePath);
  EXPECT_FALSE(fs::exists(folders_.data() + "/pagoro/Notes"));
  EXPECT_TRUE(messages_.empty());
}

// Passes every call on, and runs `between` once, right after the first
// file is opened (mapped): the moment between judging a file and reading it.
class AfterFirstOpenEnv : public testing::EnvWrapper {
 public:
  std::unique_ptr<MappedFile> MapReadOnly(const std::string& path, std::string* error) override {
    std::unique_ptr<MappedFile> file = EnvWrapper::MapReadOnly(path, error);
    if (between) std::exchange(between, nullptr)();
    return file;
  }
  std::function<void()> between;
};

// A file swapped for a FIFO after it was judged: opening the FIFO by its
// name to read it would wait for a writer for ever. The book is read from
// the file that was judged.
TEST_F(BookOpenerTest, AFileSwappedForAFifoAfterItsJudgingPlaysTheJudgedOne) {
  const std::string path = MakeBook("Spring.exe", Movie(), {{"page1.xml", "<?xml?>"}});
  const std::string fifo = folders_.work() + "/fifo";
  AfterFirstOpenEnv env;
  env.between = [&] {
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::rename(fifo, path);
  };
  BookOpener opener(env, player_, [this](const std::string& text) { messages_.push_back(text); });
  auto opening = std::async(std::launch::async, [&] { return opener.OpenFile(path); });
  if (opening.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    // A writer lets a reader that waits in open() go.
    close(open(path.c_str(), O_WRONLY | O_NONBLOCK));
    FAIL() << "the opening waited on the FIFO";
  }
  EXPECT_EQ(opening.get(), OpenOutcome::kOpened);
  EXPECT_EQ(NamesIn(CacheOf("Spring")), std::vector<std::string>{"page1.xml"});
  EXPECT_EQ(ReadAll(opener.MovieTempPath()), Movie());
  EXPECT_EQ(player_.calls, Played(opener.MovieTempPath()));
  EXPECT_TRUE(messages_.empty());
  opener.CloseBooks("Spring.exe");
}

// The product folder, or the folder above it, swapped for a link to the
// user's own files after the book folder was made (a process of the same
// user racing the reader): the files go where the folder was opened,
// nothing of the decoy is read, written or deleted, and the close removes
// the book folder that was filled.
TEST_F(BookOpenerTest, AProductFolderSwappedForALinkMidWayReachesNothingElse) {
  const std::string book = MakeBook("Spring.exe", Movie(), {{"page1.xml", "<?xml?>"}});
  const std::string product = folders_.data() + "/pagoro";
  const std::string decoy = folders_.work() + "/decoy";
  for (const std::string& swapped : {product, folders_.data()}) {
    SCOPED_TRACE(swapped);
    fs::remove_all(decoy);
    fs::create_directories(product);
    // The decoy holds what the swapped path would lead to.
    const std::string decoyBook = decoy + (swapped == product ? "" : "/pagoro") + "/Spring";
    fs::create_directories(decoyBook);
    WriteAll(decoyBook + "/thesis.odt", "mine");
    WriteAll(decoyBook + "/page1.xml", "my own page");
    const std::string moved = swapped + ".moved";
    AfterFirstOpenEnv env;
    env.between = [&] {
      fs::rename(swapped, moved);
      fs::create_directory_symlink(decoy, swapped);
    };
    {
      BookOpener opener(env, player_, [](const std::string&) {});
      opener.OpenBook(book);
      const std::string filled = moved + (swapped == product ? "" : "/pagoro") + "/Spring";
      EXPECT_EQ(NamesIn(filled), std::vector<std::string>{"page1.xml"});
      EXPECT_EQ(ReadAll(filled + "/page1.xml"), "<?xml?>");
      opener.CloseBooks("Spring.exe");
      EXPECT_FALSE(fs::exists(filled));
    }
    EXPECT_EQ(NamesIn(decoyBook), (std::vector<std::string>{"page1.xml", "thesis.odt"}));
    EXPECT_EQ(ReadAll(decoyBook + "/page1.xml"), "my own page");
    EXPECT_EQ(ReadAll(decoyBook + "/thesis.odt"), "mine");
    fs::remove(swapped);
    fs::rename(moved, swapped);
  }
}

// A file cut short after it was opened and before it was judged (a disc
// or stick removed; a real mapping of the real file): a message that names
// it, never a fault on a vanished page, and the playing book stays current.
TEST_F(BookOpenerTest, AFileCutShortBeforeItIsJudgedIsNamedAndChangesNothing) {
  const std::string movie = Movie("game");
  const std::string projector = MakeProjector("Game.exe", movie);
  const std::string plain = folders_.work() + "/intro.swf";
  WriteAll(plain, Movie(PatternBytes(20000)));
  const std::string book = MakeBook("Autumn", Movie(), {{"page1.xml", PatternBytes(20000)}});
  const std::string playing = MakeBook("Spring.exe", Movie());
  AfterFirstOpenEnv env;
  BookOpener opener(
      env, player_, [this](const std::string& text) { messages_.push_back(text); }, &claims_);
  opener.OpenBook(playing);
  const auto calls = player_.calls;
  const std::string moviePath = opener.MovieTempPath();
  for (const std::string& path : {projector, plain, book}) {
    for (const std::uintmax_t size : {std::uintmax_t{0}, fs::file_size(path) / 2}) {
      SCOPED_TRACE(path + " cut to " + std::to_string(size));
      const std::string whole = ReadAll(path);
      env.between = [&] { fs::resize_file(path, size); };
      try {
        opener.OpenFile(path);
        ADD_FAILURE() << "no error";
      } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + fs::path(path).filename().string() +
                                             "\" can't be read any more"),
                  std::string::npos)
            << e.what();
      }
      EXPECT_EQ(player_.calls, calls);
      EXPECT_EQ(opener.CacheFolder(), CacheOf("Spring"));
      EXPECT_EQ(opener.MovieTempPath(), moviePath);
      EXPECT_EQ(NamesIn(folders_.tmp()),
                std::vector<std::string>{fs::path(moviePath).filename().string()});
      EXPECT_FALSE(fs::exists(CacheOf("Autumn")));
      WriteAll(path, whole);
    }
  }
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace pagoro
