#include "core/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testing/private_folder.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using State = FolderLock::State;

class FolderLockTest : public ::testing::Test {
 protected:
  FolderLockTest() {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    had_runtime_ = old != nullptr;
    if (had_runtime_) old_runtime_ = old;
    runtime_ = folders_.work() + "/runtime";
    fs::create_directory(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  }
  ~FolderLockTest() override {
    if (had_runtime_) {
      ::setenv("XDG_RUNTIME_DIR", old_runtime_.c_str(), 1);
    } else {
      ::unsetenv("XDG_RUNTIME_DIR");
    }
  }

  testing::PrivateFolder folders_;
  std::string runtime_;
  bool had_runtime_ = false;
  std::string old_runtime_;
};

TEST_F(FolderLockTest, OneHolderPerFolderUntilItLetsGo) {
  auto first = std::make_unique<FolderLock>("/data/pagoro/Spring/");
  EXPECT_EQ(first->state(), State::kTaken);
  EXPECT_EQ(fs::path(first->path()).parent_path(), runtime_ + "/pagoro");
  EXPECT_EQ(first->MeetingPath(), first->path() + ".sock");

  const FolderLock second("/data/pagoro/Spring/");
  EXPECT_EQ(second.state(), State::kHeldElsewhere);
  EXPECT_EQ(second.MeetingPath(), first->MeetingPath());
  EXPECT_EQ(FolderLock("/data/pagoro/Autumn/").state(), State::kTaken);

  first.reset();
  EXPECT_EQ(FolderLock("/data/pagoro/Spring/").state(), State::kTaken);
}

TEST_F(FolderLockTest, LocksLiveOnlyInAPrivateFolderOfTheUser) {
  fs::create_directory(runtime_ + "/pagoro");
  fs::permissions(runtime_ + "/pagoro", fs::perms::all);  // open to everyone
  EXPECT_EQ(FolderLock::LockFolder(), "");

  // Without a runtime folder: a private folder of the user's in TMPDIR.
  ::unsetenv("XDG_RUNTIME_DIR");
  const std::string fallback = folders_.tmp() + "/pagoro-" + std::to_string(::geteuid());
  EXPECT_EQ(FolderLock::LockFolder(), fallback);
  struct stat st {};
  ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // One planted as a link is no such folder.
  fs::remove(fallback);
  fs::create_directory_symlink(runtime_, fallback);
  EXPECT_EQ(FolderLock::LockFolder(), "");
}

// Whatever is wrong with the lock folder, one reader per book still holds:
// the lock is taken on the book folder itself, a second reader sees it
// held (with no place to call the holder), and a link as the book folder
// gives no lock at all.
TEST_F(FolderLockTest, AnUnusableLockFolderFallsBackToTheBookFolderNeverToNoLock) {
  const std::string book = folders_.data() + "/pagoro/Spring/";
  const std::string locks = runtime_ + "/pagoro";
  const std::vector<std::pair<std::string, std::function<void()>>> spoilers = {
      {"a plain file", [&] { std::ofstream(locks) << "x"; }},
      {"a link", [&] { fs::create_directory_symlink(folders_.work(), locks); }},
      {"a folder open to all",
       [&] {
         fs::create_directory(locks);
         fs::permissions(locks, fs::perms::all);
       }},
      {"another user's folder",
       [&] {
         fs::create_directory(locks);
         fs::permissions(locks, fs::perms::owner_all);
         if (::geteuid() == 0) {
           ASSERT_EQ(::chown(locks.c_str(), 65534, 65534), 0);
         } else {
           fs::permissions(locks, fs::perms::all);  // can't give it away unprivileged
         }
       }},
      {"a link where the lock file goes",
       [&] {
         fs::create_directory(locks);
         fs::permissions(locks, fs::perms::owner_all);
         const FolderLock probe(book);  // names the lock file
         const std::string file = probe.path();
         fs::remove(file);
         fs::create_symlink(folders_.work() + "/elsewhere", file);
       }},
  };
  for (const auto& [what, spoil] : spoilers) {
    SCOPED_TRACE(what);
    fs::remove_all(locks);
    fs::remove_all(folders_.data() + "/pagoro");
    spoil();
    auto first = std::make_unique<FolderLock>(book);
    ASSERT_EQ(first->state(), State::kTaken) << first->error();
    EXPECT_TRUE(first->InBookFolder());
    EXPECT_EQ(first->MeetingPath(), "");
    EXPECT_TRUE(fs::is_directory(book));
    const FolderLock second(book);
    EXPECT_EQ(second.state(), State::kHeldElsewhere);
    first.reset();
    EXPECT_EQ(FolderLock(book).state(), State::kTaken);
    fs::remove_all(locks);
  }

  // No lock at all: refused, never open.
  fs::create_directory(locks);
  fs::permissions(locks, fs::perms::all);
  fs::remove_all(folders_.data() + "/pagoro");
  fs::create_directory(folders_.data() + "/pagoro");
  fs::create_directory_symlink(folders_.work(), folders_.data() + "/pagoro/Spring");
  const FolderLock linked(book);
  EXPECT_EQ(linked.state(), State::kUnavailable);
  EXPECT_NE(linked.error(), "");
}

}  // namespace
}  // namespace pagoro
