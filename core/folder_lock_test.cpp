#include "core/folder_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testing/env_wrapper.h"
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

// Swaps the product folder for a link once, right after it was made
// (`afterMaking`) or right after it was opened.
class SwappingEnv : public testing::EnvWrapper {
 public:
  SwappingEnv(std::string product, bool afterMaking)
      : product_(std::move(product)), after_making_(afterMaking) {}
  bool CreateFolder(const std::string& path, std::string* error = nullptr) override {
    const bool made = EnvWrapper::CreateFolder(path, error);
    if (after_making_ && path == product_) Swap();
    return made;
  }
  std::unique_ptr<OpenFolder> OpenOwnFolder(const std::string& path, std::string* error) override {
    std::unique_ptr<OpenFolder> opened = EnvWrapper::OpenOwnFolder(path, error);
    if (!after_making_ && path == product_) Swap();
    return opened;
  }
  std::function<void()> swap;

 private:
  void Swap() {
    if (swap) std::exchange(swap, nullptr)();
  }
  std::string product_;
  bool after_making_;
};

// The product folder swapped for a link to the user's own files between
// the fallback's steps (a process of the same user racing the reader):
// nothing is made or locked in the decoy; the lock is refused, or taken on
// the real book folder.
TEST_F(FolderLockTest, AProductFolderSwappedForALinkMidWayMakesAndLocksNothingElse) {
  const std::string product = folders_.data() + "/pagoro";
  const std::string moved = product + ".moved";
  const std::string decoy = folders_.work() + "/decoy";
  std::ofstream(runtime_ + "/pagoro") << "x";  // no lock folder: the fallback
  for (const bool afterMaking : {true, false}) {
    SCOPED_TRACE(afterMaking ? "after making" : "after opening");
    fs::remove_all(decoy);
    fs::create_directories(decoy);
    fs::remove_all(product);
    fs::remove_all(moved);
    if (!afterMaking) fs::create_directory(product);
    SwappingEnv env(product, afterMaking);
    env.swap = [&] {
      fs::rename(product, moved);
      fs::create_directory_symlink(decoy, product);
    };
    const FolderLock lock(env, product + "/Spring/");
    EXPECT_EQ(testing::NamesIn(decoy), std::vector<std::string>{});
    if (lock.state() == State::kUnavailable) {
      EXPECT_NE(lock.error(), "");
      continue;
    }
    ASSERT_EQ(lock.state(), State::kTaken);
    EXPECT_TRUE(lock.InBookFolder());
    // The lock is on the real book folder, moved aside with its parent.
    const int fd = ::open((moved + "/Spring").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ::close(fd);
  }
}

}  // namespace
}  // namespace pagoro
