#include "core/cache_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "testing/env_wrapper.h"
#include "testing/private_folders.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;
using testing::PrivateFolders;
using testing::ReadTestFile;
using testing::WriteTestFile;

TEST(BookNameOfTest, RemovesEveryExeCaseSensitively) {
  const struct {
    const char* fileName;
    const char* bookName;
  } cases[] = {
      {"Spring.exe", "Spring"},
      {"a.exe.b.exe", "a.b"},
      {"Spring.EXE", "Spring.EXE"},
      {"Copy of Spring.exe", "Copy of Spring"},
      {"a.e.exexe", "a.exe"},  // the result is not searched again
      {"杂志.exe", "杂志"},
      {".exe", ""},
      {"..exe", "."},
      {"...exe", ".."},
      {"noext", "noext"},
  };
  for (const auto& c : cases) EXPECT_EQ(BookNameOf(c.fileName), c.bookName) << c.fileName;
}

TEST(IsUsableBookNameTest, RefusesNamesThatLeaveTheProductFolder) {
  for (const char* good : {"a", "a.b", "...", ".hidden", "a\\b", "杂志"})
    EXPECT_TRUE(IsUsableBookName(good)) << good;
  for (const std::string& bad : {std::string(""), std::string("."), std::string(".."),
                                 std::string("a/b"), std::string("/"), std::string("a\0b", 3)}) {
    EXPECT_FALSE(IsUsableBookName(bad)) << bad;
  }
}

TEST(CacheFolderForTest, CreatesProductAndBookFolders) {
  PrivateFolders folders;
  Env& env = Env::Default();
  const std::string folder = CacheFolderFor(env, "a.exe.b.exe");
  EXPECT_EQ(folder, folders.data() + "/pagoro/a.b/");
  EXPECT_TRUE(fs::is_directory(folder));
  // Again: the folders exist, nothing changes.
  WriteTestFile(folder + "kept", "x");
  EXPECT_EQ(CacheFolderFor(env, "a.exe.b.exe"), folder);
  EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"kept"});
}

TEST(CacheFolderForTest, DangerousBookNamesCreateNothing) {
  PrivateFolders folders;
  Env& env = Env::Default();
  for (const char* fileName : {".exe", "..exe", "...exe"}) {
    EXPECT_THROW(CacheFolderFor(env, fileName), EBookNameError) << fileName;
  }
  EXPECT_FALSE(fs::exists(folders.data() + "/pagoro"));
}

TEST(ClearFolderTest, DeletesFilesButNotSubfolders) {
  PrivateFolders folders;
  const std::string folder = folders.work() + "/book/";
  fs::create_directories(folder + "sub");
  WriteTestFile(folder + "a.xml", "a");
  WriteTestFile(folder + ".hidden", "h");
  WriteTestFile(folder + "sub/inner", "i");
  fs::create_symlink(folders.work() + "/outside", folder + "link");
  WriteTestFile(folders.work() + "/outside", "o");

  ClearFolder(Env::Default(), folder);

  EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"sub"});
  EXPECT_EQ(NamesIn(folder + "sub"), std::vector<std::string>{"inner"});
  EXPECT_EQ(ReadTestFile(folders.work() + "/outside"), "o");  // a link goes, its target stays
  ClearFolder(Env::Default(), folders.work() + "/missing/");  // nothing to do, no error
}

TEST(TempFilesTest, HandsOutNewEmptyFilesInTheTemporaryFolder) {
  PrivateFolders folders;
  TempFiles temp(Env::Default());
  std::set<std::string> paths;
  for (int i = 0; i < 20; ++i) {
    const std::string path = temp.NewTempFileName();
    const std::string name = fs::path(path).filename().string();
    EXPECT_EQ(fs::path(path).parent_path().string(), folders.tmp());
    EXPECT_TRUE(name.starts_with("tem") && name.ends_with(".tmp")) << name;
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_TRUE(paths.insert(path).second) << path;
    fs::remove(path);  // freed names must still not come back
  }
}

// The system side of TempFiles: real files, but the names come from a fixed
// list, as if the system reused the name of a file deleted since.
class ReusingEnv : public testing::EnvWrapper {
 public:
  explicit ReusingEnv(std::vector<std::string> names) : names_(std::move(names)) {}
  std::string CreateUniqueFile(const std::string& folder, std::string_view,
                               std::string_view) override {
    const std::string path = folder + "/" + names_.at(next_++);
    WriteTestFile(path, "");
    return path;
  }

 private:
  std::vector<std::string> names_;
  std::size_t next_ = 0;
};

TEST(TempFilesTest, NeverHandsOutAPathTwice) {
  PrivateFolders folders;
  ReusingEnv env({"temA.tmp", "temA.tmp", "temB.tmp"});
  TempFiles temp(env);
  const std::string first = temp.NewTempFileName();
  fs::remove(first);
  const std::string second = temp.NewTempFileName();
  EXPECT_EQ(fs::path(first).filename(), "temA.tmp");
  EXPECT_EQ(fs::path(second).filename(), "temB.tmp");
  EXPECT_EQ(NamesIn(folders.tmp()),
            std::vector<std::string>{"temB.tmp"});  // the repeat was not left behind
}

}  // namespace
}  // namespace pagoro
