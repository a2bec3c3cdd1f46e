// Runs the built pagoro-book as a user would, in private folders.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "testing/book_builder.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;
using testing::PatternBytes;
using testing::PrivateFolder;
using testing::ReadAll;
using testing::WriteAll;

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
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    fs::remove(out);
    fs::remove(err);
    return result;
  }
  // A folder `name` in the work folder holding `files`.
  std::string MakeFolder(const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string dir = folders_.work() + "/" + name;
    fs::create_directories(dir);
    for (const auto& [file, bytes] : files) WriteAll(dir + "/" + file, bytes);
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
    EXPECT_EQ(ReadAll(book).substr(0, 6), "READER");
    const std::string outDir = MakeFolder("out", {});
    const Result extracted = Run({"extract", book, outDir});
    ASSERT_EQ(extracted.exit, 0) << extracted.err;
    std::vector<std::string> names;
    for (const auto& [file, bytes] : files) {
      names.push_back(file);
      EXPECT_EQ(ReadAll(outDir + "/" + file), bytes) << file;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(NamesIn(outDir), names);
    EXPECT_TRUE(NamesIn(folders_.tmp()).empty());  // the movie was moved, not copied
    fs::remove_all(dir);
    fs::remove_all(outDir);
  }
  void SetUp() override { WriteAll(folders_.work() + "/reader", "READER program image"); }

  PrivateFolder folders_;
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
  // Format 2.0 keeps three bytes of each file in the index: the file is
  // three bytes longer than what is stored.
  const Result list = Run({"list", book});
  EXPECT_EQ(list.exit, 0);
  EXPECT_EQ(list.out, "name\toffset\tstored\tsize\nmain.swf\t20\t4\t7\n页.xml\t24\t0\t3\n");
  EXPECT_EQ(list.err, "");

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
  EXPECT_EQ(Run({"list", again}).out,
            "name\toffset\tstored\tsize\nmain.swf\t20\t7\t7\n页.xml\t27\t3\t3\n");
  EXPECT_EQ(Run({"info", again}).out, "format: 1.0\nmovie: 800x600\nentries: 2\n");
}

TEST_F(PagoroBookTest, TheDefaultImageIsTheReaderBesideTheTool) {
  const std::string dir = MakeFolder("in", {{"main.swf", "FWS"}});
  const std::string bin = MakeFolder("bin", {});
  fs::copy_file(PAGORO_BOOK_TOOL, bin + "/pagoro-book");
  fs::permissions(bin + "/pagoro-book", fs::perms::owner_all);
  tool_ = bin + "/pagoro-book";
  for (const std::string image : {"", "the pagoro program"}) {
    if (!image.empty()) WriteAll(bin + "/pagoro", image);
    const std::string book = folders_.work() + "/Book.exe";
    ASSERT_EQ(Run({"pack", dir, "-o", book, "--format", "1.0"}).exit, 0);
    const std::string index =
        "buildexe\r\nversion|1.0|1|800|600|\r\nmain.swf|" + std::to_string(image.size()) + "|3\r\n";
    EXPECT_EQ(ReadAll(book), image + "FWS" + index +
                                 std::string(1, static_cast<char>(index.size())) +
                                 std::string(3, '\0'));
  }
}

// `reader` gives back the program a book starts with, a Windows one
// included, so that `pack --reader` makes the same book again.
TEST_F(PagoroBookTest, ReaderWritesTheProgramBeforeTheContainer) {
  const std::string dir = MakeFolder("in", {{"main.swf", PatternBytes(3000)}, {"p.xml", "<p/>"}});
  const std::string stub = folders_.work() + "/stub";
  WriteAll(stub, "MZ\x90" + PatternBytes(5000, 7));
  const std::string book = folders_.work() + "/MAGAZINE.EXE";
  ASSERT_EQ(Run({"pack", dir, "-o", book, "--reader", stub}).exit, 0);

  const std::string out = folders_.work() + "/Stub.exe";
  const Result taken = Run({"reader", book, "-o", out});
  ASSERT_EQ(taken.exit, 0) << taken.err;
  EXPECT_EQ(ReadAll(out), ReadAll(stub));
  EXPECT_EQ(taken.err, "pagoro-book: wrote " + out + ": 5003 bytes, the reader part of " + book +
                           " (a Windows program)\n");
  const std::string again = folders_.work() + "/AGAIN.EXE";
  ASSERT_EQ(Run({"pack", dir, "-o", again, "--reader", out}).exit, 0);
  EXPECT_EQ(ReadAll(again), ReadAll(book));

  // A format 1.0 book, and one whose entry names bytes inside the program:
  // the container begins with the first stored bytes any entry names.
  const std::string v10 = folders_.work() + "/v10.exe";
  ASSERT_EQ(Run({"pack", MakeFolder("one", {{"main.swf", "FWS1"}}), "-o", v10, "--format", "1.0",
                 "--reader", stub})
                .exit,
            0);
  ASSERT_EQ(Run({"reader", "--output=" + out, "--", v10}).exit, 0);
  EXPECT_EQ(ReadAll(out), ReadAll(stub));
  const std::string early = folders_.work() + "/early.exe";
  WriteAll(early, testing::WithIndex("\x7f"
                                     "ELF program FWS",
                                     "buildexe\r\nversion|2.0|1|640|480|\r\n"
                                     "main.swf|12|0|FWS\r\nlate.xml|15|0|<p>\r\n"));
  const Result elf = Run({"reader", early, "-o", out});
  ASSERT_EQ(elf.exit, 0) << elf.err;
  EXPECT_EQ(ReadAll(out),
            "\x7f"
            "ELF program");
  EXPECT_NE(elf.err.find("(a Linux program)"), std::string::npos) << elf.err;
}

TEST_F(PagoroBookTest, ReaderRefusesWhatHasNoReaderPart) {
  const std::string dir = MakeFolder("in", {{"main.swf", "FWS"}});
  const std::string bare = folders_.work() + "/Bare.exe";
  ASSERT_EQ(Run({"pack", dir, "-o", bare, "--reader", ""}).exit, 0);
  const std::string book = folders_.work() + "/Book.exe";
  ASSERT_EQ(Run({"pack", dir, "-o", book, "--reader", folders_.work() + "/reader"}).exit, 0);
  const std::string movie = folders_.work() + "/movie.swf";
  WriteAll(movie, std::string("FWS\x08\x20\x00\x00\x00", 8) + PatternBytes(24));
  const std::string out = folders_.work() + "/Stub.exe";
  const std::string before = ReadAll(book);

  const struct {
    std::vector<std::string> args;
    int exit;
    std::string err;  // its start
  } cases[] = {
      {{"reader", bare, "-o", out}, 1, "pagoro-book: \"" + bare + "\" has no reader part"},
      {{"reader", book, "-o", book}, 1, "pagoro-book: \"" + book + "\" is the book itself"},
      {{"reader", movie, "-o", out}, 1, "pagoro-book: \"" + movie + "\" is a Flash movie"},
      {{"reader", dir, "-o", out}, 1, "pagoro-book: \"" + dir + "\" is a folder"},
      {{"reader", book}, 2, "pagoro-book: reader needs -o OUT\nUsage: pagoro-book reader"},
      {{"reader", "-o", out}, 2, "pagoro-book: reader needs a book\n"},
      {{"reader", book, book, "-o", out}, 2, "pagoro-book: reader takes one book\n"},
  };
  for (const auto& c : cases) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.exit, c.exit) << c.err;
    EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    EXPECT_FALSE(fs::exists(out)) << c.err;
  }
  EXPECT_EQ(ReadAll(book), before);
}

TEST_F(PagoroBookTest, ErrorsPrintTheMessageAndExitOne) {
  const std::string dir = MakeFolder("in", {{"main.swf", PatternBytes(50)}, {"page.xml", "<?x"}});
  const std::string book = folders_.work() + "/Book.exe";
  ASSERT_EQ(Run({"pack", dir, "-o", book}).exit, 0);
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
      {{"list", dir}, "pagoro-book: \"" + dir + "\" is a folder, not a magazine\n"},
      {{"extract", book, book}, "pagoro-book: \"" + book + "\" is not a folder\n"},
      {{"extract", book, dir},
       "pagoro-book: \"" + dir + "\" holds files; extract into a folder without files\n"},
      {{"extract", v10, empty}, "pagoro-book: \"" + v10 + "\": '' is not a valid integer value\n"},
      {{"pack", book, "-o", folders_.work() + "/x.exe"},
       "pagoro-book: \"" + book + "\" is not a folder\n"},
      {{"pack", dir, "-o", folders_.work() + "/no/x.exe"}, ""},
  };
  for (const auto& c : cases) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.exit, 1) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("pagoro-book: ", 0), 0u) << result.err;
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

// "--" ends the options of every command: a name after it that starts
// with "-" is a name, and "--help" after it is no request for help.
TEST_F(PagoroBookTest, DoubleDashEndsTheOptions) {
  const std::string dir = MakeFolder("-in", {{"main.swf", "FWS movie"}});
  const fs::path before = fs::current_path();
  fs::current_path(folders_.work());
  const Result packed = Run({"pack", "-o", "-Book.exe", "--reader", "reader", "--", "-in"});
  ASSERT_EQ(packed.exit, 0) << packed.err;
  const Result info = Run({"info", "--", "-Book.exe"});
  EXPECT_EQ(info.exit, 0) << info.err;
  const std::string outDir = MakeFolder("-out", {});
  const Result extracted = Run({"extract", "--", "-Book.exe", "-out"});
  ASSERT_EQ(extracted.exit, 0) << extracted.err;
  EXPECT_EQ(ReadAll(outDir + "/main.swf"), "FWS movie");
  const Result missing = Run({"list", "--", "--help"});
  EXPECT_EQ(missing.exit, 1) << missing.err;
  EXPECT_EQ(Run({"pack", "-o", "x.exe", "--", dir, dir}).exit, 2);
  fs::current_path(before);
}

TEST_F(PagoroBookTest, HelpAndVersion) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_EQ(help.out.rfind("Usage: pagoro-book", 0), 0u);
  const Result version = Run({"--version"});
  EXPECT_EQ(version.exit, 0);
  EXPECT_EQ(version.out, "pagoro-book " PAGORO_VERSION "\n");
}

TEST_F(PagoroBookTest, HelpShowsTheUsageOfEachCommand) {
  const Result all = Run({"help"});
  EXPECT_EQ(all.exit, 0);
  EXPECT_EQ(all.out, Run({"--help"}).out);
  for (const std::string command : {"info", "list", "extract", "pack", "help"}) {
    SCOPED_TRACE(command);
    EXPECT_NE(all.out.find("\n  " + command + " "), std::string::npos);
    const Result help = Run({"help", command});
    EXPECT_EQ(help.exit, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: pagoro-book " + command, 0), 0u) << help.out;
    // --help anywhere after the command, even among bad arguments.
    for (const std::vector<std::string>& args : {std::vector<std::string>{command, "--help"},
                                                 {command, "x.exe", "-h"},
                                                 {command, "--colour", "--help"}}) {
      const Result asked = Run(args);
      EXPECT_EQ(asked.exit, 0);
      EXPECT_EQ(asked.out, help.out);
    }
  }
  const Result unknown = Run({"help", "open"});
  EXPECT_EQ(unknown.exit, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err.rfind("pagoro-book: no command \"open\"\nUsage: pagoro-book", 0), 0u);
  // A usage error shows the usage of its own command.
  EXPECT_NE(Run({"pack", "a", "b"}).err.find("Usage: pagoro-book pack DIR"), std::string::npos);
}

// A movie or a projector (a program with a movie and its marker at the
// end) is named as what it is.
TEST_F(PagoroBookTest, AMovieOrProjectorIsAFlashMovieNotAMagazine) {
  const std::string movie_bytes = std::string("FWS\x08\x20\x00\x00\x00", 8) + PatternBytes(24);
  const std::string movie = folders_.work() + "/x.swf";
  WriteAll(movie, movie_bytes);
  const std::string projector = folders_.work() + "/Game.exe";
  std::string trailer("\x56\x34\x12\xfa", 4);
  const auto length = static_cast<std::uint32_t>(movie_bytes.size());
  for (int i = 0; i < 4; ++i) trailer += static_cast<char>((length >> (8 * i)) & 0xff);
  WriteAll(projector, "MZ projector program" + movie_bytes + trailer);
  const std::string out = MakeFolder("out", {});
  for (const std::string& file : {movie, projector}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", file}, {"list", file}, {"extract", file, out}}) {
      const Result result = Run(args);
      EXPECT_EQ(result.exit, 1) << args[0] << " " << file;
      EXPECT_EQ(result.err, "pagoro-book: \"" + file + "\" is a Flash movie, not a magazine\n");
    }
  }
  EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(PagoroBookTest, AFileWithoutAContainerIsNoMagazine) {
  // The reader program itself ends in ELF section headers, text in letters;
  // both read as an index length that does not fit the file, or as none.
  const std::string text = folders_.work() + "/notes.txt";
  WriteAll(text, "Dear reader,\nthis is no magazine.\n");
  const std::string elf = folders_.work() + "/pagoro";
  WriteAll(elf, std::string("\x7f"
                            "ELF",
                            4) +
                    PatternBytes(5000) + std::string(8, '\0'));
  const std::string tiny = folders_.work() + "/tiny.exe";
  WriteAll(tiny, "MZ");
  const std::string out = MakeFolder("out", {});
  for (const std::string& file : {text, elf, tiny}) {
    const std::string said =
        "pagoro-book: \"" + file + "\" is not a magazine: no book container at its end\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", file}, {"list", file}, {"extract", file, out}}) {
      const Result result = Run(args);
      EXPECT_EQ(result.exit, 1) << args[0] << " " << file;
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, said);
    }
  }
  EXPECT_TRUE(NamesIn(out).empty());

  // A container that is there but faulty keeps the reader's own texts.
  const auto withIndex = [&](const std::string& name, const std::string& index) {
    const std::string path = folders_.work() + "/" + name;
    std::string bytes = "image" + index;
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<char>((index.size() >> shift) & 0xFF));
    WriteAll(path, bytes);
    return path;
  };
  const std::string oneLine = withIndex("one.exe", "buildexe\r\n");
  const std::string noHeight = withIndex("height.exe", "buildexe\r\nversion|2.0|1|800|\r\n");
  EXPECT_EQ(Run({"info", oneLine}).err,
            "pagoro-book: \"" + oneLine + "\": List index out of bounds (1)\n");
  EXPECT_EQ(Run({"list", noHeight}).err,
            "pagoro-book: \"" + noHeight + "\": '' is not a valid integer value\n");
}

// What the reader would refuse to extract, info refuses too: an entry
// whose stored bytes are not all in the file.
TEST_F(PagoroBookTest, InfoRefusesEntriesOutsideTheFile) {
  const std::string image = "image";  // the stored bytes start at offset 0
  const auto book = [&](const std::string& name, const std::string& version,
                        const std::string& entries) {
    const std::string path = folders_.work() + "/" + name;
    WriteAll(path,
             testing::WithIndex(image + "FWS" + PatternBytes(40),
                                "buildexe\r\nversion|" + version + "|1|640|480|\r\n" + entries));
    return path;
  };
  struct Case {
    std::string path;
    std::string said;
  };
  for (const Case& c : {
           Case{book("past.exe", "2.0", "main.swf|5|40|FWS\r\np.xml|40|9000|<?x\r\n"),
                "Entry \"p.xml\" lies outside the book file (offset 40, size 9000) (index line 4)"},
           Case{
               book("negative.exe", "2.0", "main.swf|-5|40|FWS\r\n"),
               "Entry \"main.swf\" lies outside the book file (offset -5, size 40) (index line 3)"},
           Case{book("wrap.exe", "2.0", "main.swf|2147483647|2147483647|FWS\r\n"),
                "Entry \"main.swf\" lies outside the book file (offset 2147483647, size "
                "2147483647) (index line 3)"},
           Case{book("rotated.exe", "1.0", "main.swf|5|20000\r\n"),
                "Entry \"main.swf\" lies outside the book file (offset 5, size 20000) (index "
                "line 3)"},
           Case{book("nonumber.exe", "2.0", "main.swf|5|forty|FWS\r\n"),
                "'forty' is not a valid integer value (index line 3)"},
       }) {
    const Result info = Run({"info", c.path});
    EXPECT_EQ(info.exit, 1) << c.path;
    EXPECT_EQ(info.out, "");
    EXPECT_EQ(info.err,
              "pagoro-book: \"" + c.path + "\": " + c.said + "; the reader refuses this book\n");
  }
  // The same entries inside the file pass.
  const Result fits = Run({"info", book("fits.exe", "2.0", "main.swf|5|40|FWS\r\n")});
  EXPECT_EQ(fits.exit, 0) << fits.err;
  EXPECT_EQ(fits.out, "format: 2.0\nmovie: 640x480\nentries: 1\n");
}

TEST_F(PagoroBookTest, PackNeedsTheMainMovieAndNamesWhatItPacked) {
  const std::string book = folders_.work() + "/Book.exe";
  const std::string reader = folders_.work() + "/reader";
  for (const std::string name : {"empty", "pages"}) {
    const std::string dir =
        MakeFolder(name, name == "empty" ? std::vector<std::pair<std::string, std::string>>{}
                                         : std::vector<std::pair<std::string, std::string>>{
                                               {"page1.xml", "<?x"}, {"Main.swf", "FWS"}});
    const Result result = Run({"pack", dir, "-o", book, "--reader", reader});
    EXPECT_EQ(result.exit, 1);
    EXPECT_EQ(result.err, "pagoro-book: \"" + dir +
                              "\" holds no main.swf: a magazine starts with its main movie; "
                              "nothing was written\n");
    EXPECT_FALSE(fs::exists(book));
  }

  const std::string dir = MakeFolder("in", {{"main.swf", "FWSabc"}, {"页.xml", "<?x"}});
  const Result packed = Run({"pack", dir, "-o", book, "--reader", reader});
  EXPECT_EQ(packed.exit, 0);
  EXPECT_EQ(packed.out, "");
  EXPECT_EQ(packed.err,
            "pagoro-book: packed main.swf (6 bytes)\n"
            "pagoro-book: packed 页.xml (3 bytes)\n"
            "pagoro-book: wrote " +
                book + ": 2 files, format 2.0, movie 800x600, reader " + reader + "\n");

  // A long list is summed up after its start.
  std::vector<std::pair<std::string, std::string>> many{{"main.swf", "FWS"}};
  for (int i = 0; i < 30; ++i) many.emplace_back("p" + std::to_string(100 + i), "abc");
  const Result summed = Run({"pack", MakeFolder("many", many), "-o", book, "--reader", reader});
  EXPECT_EQ(summed.exit, 0);
  EXPECT_NE(summed.err.find("pagoro-book: packed 11 more files"), std::string::npos) << summed.err;
  EXPECT_EQ(std::count(summed.err.begin(), summed.err.end(), '\n'), 22);
}

}  // namespace
}  // namespace pagoro
