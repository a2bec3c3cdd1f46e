#include "player/shared_object_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace pagoro {
namespace {

const MagazineId kBook{.book = "Spring", .file = {}, .folder = "/d/pagoro/Spring/", .identity = {}};
const char kMovie[] = "/tmp/tem-pagoro-1.tmp";

// A shared object's file of `size` bytes in all, as Flash writes them.
QByteArray Sol(qsizetype size, char fill = 'x') {
  QByteArray body = QByteArray("TCSO") + QByteArray(size - 10, fill);
  QByteArray sol("\x00\xBF", 2);
  for (int shift = 24; shift >= 0; shift -= 8)
    sol.append(static_cast<char>((body.size() >> shift) & 0xFF));
  return sol + body;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SharedObjectStoreTest : public ::testing::Test {
 protected:
  SharedObjectStore Store(const char* movie = kMovie) {
    return SharedObjectStore(SharedObjectPlaces(kBook, movie), root_.path());
  }
  QTemporaryDir root_;
};

TEST_F(SharedObjectStoreTest, WhatIsWrittenIsReadAtTheNextStartFromAnotherMovieFile) {
  const SharedObjectName bookmark{"tmp/tem-pagoro-1.tmp", "bookmark"};
  const SharedObjectName shared{"", "bookmark"};
  {
    SharedObjectStore store = Store();
    EXPECT_TRUE(store.Load().isEmpty());
    EXPECT_TRUE(store.Write(bookmark, Sol(40, 'a')));
    EXPECT_TRUE(store.Write(shared, Sol(40, 'b')));
    EXPECT_TRUE(store.Write(bookmark, Sol(50, 'c')));  // the newer replaces it
  }
  EXPECT_EQ(Read(root_.filePath("books/Spring/main.swf/bookmark.sol")), Sol(50, 'c'));
  // Written whole and renamed: no other file is left beside it.
  EXPECT_EQ(QDir(root_.filePath("books/Spring/main.swf")).entryList(QDir::Files).size(), 1);
  SharedObjectStore next = Store("/tmp/tem-pagoro-2.tmp");
  const QList<SharedObjectStore::Entry> entries = next.Load();
  ASSERT_EQ(entries.size(), 2);
  for (const auto& entry : entries) {
    if (entry.name.local_path.empty()) {
      EXPECT_EQ(entry.bytes, Sol(40, 'b'));
    } else {
      EXPECT_EQ(entry.name, (SharedObjectName{"tmp/tem-pagoro-2.tmp", "bookmark"}));
      EXPECT_EQ(entry.bytes, Sol(50, 'c'));
    }
  }
  next.Remove({"tmp/tem-pagoro-2.tmp", "bookmark"});
  EXPECT_FALSE(QFile::exists(root_.filePath("books/Spring/main.swf/bookmark.sol")));
}

TEST_F(SharedObjectStoreTest, OwnAndSharedObjectsEachStayWithinTheLimit) {
  SharedObjectStore store = Store();
  const qsizetype half = kSharedObjectLimit / 2;
  EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "a"}, Sol(half)));
  EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "b"}, Sol(half)));
  EXPECT_FALSE(store.Write({"tmp/tem-pagoro-1.tmp", "c"}, Sol(10)));
  // A smaller object in place of one that was kept fits again.
  EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "b"}, Sol(half - 10)));
  EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "c"}, Sol(10)));
  // The shared ones are weighed apart.
  EXPECT_TRUE(store.Write({"", "a"}, Sol(kSharedObjectLimit)));
  EXPECT_FALSE(store.Write({"tmp", "a"}, Sol(10)));
  EXPECT_FALSE(QFile::exists(root_.filePath("localhost/tmp/a.sol")));
}

TEST_F(SharedObjectStoreTest, DamageIsLeftOutAndLeftAlone) {
  ASSERT_TRUE(QDir().mkpath(root_.filePath("books/Spring/main.swf")));
  QFile damaged(root_.filePath("books/Spring/main.swf/bad.sol"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("not a shared object");
  damaged.close();
  {
    SharedObjectStore store = Store();
    EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "good"}, Sol(20)));
    // Nor is what the page hands over kept unless it is an object.
    EXPECT_FALSE(store.Write({"tmp/tem-pagoro-1.tmp", "junk"}, "junk"));
  }
  const QList<SharedObjectStore::Entry> entries = Store().Load();
  ASSERT_EQ(entries.size(), 1);
  EXPECT_EQ(entries[0].name.name, "good");
  EXPECT_EQ(Read(damaged.fileName()), "not a shared object");
}

TEST_F(SharedObjectStoreTest, AStoreThatCanNotBeWrittenFailsEachWrite) {
  QFile in_the_way(root_.filePath("file"));
  ASSERT_TRUE(in_the_way.open(QIODevice::WriteOnly));
  in_the_way.close();
  SharedObjectStore store(SharedObjectPlaces(kBook, kMovie), root_.filePath("file/store"));
  EXPECT_TRUE(store.Load().isEmpty());
  EXPECT_FALSE(store.Write({"tmp/tem-pagoro-1.tmp", "a"}, Sol(20)));
  EXPECT_FALSE(store.Write({"tmp/tem-pagoro-1.tmp", "a"}, Sol(20)));
  EXPECT_EQ(QFileInfo(in_the_way.fileName()).size(), 0);
}

TEST_F(SharedObjectStoreTest, TheStoreIsNeverAmongTheBooksFoldersAndForgetTakesOneMagazine) {
  qputenv("HOME", root_.path().toUtf8());
  qputenv("XDG_DATA_HOME", root_.filePath("data").toUtf8());
  qputenv("XDG_STATE_HOME", root_.filePath("data").toUtf8());
  EXPECT_EQ(SharedObjectStore::Root(), QString());
  qunsetenv("XDG_STATE_HOME");
  const QString root = SharedObjectStore::Root();
  EXPECT_EQ(root, root_.filePath(".local/state/pagoro/shared-objects"));
  SharedObjectStore(SharedObjectPlaces(kBook, kMovie), root).Write({"", "n"}, Sol(20));
  SharedObjectStore(SharedObjectPlaces(kBook, kMovie), root)
      .Write({"tmp/tem-pagoro-1.tmp", "n"}, Sol(20));
  QString message;
  EXPECT_TRUE(SharedObjectStore::Forget(kBook, &message));
  EXPECT_TRUE(message.contains("books/Spring")) << message.toStdString();
  EXPECT_FALSE(QFileInfo::exists(root + "/books/Spring"));
  EXPECT_TRUE(QFileInfo::exists(root + "/localhost/n.sol"));
  EXPECT_TRUE(SharedObjectStore::Forget(kBook, &message));  // nothing left: no failure
  qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace pagoro
