#include "core/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

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
  const FolderLock open("/data/pagoro/Spring/");
  EXPECT_EQ(open.state(), State::kUnavailable);
  EXPECT_EQ(open.path(), "");

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

}  // namespace
}  // namespace pagoro
