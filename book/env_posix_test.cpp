#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "book/env.h"
#include "book/errors.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

using testing::NamesIn;
using testing::PatternBytes;
using testing::ReadAll;
using testing::WriteAll;

class EnvTest : public ::testing::Test {
 protected:
  testing::PrivateFolder folder_;
  Env& env_ = Env::Default();
};

TEST_F(EnvTest, MapsRegularFilesOnly) {
  const std::string file = folder_.path() + "/book.exe";
  const std::string bytes("abc\0def", 7);
  WriteAll(file, bytes);
  std::string error;
  auto view = env_.MapReadOnly(file, &error);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->data()), view->size()), bytes);

  WriteAll(file, "");
  view = env_.MapReadOnly(file, &error);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->size(), 0u);

  EXPECT_EQ(env_.MapReadOnly(folder_.path() + "/missing.exe", &error), nullptr);
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_EQ(env_.MapReadOnly(folder_.tmp(), &error), nullptr);
  EXPECT_EQ(error, "Is a directory");
  // A FIFO must neither hang the open nor map.
  const std::string fifo = folder_.path() + "/fifo.exe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(env_.MapReadOnly(fifo, nullptr), nullptr);
  EXPECT_FALSE(env_.FileExists(fifo));
  EXPECT_FALSE(env_.FileExists(folder_.tmp()));
  EXPECT_TRUE(env_.FolderExists(folder_.tmp()));
}

// Folders reached by descriptor: a link is never opened, made or removed
// through, whether it stands for the folder itself or for a folder inside.
TEST_F(EnvTest, FoldersOpenedByDescriptorNeverGoThroughALink) {
  namespace fs = std::filesystem;
  const std::string own = folder_.path() + "/own";
  const std::string elsewhere = folder_.work() + "/elsewhere";
  fs::create_directories(elsewhere + "/inside");
  fs::create_directory_symlink(elsewhere, own);
  std::string error;
  EXPECT_EQ(env_.OpenOwnFolder(own, &error), nullptr);
  EXPECT_EQ(error, "Not a directory");
  fs::remove(own);
  fs::create_directory(own);
  fs::permissions(own, fs::perms::others_write, fs::perm_options::add);
  EXPECT_EQ(env_.OpenOwnFolder(own, &error), nullptr);
  EXPECT_EQ(error, "Other users may write into the folder");
  fs::permissions(own, fs::perms::others_write, fs::perm_options::remove);
  const std::unique_ptr<OpenFolder> open = env_.OpenOwnFolder(own, &error);
  ASSERT_NE(open, nullptr);

  fs::create_directory_symlink(elsewhere + "/inside", own + "/book");
  EXPECT_EQ(env_.OpenFolderIn(*open, "book", true, &error), nullptr);
  EXPECT_EQ(error, "Not a directory");
  EXPECT_FALSE(env_.RemoveFolderIn(*open, "book"));
  EXPECT_TRUE(fs::is_directory(elsewhere + "/inside"));
  fs::remove(own + "/book");
  const std::unique_ptr<OpenFolder> book = env_.OpenFolderIn(*open, "book", true, &error);
  ASSERT_NE(book, nullptr);
  EXPECT_TRUE(fs::is_directory(own + "/book"));
  EXPECT_TRUE(env_.RemoveFolderIn(*open, "book"));
  EXPECT_FALSE(fs::exists(own + "/book"));
  EXPECT_EQ(env_.OpenFolderIn(*open, "book", false, &error), nullptr);
  EXPECT_EQ(error, "No such file or directory");
}

TEST_F(EnvTest, WriteFileReportsTheFrameworkMessages) {
  const std::string file = folder_.path() + "/out.bin";
  const unsigned char bytes[] = {1, 2, 3};
  env_.WriteFile(file, bytes, 3);
  env_.WriteFile(file, bytes, 1);
  EXPECT_EQ(ReadAll(file), "\x01");

  const std::string bad = folder_.path() + "/no/such.bin";
  try {
    env_.WriteFile(bad, bytes, 3);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + bad + "\". No such file or directory");
  }
  try {
    env_.WriteFile("/dev/full", bytes, 3);
    FAIL();
  } catch (const EWriteError& e) {
    // The framework's text first, then the folder and the cause.
    EXPECT_STREQ(e.what(),
                 "Stream write error\nThe folder \"/dev\" can't take the file: No space left on "
                 "device");
  }
  struct stat st {};
  EXPECT_EQ(::stat("/dev/full", &st), 0) << "a device is never removed";
}

// A disk that fills mid-way, on a small file system of its own (root only:
// it is mounted for the test): a short write names the folder and the cause
// and leaves no half file; a file system out of inodes says so.
TEST_F(EnvTest, AFullFileSystemIsNamedWithItsCause) {
  const std::string mnt = folder_.path() + "/small";
  ::mkdir(mnt.c_str(), 0700);
  if (::geteuid() != 0 || ::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=1m,nr_inodes=6") != 0)
    GTEST_SKIP() << "no small file system can be mounted here";
  const std::vector<unsigned char> big(2u << 20, 'x');
  try {
    env_.WriteFile(mnt + "/big.bin", big.data(), big.size());
    ADD_FAILURE() << "2 MiB fit into 1 MiB";
  } catch (const EWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Stream write error\nThe folder \"" + mnt +
                                         "\" can't take the file: No space left on device");
  }
  EXPECT_TRUE(env_.ListFolder(mnt).empty());
  std::string message;
  for (int i = 0; i < 10 && message.empty(); ++i) {
    try {
      env_.WriteFile(mnt + "/f" + std::to_string(i), big.data(), 1);
    } catch (const EFCreateError& e) {
      message = e.what();
    }
  }
  EXPECT_NE(message.find("no free inodes left"), std::string::npos) << message;
  ::umount2(mnt.c_str(), MNT_DETACH);
}

// Kept files (the shelf, shared objects) are replaced whole or not at all:
// on a small file system of its own filled in every way (no room, no
// inodes, filled by another program meanwhile) the old file stays byte for
// byte and nothing is left beside it. Root only: it is mounted for the test.
TEST_F(EnvTest, AKeptFileIsReplacedWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  const std::string mnt = folder_.path() + "/small";
  ::mkdir(mnt.c_str(), 0700);
  if (::geteuid() != 0 ||
      ::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=256k,nr_inodes=8,mode=0700") != 0)
    GTEST_SKIP() << "no small file system can be mounted here";
  std::string error;
  const std::unique_ptr<OpenFolder> open = env_.OpenOwnFolder(mnt, &error);
  ASSERT_NE(open, nullptr) << error;
  const std::string old = PatternBytes(1000);
  ASSERT_TRUE(env_.ReplaceFileIn(*open, "kept.sol", old, &error)) << error;
  ASSERT_TRUE(env_.ReplaceFileIn(*open, "kept.sol", old, &error)) << error;
  EXPECT_EQ(ReadAll(mnt + "/kept.sol"), old);
  EXPECT_EQ(fs::status(mnt + "/kept.sol").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // No room: a new version larger than what is free.
  EXPECT_FALSE(env_.ReplaceFileIn(*open, "kept.sol", std::string(300u << 10, 'n'), &error));
  EXPECT_EQ(error, "No space left on device");
  EXPECT_EQ(ReadAll(mnt + "/kept.sol"), old);
  EXPECT_EQ(NamesIn(mnt), std::vector<std::string>{"kept.sol"});

  // Filled by another program: even a small new version finds no room.
  WriteAll(mnt + "/filler", "");
  {
    std::ofstream filler(mnt + "/filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  EXPECT_FALSE(env_.ReplaceFileIn(*open, "kept.sol", "new", &error));
  EXPECT_EQ(ReadAll(mnt + "/kept.sol"), old);
  fs::remove(mnt + "/filler");

  // No inodes: the new file can't even be made.
  for (int i = 0; env_.ReplaceFileIn(*open, "f" + std::to_string(i), "x", nullptr); ++i) {
  }
  EXPECT_FALSE(env_.ReplaceFileIn(*open, "kept.sol", "new", &error));
  EXPECT_NE(error.find("no free inodes left"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(mnt + "/kept.sol"), old);
  for (const std::string& name : NamesIn(mnt)) EXPECT_NE(name.front(), '.') << name;
  ::umount2(mnt.c_str(), MNT_DETACH);
}

// What lies in a kept file's place and is not a regular file is refused
// and left alone: a link (to a user's document, to /dev/zero), a folder, a
// FIFO (which must not hang the read); a file over the bound is not read.
TEST_F(EnvTest, KeptFilesAreReadAndWrittenOnlyAsRegularFilesOfTheirFolder) {
  namespace fs = std::filesystem;
  std::string error;
  const std::unique_ptr<OpenFolder> open = env_.OpenOwnFolder(folder_.path(), &error);
  ASSERT_NE(open, nullptr) << error;
  const std::string document = folder_.work() + "/document.txt";
  WriteAll(document, "the user's own");
  fs::create_symlink(document, folder_.path() + "/linked");
  fs::create_symlink("/dev/zero", folder_.path() + "/zero");
  fs::create_directory(folder_.path() + "/folder");
  ASSERT_EQ(mkfifo((folder_.path() + "/fifo").c_str(), 0600), 0);
  EXPECT_EQ(env_.KindOfEntryIn(*open, "linked"), EntryKind::kLink);
  EXPECT_EQ(env_.KindOfEntryIn(*open, "folder"), EntryKind::kFolder);
  EXPECT_EQ(env_.KindOfEntryIn(*open, "fifo"), EntryKind::kOther);
  EXPECT_EQ(env_.KindOfEntryIn(*open, "none"), EntryKind::kMissing);

  std::string bytes = "stale";
  for (const char* name : {"linked", "zero"}) {
    EXPECT_FALSE(env_.ReadFileIn(*open, name, 1 << 20, &bytes, &error)) << name;
    EXPECT_EQ(error, "a symbolic link is in its place");
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(env_.ReplaceFileIn(*open, name, "written", &error));
    EXPECT_EQ(error, "a symbolic link is in its place");
  }
  EXPECT_FALSE(env_.ReadFileIn(*open, "fifo", 1 << 20, &bytes, &error));
  EXPECT_EQ(error, "it is not a regular file");
  EXPECT_FALSE(env_.ReplaceFileIn(*open, "fifo", "written", &error));
  EXPECT_FALSE(env_.ReadFileIn(*open, "folder", 1 << 20, &bytes, &error));
  EXPECT_FALSE(env_.ReplaceFileIn(*open, "folder", "written", &error));
  EXPECT_EQ(error, "a folder is in its place");
  EXPECT_EQ(ReadAll(document), "the user's own");
  EXPECT_TRUE(fs::is_symlink(folder_.path() + "/linked"));

  WriteAll(folder_.path() + "/plain", std::string(100, 'p'));
  EXPECT_TRUE(env_.ReadFileIn(*open, "plain", 100, &bytes, &error));
  EXPECT_EQ(bytes, std::string(100, 'p'));
  EXPECT_FALSE(env_.ReadFileIn(*open, "plain", 99, &bytes, &error));
  EXPECT_EQ(error, "it is larger than 99 bytes");

  // A move never replaces what is at its end, and never takes a link.
  const std::unique_ptr<OpenFolder> sub = env_.OpenFolderIn(*open, "folder", false, &error);
  ASSERT_NE(sub, nullptr);
  WriteAll(folder_.path() + "/folder/taken", "there");
  EXPECT_FALSE(env_.MoveEntryIn(*open, "plain", *sub, "taken", &error));
  EXPECT_EQ(ReadAll(folder_.path() + "/folder/taken"), "there");
  EXPECT_FALSE(env_.MoveEntryIn(*open, "linked", *sub, "moved", &error));
  EXPECT_TRUE(env_.MoveEntryIn(*open, "plain", *sub, "moved", &error)) << error;
  EXPECT_EQ(ReadAll(folder_.path() + "/folder/moved"), std::string(100, 'p'));
}

TEST_F(EnvTest, UniqueFilesAreNewAndEmpty) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    const std::string path = env_.CreateUniqueFile(env_.TempFolder(), "tem", ".tmp");
    EXPECT_TRUE(seen.insert(path).second) << path;
    const std::string name = std::filesystem::path(path).filename().string();
    EXPECT_TRUE(name.starts_with("tem") && name.ends_with(".tmp")) << name;
    EXPECT_EQ(std::filesystem::path(path).parent_path().string(), folder_.tmp());
    EXPECT_TRUE(env_.FileExists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    // A later call never hands back a file that is there, even a filled one.
    WriteAll(path, "keep");
  }
  for (const std::string& path : seen) EXPECT_EQ(ReadAll(path), "keep");
  EXPECT_THROW(env_.CreateUniqueFile(folder_.path() + "/missing", "tem", ".tmp"), EFCreateError);
}

TEST_F(EnvTest, FoldersComeFromTheEnvironment) {
  setenv("TMPDIR", (folder_.tmp() + "//").c_str(), 1);
  EXPECT_EQ(env_.TempFolder(), folder_.tmp());
  unsetenv("TMPDIR");
  EXPECT_EQ(env_.TempFolder(), "/tmp");

  const std::string data = folder_.data() + "/deeper/share";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  EXPECT_EQ(env_.UserDataFolder(), data);
  EXPECT_TRUE(env_.FolderExists(data));

  // Unset or relative: the home folder's .local/share, created when missing.
  const char* home = std::getenv("HOME");
  const std::string old_home = home != nullptr ? home : "";
  setenv("HOME", folder_.path().c_str(), 1);
  for (const char* value : {"", "relative/data"}) {
    setenv("XDG_DATA_HOME", value, 1);
    EXPECT_EQ(env_.UserDataFolder(), folder_.path() + "/.local/share");
  }
  EXPECT_TRUE(env_.FolderExists(folder_.path() + "/.local/share"));

  // The state folder: XDG_STATE_HOME when absolute, else the home's; never made.
  setenv("XDG_STATE_HOME", (folder_.path() + "/st/").c_str(), 1);
  EXPECT_EQ(env_.UserStateFolder(), folder_.path() + "/st");
  setenv("XDG_STATE_HOME", "relative", 1);
  EXPECT_EQ(env_.UserStateFolder(), folder_.path() + "/.local/state");
  EXPECT_FALSE(env_.FolderExists(folder_.path() + "/.local/state"));
  if (home != nullptr)
    setenv("HOME", old_home.c_str(), 1);
  else
    unsetenv("HOME");
}

}  // namespace
}  // namespace pagoro
