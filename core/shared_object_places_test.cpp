#include "core/shared_object_places.h"

#include <gtest/gtest.h>

#include <string>

namespace pagoro {
namespace {

const MagazineId kBook{.book = "Spring", .file = {}, .folder = "/d/pagoro/Spring/", .identity = {}};
const std::string kTemp = "/tmp/tem-pagoro-x1.tmp";

std::string Place(const SharedObjectPlaces& places, const std::string& path,
                  const std::string& name) {
  const auto place = places.PlaceOf({path, name});
  if (!place) return "-";
  return (place->own ? "own " : "shared ") + place->path;
}

TEST(SharedObjectPlacesTest, ABooksObjectsAreKeptUnderItsNameNotItsTemporaryMovie) {
  const SharedObjectPlaces places(kBook, kTemp);
  EXPECT_EQ(Place(places, "tmp/tem-pagoro-x1.tmp", "bookmark"),
            "own books/Spring/main.swf/bookmark.sol");
  // The same object at the next start, from another temporary file.
  EXPECT_EQ(Place(SharedObjectPlaces(kBook, "/tmp/tem-pagoro-y2.tmp"), "tmp/tem-pagoro-y2.tmp",
                  "bookmark"),
            "own books/Spring/main.swf/bookmark.sol");
  // The book's folder and the movies in it are the book's.
  EXPECT_EQ(Place(places, "d/pagoro/Spring", "n"), "own books/Spring/n.sol");
  EXPECT_EQ(Place(places, "d/pagoro/Spring/page1.swf", "n"), "own books/Spring/page1.swf/n.sol");
  // "/" and the folders above are shared, as among Flash's local movies.
  EXPECT_EQ(Place(places, "", "bookmark"), "shared localhost/bookmark.sol");
  EXPECT_EQ(Place(places, "tmp", "n"), "shared localhost/tmp/n.sol");
  EXPECT_EQ(Place(places, "d/pagoro", "n"), "shared localhost/d/pagoro/n.sol");
  // A name holding "/" is led by "#".
  EXPECT_EQ(Place(places, "", "#a/b"), "shared localhost/#a/b.sol");
  // Chinese names are kept as they are.
  EXPECT_EQ(Place(places, "tmp/tem-pagoro-x1.tmp", "书签"), "own books/Spring/main.swf/书签.sol");
}

TEST(SharedObjectPlacesTest, AMovieOrProjectorIsKnownByItsOwnPath) {
  const MagazineId movie{
      .book = {}, .file = "/home/u/Games/run.swf", .folder = "/home/u/Games/", .identity = {}};
  const SharedObjectPlaces plain(movie, "/home/u/Games/run.swf");
  EXPECT_EQ(Place(plain, "home/u/Games/run.swf", "hi"),
            "own local-files/files/home/u/Games/run.swf/hi.sol");
  EXPECT_EQ(Place(plain, "home/u/Games", "hi"), "shared local-files/localhost/home/u/Games/hi.sol");
  // Another movie of the folder keeps its objects by its own path.
  EXPECT_EQ(Place(plain, "home/u/Games/other.swf", "hi"),
            "shared local-files/localhost/home/u/Games/other.swf/hi.sol");
  const MagazineId projector{
      .book = {}, .file = "/home/u/Game.exe", .folder = "/home/u/", .identity = {}};
  EXPECT_EQ(Place(SharedObjectPlaces(projector, kTemp), "tmp/tem-pagoro-x1.tmp", "hi"),
            "own local-files/files/home/u/Game.exe/hi.sol");
}

TEST(SharedObjectPlacesTest, NothingOutsideTheMagazinesReach) {
  const SharedObjectPlaces places(kBook, kTemp);
  for (const auto& [path, name] : std::initializer_list<std::pair<std::string, std::string>>{
           {"tmp/tem-pagoro-x1.tmp", ".."},
           {"tmp/tem-pagoro-x1.tmp", "a/b"},  // a name with "/" not led by "#"
           {"tmp/tem-pagoro-x1.tmp", "#a/../b"},
           {"tmp/tem-pagoro-x1.tmp", ""},
           {"tmp/../etc", "n"},
           {"tmp//x", "n"},
           {"home/other", "n"},  // no movie of this magazine is there
           {"d/pagoro/Spring/.hidden", "n"},
       }) {
    EXPECT_EQ(Place(places, path, name), "-") << path << " " << name;
  }
  // A book or file that gives no folder name keeps nothing.
  EXPECT_FALSE(
      SharedObjectPlaces({.book = "..", .file = {}, .folder = "/d/", .identity = {}}, kTemp)
          .usable());
  EXPECT_FALSE(
      SharedObjectPlaces({.book = "a/b", .file = {}, .folder = "/d/", .identity = {}}, kTemp)
          .usable());
  EXPECT_FALSE(
      SharedObjectPlaces({.book = {}, .file = "x.swf", .folder = "/", .identity = {}}, kTemp)
          .usable());
  EXPECT_FALSE(
      SharedObjectPlaces({.book = {}, .file = "/a/../x", .folder = "/", .identity = {}}, kTemp)
          .usable());
}

TEST(SharedObjectPlacesTest, StoredPlacesGiveTheirObjectsBack) {
  const SharedObjectPlaces places(kBook, "/tmp/tem-pagoro-z.tmp");
  const auto back = [&](const std::string& place) {
    const auto name = places.NameOf(place);
    return name ? name->local_path + "|" + name->name : std::string("-");
  };
  EXPECT_EQ(back("books/Spring/main.swf/bookmark.sol"), "tmp/tem-pagoro-z.tmp|bookmark");
  EXPECT_EQ(back("books/Spring/main.swf/#a/b.sol"), "tmp/tem-pagoro-z.tmp|#a/b");
  EXPECT_EQ(back("books/Spring/n.sol"), "d/pagoro/Spring|n");
  EXPECT_EQ(back("books/Spring/page1.swf/n.sol"), "d/pagoro/Spring/page1.swf|n");
  EXPECT_EQ(back("localhost/bookmark.sol"), "|bookmark");
  EXPECT_EQ(back("localhost/tmp/n.sol"), "tmp|n");
  // Another book's, a folder beside the magazine's, no object file.
  EXPECT_EQ(back("books/Autumn/main.swf/bookmark.sol"), "-");
  EXPECT_EQ(back("localhost/home/other/n.sol"), "-");
  EXPECT_EQ(back("books/Spring/main.swf/bookmark.txt"), "-");
  EXPECT_EQ(places.SharedFolders(),
            (std::vector<std::string>{"localhost", "localhost/tmp", "localhost/d",
                                      "localhost/d/pagoro"}));
}

// A magazine is known by what it holds: two books of one name are two
// magazines, one copied elsewhere is the same; movies opened as files keep
// theirs per sandbox, "/" included, apart from each other and the books'.
TEST(SharedObjectPlacesTest, MagazinesAreKnownByWhatTheyHoldAndMoviesBySandbox) {
  MagazineId issue1 = kBook;
  issue1.identity = "0123456789abcdef0123456789abcdef";
  MagazineId issue2 = kBook;
  issue2.identity = "fedcba9876543210fedcba9876543210";
  EXPECT_EQ(Place(SharedObjectPlaces(issue1, kTemp), "tmp/tem-pagoro-x1.tmp", "bookmark"),
            "own magazines/0123456789abcdef0123456789abcdef/main.swf/bookmark.sol");
  EXPECT_EQ(Place(SharedObjectPlaces(issue2, kTemp), "d/pagoro/Spring/page1.swf", "n"),
            "own magazines/fedcba9876543210fedcba9876543210/page1.swf/n.sol");
  EXPECT_EQ(Place(SharedObjectPlaces(issue2, kTemp), "", "n"), "shared localhost/n.sol");
  EXPECT_EQ(SharedObjectPlaces(issue1, kTemp).LegacyArea(), "books/Spring");
  // A name that is no digest is not taken for one.
  issue1.identity = "../x";
  EXPECT_EQ(SharedObjectPlaces(issue1, kTemp).OwnArea(), "books/Spring");
  EXPECT_EQ(SharedObjectPlaces(issue1, kTemp).LegacyArea(), "");

  const MagazineId game{.book = {},
                        .file = "/home/u/Downloads/game.swf",
                        .folder = "/home/u/Downloads/",
                        .identity = "00112233445566778899aabbccddeeff"};
  const SharedObjectPlaces files(game, game.file, FileSandbox::kLocalFiles);
  const SharedObjectPlaces network(game, game.file, FileSandbox::kLocalNetwork);
  EXPECT_EQ(Place(files, "home/u/Downloads/game.swf", "n"),
            "own local-files/movies/00112233445566778899aabbccddeeff/n.sol");
  EXPECT_EQ(Place(network, "home/u/Downloads/game.swf", "n"),
            "own local-network/movies/00112233445566778899aabbccddeeff/n.sol");
  EXPECT_EQ(Place(files, "", "drop"), "shared local-files/localhost/drop.sol");
  EXPECT_EQ(Place(network, "", "drop"), "shared local-network/localhost/drop.sol");
  EXPECT_EQ(Place(network, "home/u/Downloads/netgame.swf", "n"),
            "shared local-network/localhost/home/u/Downloads/netgame.swf/n.sol");
  EXPECT_EQ(files.LegacyArea(), "files/home/u/Downloads/game.swf");
  // Each reads back only its own sandbox's.
  EXPECT_FALSE(network.NameOf("local-files/localhost/drop.sol"));
  EXPECT_FALSE(files.NameOf("local-network/localhost/drop.sol"));
  EXPECT_FALSE(files.NameOf("localhost/drop.sol"));
  EXPECT_TRUE(network.NameOf("local-network/localhost/drop.sol"));
  EXPECT_EQ(network.SharedFolders().front(), "local-network/localhost");
  // Without an identity, by path as before, in its sandbox.
  MagazineId unknown = game;
  unknown.identity.clear();
  EXPECT_EQ(OwnAreaOf(unknown, FileSandbox::kLocalNetwork),
            "local-network/files/home/u/Downloads/game.swf");
}

// Objects kept by a book's name are its own only when the shelf shows this
// very file and no other of the same book name.
TEST(SharedObjectPlacesTest, NameKeyedObjectsAreCarriedOverOnlyForTheFileTheShelfKnows) {
  MagazineId id = kBook;
  id.identity = "0123456789abcdef0123456789abcdef";
  id.path = "/media/cd/Spring.exe";
  EXPECT_TRUE(NameKeyedAreaIsItsOwn(id, {"/home/u/x.swf", "/media/cd/Spring.exe"}));
  EXPECT_FALSE(NameKeyedAreaIsItsOwn(id, {"/home/u/x.swf"}));  // never opened before
  // A namesake, by either book name rule.
  EXPECT_FALSE(NameKeyedAreaIsItsOwn(id, {"/media/cd/Spring.exe", "/tmp/issue2/Spring.exe"}));
  EXPECT_FALSE(NameKeyedAreaIsItsOwn(id, {"/media/cd/Spring.exe", "/tmp/Spring.exe.exe"}));
  EXPECT_TRUE(NameKeyedAreaIsItsOwn(id, {"/media/cd/Spring.exe", "/tmp/Spring2.exe"}));
  // Nothing is known without an identity or a path.
  id.path.clear();
  EXPECT_FALSE(NameKeyedAreaIsItsOwn(id, {""}));
}

TEST(SharedObjectPlacesTest, OnlyFlashsOwnFilesCount) {
  std::string sol("\x00\xBF\x00\x00\x00\x04TCSO", 10);
  EXPECT_TRUE(LooksLikeSharedObject(sol));
  EXPECT_FALSE(LooksLikeSharedObject(sol + "x"));  // the length is off
  EXPECT_FALSE(LooksLikeSharedObject("not a shared object"));
  EXPECT_FALSE(LooksLikeSharedObject(""));
}

}  // namespace
}  // namespace pagoro
