#include "book/packer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "book/format.h"
#include "testing/env_wrapper.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

using testing::PrivateFolder;
using testing::ReadAll;
using testing::WriteAll;

std::string LittleEndian32(std::uint32_t n) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<char>((n >> shift) & 0xFFu));
  return bytes;
}

TEST(PackBookTest, Format20KeepsThreeHeaderBytesInTheIndex) {
  const std::string book =
      PackBook("IMG", {{"main.swf", "FWSmovie"}, {"p.xml", "<?x"}}, {"2.0", 640, 480});
  const std::string index =
      "buildexe\r\n"
      "version|2.0|1|640|480|\r\n"
      "main.swf|3|5|FWS\r\n"
      "p.xml|8|0|<?x\r\n";
  EXPECT_EQ(book,
            "IMG"
            "movie" +
                index + LittleEndian32(index.size()));
}

TEST(PackBookTest, Format10RotatesFilesLongerThanTheRotationLength) {
  std::string large(format::kRotationLength + 1, 'a');
  large.back() = 'z';
  const std::string book = PackBook("", {{"main.swf", large}, {"s", "tiny"}}, {"1.0", 1, 2});
  const std::string index =
      "buildexe\r\n"
      "version|1.0|1|1|2|\r\n"
      "main.swf|0|10241\r\n"
      "s|10241|4\r\n";
  // The last 10240 bytes come first, then the one byte before them.
  EXPECT_EQ(book, large.substr(1) + "a" + "tiny" + index + LittleEndian32(index.size()));
  const std::string exact(format::kRotationLength, 'b');
  EXPECT_EQ(PackBook("", {{"main.swf", exact}}, {"1.0", 1, 2}).substr(0, format::kRotationLength),
            exact);
}

TEST(PackBookTest, WritesNamesInCodePage936) {
  const std::string book = PackBook("", {{"页面.xml", "abcd"}}, {});
  EXPECT_NE(book.find("\xD2\xB3\xC3\xE6.xml|0|1|abc\r\n"), std::string::npos);
  // A 0x5C second byte is part of its character, no backslash.
  EXPECT_NE(PackBook("", {{"\xE6\x98\x9E", "abc"}}, {}).find("\x95\x5C|0|0|abc"),
            std::string::npos);
}

TEST(PackBookTest, RefusesWhatAReaderCannotReadBack) {
  const struct {
    const char* why;
    PackEntry entry;
    const char* format;
  } cases[] = {
      {"shorter than three bytes", {"a", "FW"}, "2.0"},
      {"CR in the header bytes", {"a", "F\rWS"}, "2.0"},
      {"LF in the header bytes", {"a", "\nFWS"}, "2.0"},
      {"NUL in the header bytes", {"a", std::string("FW\0S", 4)}, "2.0"},
      {"field separator", {"a|b", "FWS"}, "2.0"},
      {"field separator as a second byte", {"\xE4\xBA\x85", "FWS"}, "2.0"},  // GBK 81 7C
      {"line end", {"a\nb", "FWS"}, "1.0"},
      {"backslash", {"a\\b", "FWS"}, "1.0"},
      {"no GBK form", {"\xF0\x9F\x98\x80", "FWS"}, "1.0"},
      {"invalid UTF-8", {"a\xFF", "FWS"}, "1.0"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(PackBook("", {c.entry}, {c.format, 800, 600}), PackError) << c.why;
  }
  EXPECT_THROW(PackBook("", {}, {"2.00", 800, 600}), PackError);
  // Short files and CR in the first bytes are fine where nothing is kept in the index.
  EXPECT_NO_THROW(PackBook("", {{"a", ""}, {"b", "\r\n"}}, {"1.0", 800, 600}));
}

TEST(ReadFolderEntriesTest, ReadsRegularFilesOnly) {
  PrivateFolder folders;
  const std::string dir = folders.work() + "/movie";
  std::filesystem::create_directories(dir + "/sub");
  WriteAll(dir + "/z.xml", "zzz");
  WriteAll(dir + "/main.swf", "FWS1");
  WriteAll(dir + "/sub/inner.xml", "iii");
  const std::vector<PackEntry> entries = ReadFolderEntries(dir);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "main.swf");
  EXPECT_EQ(entries[0].bytes, "FWS1");
  EXPECT_EQ(entries[1].name, "z.xml");
  EXPECT_THROW(ReadFolderEntries(dir + "/z.xml"), PackError);
  EXPECT_THROW(ReadFolderEntries(dir + "/missing"), PackError);
}

TEST(WriteBookFileTest, WritesAnExecutableAndLeavesNothingOnFailure) {
  PrivateFolder folders;
  const std::string out = folders.work() + "/Book.exe";
  WriteBookFile(out, "bytes");
  EXPECT_EQ(ReadAll(out), "bytes");
  struct stat st {};
  ASSERT_EQ(::stat(out.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IXUSR, 0u);
  EXPECT_THROW(WriteBookFile(folders.work() + "/missing/Book.exe", "x"), PackError);
  EXPECT_EQ(testing::NamesIn(folders.work()), std::vector<std::string>{"Book.exe"});
}

// The packer reaches files only through Env: what it reads and writes can
// be seen (and failed) there. A FIFO given as the reader is refused at
// once, never waited on.
TEST(PackerEnvTest, FilesGoThroughEnvAndAFifoIsNeverWaitedOn) {
  PrivateFolder folders;
  struct Recording : testing::EnvWrapper {
    std::vector<std::string> calls;
    bool ReadFile(const std::string& path, std::string* bytes, std::string* error) override {
      calls.push_back("read " + path.substr(path.rfind('/') + 1));
      return EnvWrapper::ReadFile(path, bytes, error);
    }
    bool ReplaceFile(const std::string& path, const std::string& bytes, bool executable,
                     std::string* error) override {
      calls.push_back("replace " + path.substr(path.rfind('/') + 1));
      return EnvWrapper::ReplaceFile(path, bytes, executable, error);
    }
  } env;
  const std::string dir = folders.work() + "/movie";
  std::filesystem::create_directories(dir);
  WriteAll(dir + "/main.swf", "FWS1");
  ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
  const std::vector<PackEntry> entries = ReadFolderEntries(dir, env);
  ASSERT_EQ(entries.size(), 1u);
  WriteBookFile(folders.work() + "/Book.exe", PackBook("", entries, {}), env);
  EXPECT_EQ(env.calls, (std::vector<std::string>{"read main.swf", "replace Book.exe"}));
  try {
    ReadWholeFile(dir + "/pipe", env);
    ADD_FAILURE() << "a FIFO was read";
  } catch (const PackError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read \"" + dir + "/pipe\": No such device");
  }
  std::string error;
  EXPECT_FALSE(env.CreateFolder(dir + "/missing/sub", &error));
  EXPECT_EQ(error, "No such file or directory");
}

}  // namespace
}  // namespace pagoro
