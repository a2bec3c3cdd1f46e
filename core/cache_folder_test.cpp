#include "core/cache_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "testing/env_wrapper.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;
using testing::PrivateFolder;
using testing::ReadAll;
using testing::WriteAll;

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
  PrivateFolder folders;
  Env& env = Env::Default();
  const std::string folder = CacheFolderFor(env, "a.exe.b.exe");
  EXPECT_EQ(folder, folders.data() + "/pagoro/a.b/");
  EXPECT_TRUE(fs::is_directory(folder));
  // Again: the folders exist, nothing changes.
  WriteAll(folder + "kept", "x");
  EXPECT_EQ(CacheFolderFor(env, "a.exe.b.exe"), folder);
  EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"kept"});
}

TEST(CacheFolderForTest, DangerousBookNamesCreateNothing) {
  PrivateFolder folders;
  Env& env = Env::Default();
  for (const char* fileName : {".exe", "..exe", "...exe"}) {
    EXPECT_THROW(CacheFolderFor(env, fileName), EBookNameError) << fileName;
  }
  EXPECT_FALSE(fs::exists(folders.data() + "/pagoro"));
}

// A user's own folder that a link puts in place of the product folder or of
// a book folder: nothing inside it may be touched.
TEST(CacheFolderForTest, RefusesFoldersThatAreLinks) {
  PrivateFolder folders;
  Env& env = Env::Default();
  const std::string own = folders.work() + "/thesis";
  fs::create_directories(own);
  WriteAll(own + "/thesis.odt", "chapter one");

  fs::create_directories(folders.data() + "/pagoro");
  fs::create_directory_symlink(own, folders.data() + "/pagoro/Spring");
  try {
    CacheFolderFor(env, "Spring.exe");
    FAIL() << "a linked book folder was taken";
  } catch (const ECacheFolderError& e) {
    EXPECT_NE(
        std::string(e.what()).find("\"" + folders.data() + "/pagoro/Spring\" is a symbolic link"),
        std::string::npos)
        << e.what();
  }
  ClearFolder(env, folders.data() + "/pagoro/Spring/");

  fs::remove_all(folders.data() + "/pagoro");
  fs::create_directory_symlink(own, folders.data() + "/pagoro");
  EXPECT_THROW(CacheFolderFor(env, "Spring.exe"), ECacheFolderError);
  // Dangling, the link is refused the same way and nothing is made at its end.
  fs::remove(own + "/thesis.odt");
  fs::remove(own);
  EXPECT_THROW(CacheFolderFor(env, "Spring.exe"), ECacheFolderError);
  EXPECT_FALSE(fs::exists(own));
  fs::create_directories(own);
  WriteAll(own + "/thesis.odt", "chapter one");
  EXPECT_EQ(NamesIn(own), std::vector<std::string>{"thesis.odt"});
  EXPECT_EQ(ReadAll(own + "/thesis.odt"), "chapter one");
}

TEST(CacheFolderForTest, AFolderThatCannotBeMadeIsNamedWithTheCause) {
  PrivateFolder folders;
  // A file where the product folder should be.
  WriteAll(folders.data() + "/pagoro", "not a folder");
  try {
    CacheFolderFor(Env::Default(), "Spring.exe");
    FAIL() << "no error";
  } catch (const ECacheFolderError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create the folder \"" + folders.data() + "/pagoro\". File exists");
  }
}

TEST(CacheFolderForTest, AProductFolderOthersMayWriteIntoIsRefused) {
  PrivateFolder folders;
  const std::string product = folders.data() + "/pagoro";
  fs::create_directories(product);
  fs::permissions(product, fs::perms::all);
  try {
    CacheFolderFor(Env::Default(), "Spring.exe");
    FAIL() << "no error";
  } catch (const ECacheFolderError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot use the folder \"" + product + "\". Other users may write into the folder");
  }
  EXPECT_TRUE(NamesIn(product).empty());
}

TEST(ClearFolderTest, DeletesFilesButNotSubfolders) {
  PrivateFolder folders;
  const std::string folder = folders.work() + "/book/";
  fs::create_directories(folder + "sub");
  WriteAll(folder + "a.xml", "a");
  WriteAll(folder + ".hidden", "h");
  WriteAll(folder + "sub/inner", "i");
  fs::create_symlink(folders.work() + "/outside", folder + "link");
  WriteAll(folders.work() + "/outside", "o");

  ClearFolder(Env::Default(), folder);

  EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"sub"});
  EXPECT_EQ(NamesIn(folder + "sub"), std::vector<std::string>{"inner"});
  EXPECT_EQ(ReadAll(folders.work() + "/outside"), "o");       // a link goes, its target stays
  ClearFolder(Env::Default(), folders.work() + "/missing/");  // nothing to do, no error
}

TEST(TempFilesTest, HandsOutNewEmptyFilesInTheTemporaryFolder) {
  PrivateFolder folders;
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
    WriteAll(path, "");
    return path;
  }

 private:
  std::vector<std::string> names_;
  std::size_t next_ = 0;
};

TEST(TempFilesTest, NeverHandsOutAPathTwice) {
  PrivateFolder folders;
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

// Movie files of readers that were killed go with the next reader's first
// movie; the files of live readers and of other programs stay.
TEST(TempFilesTest, TheFirstNewFileRemovesFilesOfEndedReaders) {
  PrivateFolder folders;
  Env& env = Env::Default();
  TempFiles live(env);
  const std::string livePath = live.NewTempFileName();
  WriteAll(livePath, "live movie");

  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TempFiles killed(env);
    const std::string path = killed.NewTempFileName();
    WriteAll(path, "killed movie");
    (void)!write(pipeFds[1], path.data(), path.size());
    raise(SIGKILL);
  }
  close(pipeFds[1]);
  char buffer[4096];
  const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
  close(pipeFds[0]);
  ASSERT_GT(n, 0);
  const std::string killedPath(buffer, static_cast<std::size_t>(n));
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(fs::exists(killedPath));

  const std::string tmp = folders.tmp() + "/";
  WriteAll(tmp + "tem1234.tmp", "another program's");
  WriteAll(tmp + "tem-pagoro-empty.tmp", "");  // may be a reader's, not held yet
  WriteAll(folders.work() + "/target", "kept");
  fs::create_symlink(folders.work() + "/target", tmp + "tem-pagoro-link.tmp");

  TempFiles next(env);
  const std::string nextPath = next.NewTempFileName();
  EXPECT_FALSE(fs::exists(killedPath));
  EXPECT_EQ(ReadAll(livePath), "live movie");
  EXPECT_EQ(ReadAll(folders.work() + "/target"), "kept");
  std::vector<std::string> kept = {"tem-pagoro-empty.tmp", "tem-pagoro-link.tmp", "tem1234.tmp",
                                   fs::path(livePath).filename().string(),
                                   fs::path(nextPath).filename().string()};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(NamesIn(folders.tmp()), kept);
  live.DeleteAll();
  next.DeleteAll();
  EXPECT_FALSE(fs::exists(livePath));
  EXPECT_FALSE(fs::exists(nextPath));
}

}  // namespace
}  // namespace pagoro
