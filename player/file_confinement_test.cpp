#include "player/file_confinement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace pagoro {
namespace {

namespace fs = std::filesystem;

class FileConfinementTest : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/confinement.XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    base_ = name;
    folder_ = base_ / "book";
    fs::create_directories(folder_ / "sub");
    Write(folder_ / "page1.swf");
    Write(folder_ / "sub" / "pic.jpg");
    Write(folder_ / "页面.swf");
    Write(base_ / "secret.txt");
    fs::create_directories(base_ / "bookish");
    Write(base_ / "bookish" / "x.txt");
    fs::create_symlink(base_ / "secret.txt", folder_ / "out-link");
    fs::create_symlink(base_, folder_ / "up-dir");
    fs::create_symlink(folder_ / "page1.swf", folder_ / "in-link");
  }
  void TearDown() override { fs::remove_all(base_); }

  static void Write(const fs::path& p) { std::ofstream(p) << "x"; }
  std::string In(const std::string& rest) const { return folder_.string() + rest; }

  fs::path base_;
  fs::path folder_;
};

TEST_F(FileConfinementTest, ServesOnlyRegularFilesInsideTheFolder) {
  struct Case {
    std::string request;
    bool inside;
  } cases[] = {
      {In("/page1.swf"), true},
      {In("/sub/pic.jpg"), true},
      {In("/页面.swf"), true},
      {In("//sub///pic.jpg"), true},
      {In("/in-link"), true},
      {In("/../secret.txt"), false},
      {In("/sub/../page1.swf"), false},  // no walking up, even to stay inside
      {In("/./page1.swf"), false},
      {In("/out-link"), false},
      {In("/up-dir/secret.txt"), false},
      {In("/missing.swf"), false},
      {In("/sub"), false},
      {In(""), false},
      {base_.string() + "/bookish/x.txt", false},  // a sibling sharing the prefix
      {base_.string() + "/secret.txt", false},
      {"/etc/passwd", false},
      {"page1.swf", false},
      {"", false},
      {In("/page1.swf") + std::string(1, '\0') + ".txt", false},
  };
  for (const Case& c : cases) {
    const ConfinedPath result = FileInsideFolder(c.request, folder_);
    EXPECT_EQ(result.inside, c.inside) << c.request << ": " << result.reason;
  }
}

TEST_F(FileConfinementTest, AFolderGivenWithATrailingSlashOrThroughALinkWorksAlike) {
  fs::create_symlink(folder_, base_ / "book-link");
  for (const fs::path& folder : {fs::path(folder_.string() + "/"), base_ / "book-link"}) {
    EXPECT_TRUE(FileInsideFolder(In("/page1.swf"), folder).inside) << folder;
    EXPECT_FALSE(FileInsideFolder(base_.string() + "/secret.txt", folder).inside) << folder;
  }
}

// A movie the user opened as a file is served no hidden name below its
// folder (".ssh/", ".config", a link named so or leading to one), while a
// hidden folder it lies in itself is no matter.
TEST_F(FileConfinementTest, HiddenNamesBelowTheFolderAreRefusedWhenAsked) {
  fs::create_directories(folder_ / ".ssh");
  Write(folder_ / ".ssh" / "id");
  Write(folder_ / ".profile");
  fs::create_symlink(folder_ / ".profile", folder_ / "plain-link");
  fs::create_symlink(folder_ / "page1.swf", folder_ / ".dot-link");
  for (const std::string rest : {"/.ssh/id", "/.profile", "/plain-link", "/.dot-link"}) {
    EXPECT_TRUE(FileInsideFolder(In(rest), folder_).inside) << rest;
    EXPECT_FALSE(FileInsideFolder(In(rest), folder_, HiddenFiles::kRefused).inside) << rest;
  }
  EXPECT_TRUE(FileInsideFolder(In("/sub/pic.jpg"), folder_, HiddenFiles::kRefused).inside);
  const fs::path hidden_folder = base_ / ".games";
  fs::create_directories(hidden_folder);
  Write(hidden_folder / "level.txt");
  EXPECT_TRUE(
      FileInsideFolder((hidden_folder / "level.txt").string(), hidden_folder, HiddenFiles::kRefused)
          .inside);
}

// What is checked is the file opened, not the name: a name swapped for a
// link, a FIFO or a folder on the way swapped for a link after the check
// is refused when opened (and a FIFO is not waited on).
TEST_F(FileConfinementTest, TheOpenedFileIsCheckedNotItsName) {
  std::string reason;
  const OpenedFolder opened(folder_);
  ASSERT_TRUE(opened.is_open());
  const ConfinedPath page = FileInsideFolder(In("/page1.swf"), folder_);
  ASSERT_TRUE(page.inside);
  const int fd = OpenConfinedFile(page, opened, &reason);
  EXPECT_GE(fd, 0) << reason;
  if (fd >= 0) ::close(fd);

  fs::remove(folder_ / "page1.swf");
  fs::create_symlink(base_ / "secret.txt", folder_ / "page1.swf");
  EXPECT_EQ(OpenConfinedFile(page, opened, &reason), -1);
  fs::remove(folder_ / "page1.swf");
  ASSERT_EQ(::mkfifo((folder_ / "page1.swf").c_str(), 0600), 0);
  EXPECT_EQ(OpenConfinedFile(page, opened, &reason), -1);
  EXPECT_EQ(reason, "not a regular file");
  EXPECT_EQ(OpenRegularFile((folder_ / "page1.swf").string(), &reason), -1);

  const ConfinedPath picture = FileInsideFolder(In("/sub/pic.jpg"), folder_);
  ASSERT_TRUE(picture.inside);
  fs::create_directories(base_ / "decoy");
  Write(base_ / "decoy" / "pic.jpg");
  fs::rename(folder_ / "sub", base_ / "old-sub");
  fs::create_directory_symlink(base_ / "decoy", folder_ / "sub");
  EXPECT_EQ(OpenConfinedFile(picture, opened, &reason), -1);
  EXPECT_EQ(reason, "a link on the way to the file");
}

// The folder opened when the movie started is the one read: its path
// swapped for a link, or for another folder, while the movie plays serves
// nothing of what now lies there (at most the opened folder's own files).
TEST_F(FileConfinementTest, AFolderSwappedWhileOpenServesNothingOfItsReplacement) {
  fs::create_directories(base_ / "decoy" / "sub");
  for (const char* name : {"page1.swf", "sub/pic.jpg", "only-here.txt"})
    std::ofstream(base_ / "decoy" / name) << "decoy";
  const OpenedFolder opened(folder_);
  ASSERT_TRUE(opened.is_open());
  EXPECT_EQ(opened.root(), fs::canonical(folder_));

  fs::rename(folder_, base_ / "moved");
  for (const bool as_link : {true, false}) {
    if (as_link) {
      fs::create_directory_symlink(base_ / "decoy", folder_);
    } else {
      fs::remove(folder_);
      fs::rename(base_ / "decoy", folder_);
    }
    for (const char* name : {"/page1.swf", "/sub/pic.jpg", "/only-here.txt"}) {
      const ConfinedPath found = FileInsideFolder(In(name), folder_);
      std::string reason;
      const int fd = OpenConfinedFile(found, opened, &reason);
      if (fd < 0) continue;
      char bytes[8] = {};
      EXPECT_EQ(::read(fd, bytes, sizeof bytes), 1)
          << name << (as_link ? " through a link" : " in another folder");
      EXPECT_FALSE(as_link) << "a link's target is never served";
      ::close(fd);
    }
  }
  // Closed, an opened folder serves nothing.
  std::string reason;
  EXPECT_EQ(OpenConfinedFile(FileInsideFolder(In("/page1.swf"), folder_), OpenedFolder(), &reason),
            -1);
  EXPECT_EQ(reason, "no folder is open to the movie");
}

TEST_F(FileConfinementTest, NoFolderAllowsNothing) {
  EXPECT_FALSE(FileInsideFolder(In("/page1.swf"), fs::path()).inside);
  EXPECT_FALSE(FileInsideFolder(In("/page1.swf"), base_ / "gone").inside);
}

}  // namespace
}  // namespace pagoro
