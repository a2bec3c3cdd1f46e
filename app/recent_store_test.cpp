#include "app/recent_store.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "testing/env_wrapper.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::WriteAll;

// The warnings logged while it lives.
class Warnings {
 public:
  Warnings() {
    texts().clear();
    previous_ =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
          if (type == QtWarningMsg) texts().push_back(text.toStdString());
        });
  }
  ~Warnings() { qInstallMessageHandler(previous_); }
  static std::vector<std::string>& texts() {
    static std::vector<std::string> all;
    return all;
  }
  // The warnings said since the last call.
  std::vector<std::string> Take() {
    std::vector<std::string> taken(texts().begin() + static_cast<std::ptrdiff_t>(seen_),
                                   texts().end());
    seen_ = texts().size();
    return taken;
  }

 private:
  QtMessageHandler previous_ = nullptr;
  std::size_t seen_ = 0;
};

QImage Picture(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Fills the file system of `folder` to the last byte.
void Fill(const std::string& folder) {
  std::ofstream filler(folder + "/filler", std::ios::binary | std::ios::app);
  const std::string block(4096, 'f');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
  }
}

// An Env on which another program fills the disk just before a kept file
// is replaced.
class FilledMeanwhile : public testing::EnvWrapper {
 public:
  explicit FilledMeanwhile(std::string folder) : folder_(std::move(folder)) {}
  bool ReplaceFileIn(OpenFolder& folder, const std::string& name, std::string_view bytes,
                     std::string* error) override {
    Fill(folder_);
    return EnvWrapper::ReplaceFileIn(folder, name, bytes, error);
  }

 private:
  std::string folder_;
};

class RecentStoreTest : public ::testing::Test {
 protected:
  testing::PrivateFolder folder_;
  Warnings warnings_;
};

// A full disk, however it filled (no room, no inodes, another program
// meanwhile), keeps the list and the covers as they were, byte for byte,
// with one warning naming the file and the cause. Root only: a small file
// system is mounted for it.
TEST_F(RecentStoreTest, AFullDiskKeepsTheListAndTheCoversAsTheyWere) {
  const std::string mnt = folder_.path() + "/small";
  ::mkdir(mnt.c_str(), 0700);
  if (::geteuid() != 0 ||
      ::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=256k,nr_inodes=16,mode=0700") != 0)
    GTEST_SKIP() << "no small file system can be mounted here (needs root)";
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{mnt};
  const std::string shelf = mnt + "/state/pagoro";
  const std::string list = shelf + "/recent";
  {
    RecentStore store(shelf);
    store.Opened("/m/a.exe", "");
    store.SetCover("/m/a.exe", Picture(320, 240, Qt::red));
    store.Opened("/m/b.exe", "");
  }
  const std::string kept = ReadAll(list);
  ASSERT_NE(kept.find("/m/b.exe"), std::string::npos);
  ASSERT_EQ(testing::NamesIn(shelf + "/covers").size(), 1U);
  const std::string coverPath = shelf + "/covers/" + testing::NamesIn(shelf + "/covers")[0];
  const std::string cover = ReadAll(coverPath);
  ASSERT_FALSE(cover.empty());
  EXPECT_TRUE(warnings_.Take().empty());

  const auto expectKept = [&](const std::string& cause) {
    EXPECT_EQ(ReadAll(list), kept);
    EXPECT_EQ(ReadAll(coverPath), cover);
    EXPECT_EQ(testing::NamesIn(shelf), (std::vector<std::string>{"covers", "recent"}));
    const std::vector<std::string> said = warnings_.Take();
    ASSERT_EQ(said.size(), 1U);
    EXPECT_NE(said[0].find(list), std::string::npos) << said[0];
    EXPECT_NE(said[0].find(cause), std::string::npos) << said[0];
  };
  const auto coverKept = [&](const std::string& cause) {
    EXPECT_EQ(ReadAll(coverPath), cover);
    EXPECT_EQ(ReadAll(list), kept);
    const std::vector<std::string> said = warnings_.Take();
    ASSERT_EQ(said.size(), 1U);
    EXPECT_NE(said[0].find(coverPath), std::string::npos) << said[0];
    EXPECT_NE(said[0].find(cause), std::string::npos) << said[0];
  };

  {
    SCOPED_TRACE("no room");
    Fill(mnt);
    RecentStore store(shelf);
    store.Opened("/m/c.exe", "");
    expectKept("No space left on device");
    store.SetCover("/m/a.exe", Picture(320, 240, Qt::blue));
    coverKept("No space left on device");
    fs::remove(mnt + "/filler");
  }
  {
    SCOPED_TRACE("filled by another program meanwhile");
    FilledMeanwhile env(mnt);
    RecentStore store(shelf, env);
    store.Opened("/m/c.exe", "");
    expectKept("No space left on device");
    fs::remove(mnt + "/filler");
    store.SetCover("/m/a.exe", Picture(320, 240, Qt::blue));
    coverKept("No space left on device");
    fs::remove(mnt + "/filler");
  }
  {
    SCOPED_TRACE("no inodes");
    for (int i = 0;; ++i) {
      std::ofstream f(mnt + "/i" + std::to_string(i));
      if (!f) break;
    }
    RecentStore store(shelf);
    store.Opened("/m/c.exe", "");
    expectKept("no free inodes left");
    store.SetCover("/m/a.exe", Picture(320, 240, Qt::blue));
    coverKept("no free inodes left");
  }
  // The same store, read as the start screen reads it, is whole.
  RecentStore store(shelf);
  EXPECT_EQ(store.Load().entries().size(), 2U);
  EXPECT_FALSE(store.Cover(fs::path(coverPath).filename().string()).isNull());
}

// What lies in the place of the list or of a cover and is no regular file
// of the shelf (a FIFO, a link to /dev/zero or to a FIFO, a folder, a
// picture far larger than a cover) is left alone with one warning, at
// once: the shelf is empty, or the entry goes without its cover.
TEST_F(RecentStoreTest, WhatIsNoFileOfTheShelfIsLeftAloneAtOnce) {
  const std::string shelf = folder_.path() + "/shelf";
  {
    RecentStore store(shelf);
    store.Opened("/m/a.exe", "");
    store.SetCover("/m/a.exe", Picture(320, 240, Qt::red));
  }
  const std::string list = shelf + "/recent";
  const std::string cover = testing::NamesIn(shelf + "/covers").at(0);
  const std::string coverPath = shelf + "/covers/" + cover;
  const std::string fifo = folder_.path() + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> places = {
      {"a FIFO", [](const std::string& at) { ::mkfifo(at.c_str(), 0600); }},
      {"a link to /dev/zero", [](const std::string& at) { fs::create_symlink("/dev/zero", at); }},
      {"a link to a FIFO", [&](const std::string& at) { fs::create_symlink(fifo, at); }},
      {"a folder", [](const std::string& at) { fs::create_directory(at); }},
  };
  const std::string saved = ReadAll(list);
  for (const auto& [what, make] : places) {
    SCOPED_TRACE(what);
    fs::remove(list);
    make(list);
    RecentStore store(shelf);
    EXPECT_TRUE(store.Load().entries().empty());
    EXPECT_TRUE(store.Load().entries().empty());
    store.Opened("/m/b.exe", "");  // not written through, nor in its place
    EXPECT_NE(fs::symlink_status(list).type(), fs::file_type::regular);
    const std::vector<std::string> said = warnings_.Take();
    ASSERT_EQ(said.size(), 2U);  // read once, written once
    EXPECT_NE(said[0].find(list), std::string::npos) << said[0];
    EXPECT_NE(said[1].find(list), std::string::npos) << said[1];
    fs::remove(list);
  }
  WriteAll(list, saved);

  const std::string png = ReadAll(coverPath);
  for (const auto& [what, make] : places) {
    SCOPED_TRACE(std::string("cover: ") + what);
    fs::remove(coverPath);
    make(coverPath);
    RecentStore store(shelf);
    ASSERT_EQ(store.Load().entries().size(), 1U);
    EXPECT_TRUE(store.Cover(cover).isNull());
    const std::vector<std::string> said = warnings_.Take();
    ASSERT_EQ(said.size(), 1U);
    EXPECT_NE(said[0].find(coverPath), std::string::npos) << said[0];
    fs::remove(coverPath);
  }
  {
    SCOPED_TRACE("a picture far larger than a cover");
    QByteArray large;
    QBuffer buffer(&large);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(Picture(20000, 10, Qt::white).save(&buffer, "PNG"));
    WriteAll(coverPath, large.toStdString());
    RecentStore store(shelf);
    EXPECT_TRUE(store.Cover(cover).isNull());
    EXPECT_EQ(warnings_.Take().size(), 1U);
  }
  WriteAll(coverPath, png);
  EXPECT_FALSE(RecentStore(shelf).Cover(cover).isNull());
  EXPECT_TRUE(warnings_.Take().empty());
  // None of it waited.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

  // The shelf's folder itself a link: nothing is written through it.
  const std::string elsewhere = folder_.work() + "/elsewhere";
  fs::create_directory(elsewhere);
  fs::rename(shelf, folder_.path() + "/moved");
  fs::create_symlink(elsewhere, shelf);
  RecentStore linked(shelf);
  EXPECT_TRUE(linked.Load().entries().empty());
  linked.Opened("/m/c.exe", "");
  EXPECT_TRUE(testing::NamesIn(elsewhere).empty());
  EXPECT_EQ(warnings_.Take().size(), 1U);
}

// Same-named issues are two magazines, each with its cover; a copy opened
// from elsewhere is the same magazine, cover and all. An entry kept before
// identities gets one, and its cover moves under it.
TEST_F(RecentStoreTest, OneEntryAndOneCoverPerMagazine) {
  const std::string shelf = folder_.path() + "/shelf";
  RecentStore store(shelf);
  store.Opened("/disc1/MAGAZINE.EXE", "aaaa");
  store.SetCover("/disc1/MAGAZINE.EXE", Picture(320, 240, Qt::red));
  store.Opened("/disc2/MAGAZINE.EXE", "bbbb");
  store.SetCover("/disc2/MAGAZINE.EXE", Picture(320, 240, Qt::blue));
  RecentList list = store.Load();
  ASSERT_EQ(list.entries().size(), 2U);
  EXPECT_EQ(list.entries()[0].cover, "bbbb.png");
  EXPECT_EQ(list.entries()[1].cover, "aaaa.png");
  EXPECT_EQ(store.Cover("aaaa.png").pixelColor(0, 0), QColor(Qt::red));
  EXPECT_EQ(store.Cover("bbbb.png").pixelColor(0, 0), QColor(Qt::blue));

  store.Opened("/home/u/copy/MAGAZINE.EXE", "aaaa");
  list = store.Load();
  ASSERT_EQ(list.entries().size(), 2U);
  EXPECT_EQ(list.entries()[0], (RecentEntry{"/home/u/copy/MAGAZINE.EXE", list.entries()[0].opened,
                                            "aaaa.png", "aaaa"}));
  EXPECT_EQ(testing::NamesIn(shelf + "/covers"),
            (std::vector<std::string>{"aaaa.png", "bbbb.png"}));

  // Written by an earlier version: no identity, a cover named by the path.
  WriteAll(shelf + "/recent", "pagoro recent 1\nentry 5 /old/a.exe 0011223344556677.png\n");
  WriteAll(shelf + "/covers/0011223344556677.png", ReadAll(shelf + "/covers/aaaa.png"));
  ASSERT_EQ(store.Load().entries().size(), 1U);
  EXPECT_FALSE(store.Cover("0011223344556677.png").isNull());
  store.Opened("/old/a.exe", "cccc");
  EXPECT_EQ(store.Load().entries().at(0).cover, "0011223344556677.png");
  store.SetCover("/old/a.exe", Picture(320, 240, Qt::green));
  EXPECT_EQ(store.Load().entries().at(0).cover, "cccc.png");
  EXPECT_EQ(testing::NamesIn(shelf + "/covers"),
            (std::vector<std::string>{"aaaa.png", "bbbb.png", "cccc.png"}));
  EXPECT_TRUE(warnings_.Take().empty());
}

}  // namespace
}  // namespace pagoro
