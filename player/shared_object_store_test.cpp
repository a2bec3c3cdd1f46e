#include "player/shared_object_store.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "book/env.h"

namespace pagoro {
namespace {

const MagazineId kBook{.book = "Spring", .file = {}, .folder = "/d/pagoro/Spring/", .identity = {}};
const char kMovie[] = "/tmp/tem-pagoro-1.tmp";

// A shared object's file of `size` bytes in all, as Flash writes them.
QByteArray BigEndian(qsizetype value, int bytes) {
  QByteArray out;
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
    out.append(static_cast<char>((value >> shift) & 0xFF));
  return out;
}

// A well-formed object of `size` bytes (at least 23, an empty one's): below
// 32 bytes its name is `fill` repeated, else it holds one long string of it.
QByteArray Sol(qsizetype size, char fill = 'x') {
  const bool empty = size < 32;
  const QByteArray name = empty ? QByteArray(std::max<qsizetype>(1, size - 22), fill) : "s";
  QByteArray rest =
      QByteArray("TCSO\0\4\0\0\0\0", 10) + BigEndian(name.size(), 2) + name + BigEndian(0, 4);
  if (!empty)
    rest += BigEndian(1, 2) + "v" + '\x0C' + BigEndian(size - 32, 4) + QByteArray(size - 32, fill) +
            '\0';
  return QByteArray("\x00\xBF", 2) + BigEndian(rest.size(), 4) + rest;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class SharedObjectStoreTest : public ::testing::Test {
 protected:
  SharedObjectStore Store(const char* movie = kMovie, const MagazineId& id = kBook) {
    return SharedObjectStore(SharedObjectPlaces(id, movie), root_.path().toStdString());
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
  EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "b"}, Sol(half - 30)));
  EXPECT_TRUE(store.Write({"tmp/tem-pagoro-1.tmp", "c"}, Sol(10)));
  // The shared ones are weighed apart.
  EXPECT_TRUE(store.Write({"", "a"}, Sol(kSharedObjectLimit)));
  EXPECT_FALSE(store.Write({"tmp", "a"}, Sol(10)));
  EXPECT_FALSE(QFile::exists(root_.filePath("localhost/tmp/a.sol")));
  // Each magazine's shared objects count for it alone: another book still
  // has its 1 MiB of "/", and sees the first one's.
  const MagazineId autumn{
      .book = "Autumn", .file = {}, .folder = "/d/pagoro/Autumn/", .identity = {}};
  SharedObjectStore other = Store(kMovie, autumn);
  ASSERT_EQ(other.Load().size(), 1);
  EXPECT_TRUE(other.Write({"", "b"}, Sol(kSharedObjectLimit - 10)));
  EXPECT_FALSE(other.Write({"tmp", "c"}, Sol(20)));
  // What it replaces of the first one's counts for it from then on.
  SharedObjectStore third = Store(kMovie, autumn);
  third.Load();
  EXPECT_FALSE(third.Write({"", "a"}, Sol(20)));
  SharedObjectStore first = Store();
  first.Load();
  EXPECT_FALSE(first.Write({"", "c"}, Sol(10)));
  EXPECT_TRUE(first.Write({"", "a"}, Sol(10)));
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
  SharedObjectStore store(SharedObjectPlaces(kBook, kMovie),
                          root_.filePath("file/store").toStdString());
  EXPECT_TRUE(store.Load().isEmpty());
  EXPECT_FALSE(store.Usable());
  EXPECT_FALSE(store.writing());
  EXPECT_FALSE(store.Write({"tmp/tem-pagoro-1.tmp", "a"}, Sol(20)));
  EXPECT_FALSE(store.Write({"tmp/tem-pagoro-1.tmp", "a"}, Sol(20)));
  EXPECT_EQ(QFileInfo(in_the_way.fileName()).size(), 0);
}

TEST_F(SharedObjectStoreTest, TheStoreIsNeverAmongTheBooksFolders) {
  qputenv("HOME", root_.path().toUtf8());
  qputenv("XDG_DATA_HOME", root_.filePath("data").toUtf8());
  qputenv("XDG_STATE_HOME", root_.filePath("data").toUtf8());
  EXPECT_EQ(SharedObjectStore::Root(), "");
  qunsetenv("XDG_STATE_HOME");
  EXPECT_EQ(SharedObjectStore::Root(),
            root_.filePath(".local/state/pagoro/shared-objects").toStdString());
  qunsetenv("XDG_DATA_HOME");
}

// Names holding any number of "/" are kept, read back and weighed; "/" and
// the folders above count together, every byte of them.
TEST_F(SharedObjectStoreTest, NamesWithSlashesAreReadBackAndCounted) {
  const qsizetype third = kSharedObjectLimit / 3;
  for (const char* name : {"#p/q/r", "#p/q", "#a/b/c/d"}) {
    SharedObjectStore store = Store();
    store.Load();
    EXPECT_TRUE(store.Write({"", name}, Sol(third))) << name;
  }
  EXPECT_EQ(Read(root_.filePath("localhost/#p/q/r.sol")), Sol(third));
  SharedObjectStore next = Store();
  QStringList names;
  for (const auto& entry : next.Load()) names << QString::fromStdString(entry.name.name);
  names.sort();
  EXPECT_EQ(names, QStringList({"#a/b/c/d", "#p/q", "#p/q/r"}));
  // A fourth start finds the shared limit reached.
  EXPECT_FALSE(next.Write({"tmp", "#x/y/z"}, Sol(third)));
  EXPECT_TRUE(next.Write({"", "#p/q/r"}, Sol(third - 100)));  // in place of one
}

// A link met anywhere in the store is neither written, read nor removed
// through: what it points to stays as it was.
TEST_F(SharedObjectStoreTest, LinksInTheStoreAreLeftAlone) {
  namespace fs = std::filesystem;
  const fs::path root = root_.filePath("store").toStdString();
  const fs::path outside = root_.filePath("documents").toStdString();
  fs::create_directories(outside / "Spring");
  fs::create_directories(outside / "main.swf");
  std::ofstream(outside / "letter.txt") << "mine";
  std::ofstream(outside / "Spring" / "keep.sol") << "mine";
  const auto untouched = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(outside))
      names.push_back(entry.path().lexically_relative(outside).string());
    std::sort(names.begin(), names.end());
    std::ifstream letter(outside / "letter.txt");
    std::string text((std::istreambuf_iterator<char>(letter)), {});
    return text == "mine" &&
           names == std::vector<std::string>{"Spring", "Spring/keep.sol", "letter.txt", "main.swf"};
  };
  const auto with_link = [&](const fs::path& at, const fs::path& to) {
    fs::remove_all(root);
    fs::create_directories(at.parent_path());
    fs::create_directory_symlink(to, at);
  };
  const SharedObjectName own{"tmp/tem-pagoro-1.tmp", "bookmark"};
  struct Case {
    fs::path link;
    fs::path to;
    SharedObjectName object;
  };
  for (const Case& c : std::initializer_list<Case>{
           {root / "books", outside, own},
           {root / "books/Spring", outside, own},
           {root / "localhost", outside, {"", "bookmark"}},
           {root / "localhost/#p", outside, {"", "#p/q"}},
       }) {
    with_link(c.link, c.to);
    SharedObjectStore store(SharedObjectPlaces(kBook, kMovie), root.string());
    EXPECT_TRUE(store.Load().isEmpty()) << c.link;
    EXPECT_FALSE(store.Write(c.object, Sol(30))) << c.link;
    EXPECT_FALSE(store.writing());
    store.Remove(c.object);
    std::string where;
    store.RemoveArea("books/Spring", &where);
    store.RemoveArea("localhost", &where);
    EXPECT_TRUE(fs::is_symlink(c.link)) << c.link;
    EXPECT_TRUE(untouched()) << c.link;
  }
  // An object's file that is a link: not read, not written through, not
  // removed; the area around it is removed but for the link.
  fs::remove_all(root);
  fs::create_directories(root / "books/Spring/main.swf");
  fs::create_symlink(outside / "letter.txt", root / "books/Spring/main.swf/bookmark.sol");
  fs::create_symlink(outside / "letter.txt", root / "books/Spring/main.swf/other.sol");
  SharedObjectStore store(SharedObjectPlaces(kBook, kMovie), root.string());
  EXPECT_TRUE(store.Load().isEmpty());
  EXPECT_FALSE(store.Write(own, Sol(30)));
  store.Remove(own);
  std::string where;
  EXPECT_FALSE(store.RemoveArea("books/Spring", &where));
  EXPECT_EQ(where, (root / "books/Spring").string());
  EXPECT_TRUE(fs::is_symlink(root / "books/Spring/main.swf/other.sol"));
  EXPECT_TRUE(untouched());
}

// A write that fails on a full disk (or out of inodes) keeps the old file
// byte for byte and is no "kept": writing() stays false until a write
// succeeds again. Root only: a small file system is mounted for it.
TEST_F(SharedObjectStoreTest, AFullDiskKeepsTheOldObject) {
  const std::string mnt = root_.filePath("small").toStdString();
  ::mkdir(mnt.c_str(), 0700);
  if (::geteuid() != 0 ||
      ::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=256k,nr_inodes=64,mode=0700") != 0)
    GTEST_SKIP() << "no small file system can be mounted here";
  const SharedObjectName bookmark{"tmp/tem-pagoro-1.tmp", "bookmark"};
  const QString file = QString::fromStdString(mnt) + "/store/books/Spring/main.swf/bookmark.sol";
  {
    SharedObjectStore store(SharedObjectPlaces(kBook, kMovie), mnt + "/store");
    ASSERT_TRUE(store.Usable());
    ASSERT_TRUE(store.Write(bookmark, Sol(100, 'o')));
    // Larger than the room there is.
    EXPECT_FALSE(store.Write(bookmark, Sol(300 * 1024 - 100, 'n')));
    EXPECT_FALSE(store.writing());
    EXPECT_EQ(Read(file), Sol(100, 'o'));
    // Filled by another program: even a small object finds no room.
    {
      std::ofstream filler(mnt + "/filler", std::ios::binary);
      const std::string block(4096, 'f');
      while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
      }
    }
    EXPECT_FALSE(store.Write(bookmark, Sol(200, 'n')));
    EXPECT_EQ(Read(file), Sol(100, 'o'));
    std::filesystem::remove(mnt + "/filler");
    EXPECT_TRUE(store.Write(bookmark, Sol(200, 'n')));
    EXPECT_TRUE(store.writing());
    // No inodes left.
    for (int i = 0; i < 100; ++i) std::ofstream(mnt + "/f" + std::to_string(i)) << "x";
    EXPECT_FALSE(store.Write(bookmark, Sol(300, 'm')));
    EXPECT_EQ(Read(file), Sol(200, 'n'));
    EXPECT_EQ(QDir(QString::fromStdString(mnt) + "/store/books/Spring/main.swf")
                  .entryList(QDir::Files | QDir::Hidden),
              QStringList({"bookmark.sol"}));
  }
  ::umount2(mnt.c_str(), MNT_DETACH);
}

// Objects kept by the book's name before move to its identity's area when
// the shelf knows this very file, and stay for a namesake.
TEST_F(SharedObjectStoreTest, NameKeyedObjectsAreCarriedOverOnlyForTheKnownFile) {
  MagazineId issue1 = kBook;
  issue1.identity = "0123456789abcdef0123456789abcdef";
  issue1.path = "/media/cd1/Spring.exe";
  MagazineId issue2 = issue1;
  issue2.identity = "fedcba9876543210fedcba9876543210";
  issue2.path = "/media/cd2/Spring.exe";
  ASSERT_TRUE(Store().Write({"tmp/tem-pagoro-1.tmp", "bookmark"}, Sol(40, 'a')));
  const std::vector<std::string> shelf{issue1.path, issue2.path};
  // Two of that name on the shelf: neither is known to be the one.
  EXPECT_FALSE(Store(kMovie, issue2).CarryOver(shelf));
  EXPECT_TRUE(Store(kMovie, issue2).Load().isEmpty());
  EXPECT_FALSE(Store(kMovie, issue1).CarryOver(std::vector<std::string>{issue2.path}));
  EXPECT_TRUE(Store(kMovie, issue1).CarryOver(std::vector<std::string>{issue1.path}));
  const QList<SharedObjectStore::Entry> entries = Store(kMovie, issue1).Load();
  ASSERT_EQ(entries.size(), 1);
  EXPECT_EQ(entries[0].bytes, Sol(40, 'a'));
  EXPECT_FALSE(QFileInfo::exists(root_.filePath("books/Spring")));
  EXPECT_TRUE(QFileInfo::exists(
      root_.filePath("magazines/0123456789abcdef0123456789abcdef/main.swf/bookmark.sol")));
  // Never over objects kept already.
  ASSERT_TRUE(Store().Write({"tmp/tem-pagoro-1.tmp", "bookmark"}, Sol(40, 'b')));
  EXPECT_FALSE(Store(kMovie, issue1).CarryOver(std::vector<std::string>{issue1.path}));
  EXPECT_EQ(Read(root_.filePath("books/Spring/main.swf/bookmark.sol")), Sol(40, 'b'));
}

// The page refuses at once what the store would not keep: its rule
// (object-names.js) and the store's agree on the same keys.
TEST(SharedObjectNamesTest, ThePageAndTheStoreKeepTheSameNames) {
  int argc = 0;
  const QCoreApplication app(argc, nullptr);
  QFile script(":/pagoro/player/object-names.js");
  ASSERT_TRUE(script.open(QIODevice::ReadOnly));
  QJSEngine engine;
  // The page's engine has globalThis; Qt's own script engine of Qt 6.4 not.
  engine.globalObject().setProperty("globalThis", engine.globalObject());
  const QJSValue loaded = engine.evaluate(QString::fromUtf8(script.readAll()));
  ASSERT_FALSE(loaded.isError()) << loaded.toString().toStdString();
  const QJSValue keeps = engine.globalObject().property("pagoroKeepsObject");
  const QString long_part(201, QLatin1Char('x'));
  const QString fits(200, QLatin1Char('x'));
  const QString chinese = QString(66, QChar(0x4e66)) + "ab";  // 200 bytes
  for (const auto& [key, kept] : std::initializer_list<std::pair<QString, bool>>{
           {"/bookmark", true},
           {"home/u/run.swf/bookmark", true},
           {"/#p/q/r", true},
           {"home/u/#p/q/r/s/t", true},
           {"/#a//b", false},
           {"/#a/", false},
           {"/#a/.b", false},
           {"/" + long_part, false},
           {"/" + fits, true},
           {"/" + chinese, true},
           {"/" + chinese + "c", false},
           {"/#a/" + long_part, false},
           {long_part + "/n", false},
           {"home/u/" + fits + "/n", true},
           {"home/%E4%B9%A6/n", true},
           {"home/%2Ehidden/n", false},
           {"home/%23x/n", false},
           {"home/a%00b/n", false},
           {"home//n", false},
           {"/", false},
           {"/.", false},
           {"/..", false},
           {"/#x", true},
           {QStringLiteral("/a") + QChar(0) + "b", false},
       }) {
    const bool store = IsKeptObjectName(SharedObjectStore::NameOfKey(key));
    const bool page = keeps.call({QJSValue("host/" + key), QJSValue("host/")}).toBool();
    EXPECT_EQ(store, kept) << key.toStdString();
    EXPECT_EQ(page, kept) << key.toStdString();
  }
  EXPECT_FALSE(keeps.call({QJSValue("other/home/n"), QJSValue("host/")}).toBool());
}

}  // namespace
}  // namespace pagoro
