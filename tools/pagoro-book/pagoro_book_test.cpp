// Runs the built pagoro-book as a user would, in private folders.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/private_folders.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;
using testing::PatternBytes;
using testing::PrivateFolders;
using testing::ReadTestFile;
using testing::WriteTestFile;

struct Result {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class PagoroBookTest : public ::testing::Test {
 protected:
  Result Run(const std::vector<std::string>& args) {
    const std::string out = folders_.tmp() + "/run.out";
    const std::string err = folders_.tmp() + "/run.err";
    std::string command = "timeout 60 " + Quoted(tool_);
    for (const auto& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted(out) + " 2>" + Quoted(err);
    const int status = std::system(command.c_str());
    Result result;
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadTestFile(out);
    result.err = ReadTestFile(err);
    fs::remove(out);
    fs::remove(err);
    return result;
  }
  // A folder `name` in the work folder holding `files`.
  std::string MakeFolder(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string dir = folders_.work() + "/" + name;
    fs::create_directories(dir);
    for (const auto& [file, bytes] : files) WriteTestFile(dir + "/" + file, bytes);
    return dir;
  }
  // Packs `files` with `options`, extracts the book into a new folder and
  // expects the very same files back.
  void ExpectRoundTrip(const std::vector<std::pair<std::string, std::string>>& files,
                       const std::vector<std::string>& options) {
    const std::string dir = MakeFolder("in", files);
    const std::string book = folders_.work() + "/Book.exe";
    std::vector<std::string> pack{"pack", dir, "-o", book, "--reader", folders_.work() + "/reader"};
    pack.insert(pack.end(), options.begin(), options.end());
    const Result packed = Run(pack);
    ASSERT_EQ(packed.exit, 0) << packed.err;
    EXPECT_EQ(ReadTestFile(book).substr(0, 6), "READER");
    const std::string outDir = MakeFolder("out", {});
    const Result extracted = Run({"extract", book, outDir});
    ASSERT_EQ(extracted.exit, 0) << extracted.err;
    std::vector<std::string> names;
    for (const auto& [file, bytes] : files) {
      names.push_back(file);
      EXPECT_EQ(ReadTestFile(outDir + "/" + file), bytes) << file;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(NamesIn(outDir), names);
    EXPECT_TRUE(NamesIn(folders_.tmp()).empty());  // the movie was moved, not copied
    fs::remove_all(dir);
    fs::remove_all(outDir);
  }
  void SetUp() override { WriteTestFile(folders_.work() + "/reader", "READER program image"); }

  PrivateFolders folders_;
  std::string tool_ = PAGORO_BOOK_TOOL;
};

TEST_F(PagoroBookTest, Format20RoundTripsByteExact) {
  ExpectRoundTrip({{"main.swf", PatternBytes(20000)},
                   {"page1.xml", "<?xml version=\"1.0\"?>"},
                   {"empty.dat", "abc"},
                   {"music.mp3", PatternBytes(12345, 3)},
                   {"pipe.bin", "|||tail"}},
                  {});
}

TEST_F(PagoroBookTest, Format10RoundTripsAroundTheRotationLength) {
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{10240}, std::size_t{10241}, std::size_t{30000}}) {
    SCOPED_TRACE(size);
    ExpectRoundTrip({{"main.swf", PatternBytes(size)}}, {"--format", "1.0"});
  }
}

TEST_F(PagoroBookTest, ChineseFileNamesRoundTrip) {
  ExpectRoundTrip({{"main.swf", PatternBytes(100)}, {"页面一.xml", "<p>一</p>"}, {"昞.txt", "abc"}},
                  {"--format=2.0"});
}

TEST_F(PagoroBookTest, InfoAndListDescribeTheIndex) {
  const std::string dir = MakeFolder("in", {{"main.swf", "FWSabcd"}, {"页.xml", "<?x"}});
  const std::string book = folders_.work() + "/Book.exe";
  ASSERT_EQ(
      Run({"pack", "--size", "640x480", dir, "--reader=" + folders_.work() + "/reader", "-o", book})
          .exit,
      0);

  const Result info = Run({"info", book});
  EXPECT_EQ(info.exit, 0);
  EXPECT_EQ(info.out, "format: 2.0\nmovie: 640x480\nentries: 2\n");
  const Result list = Run({"list", book});
  EXPECT_EQ(list.exit, 0);
  EXPECT_EQ(list.out, "main.swf\t20\t4\n页.xml\t24\t0\n");

  // Packed into its own folder, again: the earlier book is no entry. The
  // size of a format 1.0 line is the rest of the line.
  const std::string again = dir + "/Book.exe";
  ASSERT_EQ(
      Run({"pack", dir, "-o", again, "--format", "1.0", "--reader", folders_.work() + "/reader"})
          .exit,
      0);
  ASSERT_EQ(
      Run({"pack", dir, "-o", again, "--format", "1.0", "--reader", folders_.work() + "/reader"})
          .exit,
      0);
  EXPECT_EQ(Run({"list", again}).out, "main.swf\t20\t7\n页.xml\t27\t3\n");
  EXPECT_EQ(Run({"info", again}).out, "format: 1.0\nmovie: 800x600\nentries: 2\n");
}

TEST_F(PagoroBookTest, TheDefaultImageIsTheReaderBesideTheTool) {
  const std::string dir = MakeFolder("in", {{"main.swf", "FWS"}});
  const std::string bin = MakeFolder("bin", {});
  fs::copy_file(PAGORO_BOOK_TOOL, bin + "/pagoro-book");
  fs::permissions(bin + "/pagoro-book", fs::perms::owner_all);
  tool_ = bin + "/pagoro-book";
  for (const std::string image : {"", "the pagoro program"}) {
    if (!image.empty()) WriteTestFile(bin + "/pagoro", image);
    const std::string book = folders_.work() + "/Book.exe";
    ASSERT_EQ(Run({"pack", dir, "-o", book, "--format", "1.0"}).exit, 0);
    const std::string index =
        "buildexe\r\nversion|1.0|1|800|600|\r\nmain.swf|" + std::to_string(image.size()) + "|3\r\n";
    EXPECT_EQ(ReadTestFile(book), image + "FWS" + index +
                                      std::string(1, static_cast<char>(index.size())) +
                                      std::string(3, '\0'));
  }
}

TEST_F(PagoroBookTest, ErrorsPrintTheMessageAndExitOne) {
  const std::string dir = MakeFolder("in", {{"main.swf", PatternBytes(50)}, {"page.xml", "<?x"}});
  const std::string book = folders_.work() + "/Book.exe";
  ASSERT_EQ(Run({"pack", dir, "-o", book}).exit, 0);
  const std::string noContainer = folders_.work() + "/plain.exe";
  WriteTestFile(noContainer, std::string("ELF\0\0\0\0", 7));
  const std::string v10 = folders_.work() + "/v10.exe";
  const Result warned = Run({"pack", dir, "-o", v10, "--format", "1.0"});
  EXPECT_EQ(warned.exit, 0);
  EXPECT_NE(warned.err.find("warning"), std::string::npos);
  const std::string missing = folders_.work() + "/missing.exe";
  const std::string empty = MakeFolder("empty", {});

  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"extract", missing, empty}, "pagoro-book: No book file at \"" + missing + "\"\n"},
      {{"info", missing}, "pagoro-book: No book file at \"" + missing + "\"\n"},
      {{"list", dir}, "pagoro-book: No book file at \"" + dir + "\"\n"},
      {{"extract", book, book}, "pagoro-book: \"" + book + "\" is not a folder\n"},
      {{"extract", book, dir},
       "pagoro-book: \"" + dir + "\" holds files; extract into a folder without files\n"},
      {{"info", noContainer}, "List index out of bounds (1)\n"},
      {{"extract", noContainer, empty}, "List index out of bounds (1)\n"},
      {{"extract", v10, empty}, "'' is not a valid integer value\n"},
      {{"pack", book, "-o", folders_.work() + "/x.exe"},
       "pagoro-book: \"" + book + "\" is not a folder\n"},
      {{"pack", dir, "-o", folders_.work() + "/no/x.exe"}, ""},
  };
  for (const auto& c : cases) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.exit, 1) << c.args[0] << " " << c.args[1];
    if (!c.err.empty()) {
      EXPECT_EQ(result.err, c.err) << c.args[0] << " " << c.args[1];
    }
  }
  EXPECT_EQ(NamesIn(dir), (std::vector<std::string>{"main.swf", "page.xml"}));  // nothing emptied
  EXPECT_TRUE(NamesIn(empty).empty());
}

TEST_F(PagoroBookTest, BadArgumentsShowTheUsageAndExitTwo) {
  const std::string dir = MakeFolder("in", {{"main.swf", "FWS"}});
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"open"},
      {"extract", "a.exe"},
      {"info"},
      {"list", "a", "b"},
      {"pack", dir},
      {"pack", "-o", "x.exe"},
      {"pack", dir, "-o"},
      {"pack", dir, "-o", "x.exe", "--format", "3.0"},
      {"pack", dir, "-o", "x.exe", "--size", "800"},
      {"pack", dir, "-o", "x.exe", "--colour", "red"},
      {"pack", dir, dir, "-o", "x.exe"},
  };
  for (const auto& args : cases) {
    const Result result = Run(args);
    EXPECT_EQ(result.exit, 2) << ::testing::PrintToString(args);
    EXPECT_NE(result.err.find("Usage: pagoro-book"), std::string::npos);
  }
}

TEST_F(PagoroBookTest, HelpAndVersion) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_EQ(help.out.rfind("Usage: pagoro-book", 0), 0u);
  const Result version = Run({"--version"});
  EXPECT_EQ(version.exit, 0);
  EXPECT_EQ(version.out, "pagoro-book " PAGORO_VERSION "\n");
}

}  // namespace
}  // namespace pagoro
