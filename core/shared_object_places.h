// Where the movies' shared objects (Flash's local shared objects,
// SharedObject.getLocal) are kept between runs, in a store of the reader's
// own: one file per object, at a place relative to the store's root.
//
// The player names an object as Flash did for a local movie: by a local path
// (the movie's own path by default, or a folder above it, "" for "/") and
// the object's name ("bookmark"; a name holding "/" starts with "#"). The
// places make those names stable and keep magazines apart:
//   - the main movie's own path belongs to the magazine, whatever temporary
//     file it plays from: books/<book name>/main.swf/<name>.sol for a book,
//     files/<the file's own path>/<name>.sol for a plain movie or projector;
//   - a book's folder and the movies in it are the book's too:
//     books/<book name>/<name>.sol, books/<book name>/<file>/<name>.sol;
//   - every other path is shared among the magazines whose movies reach it,
//     as among Flash's local movies: localhost/<path>/<name>.sol, "/" as
//     localhost/<name>.sol.
// Paths here are the file system's bytes (UTF-8 as a rule) and names UTF-8
// text, neither percent-encoded.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagoro {

// Whose movie plays: the identity its own data is kept under.
struct MagazineId {
  std::string book;    // the book's name; "" for a movie or projector file
  std::string file;    // the movie or projector file's absolute path, for no book
  std::string folder;  // the folder of the magazine's other files, ending in "/"
  // What the magazine holds (core/magazine_identity.h); "" when unknown.
  std::string identity;
  // The magazine file's own path as it was opened (its bytes, as the shelf
  // of recent magazines has it); "" when unknown.
  std::string path = {};
};

// Of a movie opened as a file: whether it may read the user's files or use
// the network (its objects are kept apart by it); a book's are its own.
enum class FileSandbox { kLocalFiles, kLocalNetwork };

// What a magazine may keep: its own objects together, and the shared ones
// its movies reach together, each at most this many bytes (ten times Flash
// Player's default of 100 KB a local domain, which a user could raise).
// Over it, a flush fails, as with Flash Player told never to ask.
inline constexpr std::size_t kSharedObjectLimit = std::size_t{1024} * 1024;

// An object as the player names it.
struct SharedObjectName {
  std::string local_path;  // absolute without its leading "/", "" for "/"
  std::string name;

  bool operator==(const SharedObjectName&) const = default;
};

struct StorePlace {
  std::string path;  // relative to the store's root, "/"-separated, ".sol" at the end
  bool own = false;  // the magazine's own; else shared with other magazines
};

class SharedObjectPlaces {
 public:
  // `moviePath`: the absolute path the main movie plays from; `sandbox`
  // counts for a movie opened as a file only.
  SharedObjectPlaces(MagazineId id, const std::string& moviePath,
                     FileSandbox sandbox = FileSandbox::kLocalFiles);

  // False when the magazine gives no usable place (a name or path that is
  // no folder name); nothing is kept then.
  bool usable() const { return !own_area_.empty(); }
  // The folder of the magazine's own objects, relative to the root.
  const std::string& OwnArea() const { return own_area_; }
  // The folder where the same magazine's own objects were kept by its name
  // or path (before magazines were known by what they hold); "" when the
  // own area is that folder already, or there is none.
  const std::string& LegacyArea() const { return legacy_area_; }
  const MagazineId& id() const { return id_; }

  // Where the object lives; nullopt for a name the player does not make
  // (an empty or dot-led part, a local path no movie of this magazine has).
  std::optional<StorePlace> PlaceOf(const SharedObjectName& object) const;
  // The object a stored place holds, for this magazine's movies; nullopt
  // when they can't reach it.
  std::optional<SharedObjectName> NameOf(std::string_view place) const;
  // The shared folders (relative to the root) whose objects this
  // magazine's movies can reach: those of the folders above its main movie
  // and above its folder. Objects lie directly in them or, for names with
  // "/", in subfolders starting with "#".
  std::vector<std::string> SharedFolders() const;
  // Besides a movie or projector file, the shared folder whose subfolders
  // (not led by "#") hold the objects of the other movies in its folder,
  // each as a shared folder; "" for a book.
  std::string OtherMoviesFolder() const;

 private:
  MagazineId id_;
  std::string movie_;   // the main movie's path without the leading "/"
  std::string folder_;  // the magazine's folder without leading and trailing "/"
  std::string own_area_;
  std::string legacy_area_;
  std::string shared_;  // the root of the shared objects its movies reach
};

// The folder (relative to the store's root) of the magazine `id`'s own
// objects; "" when it has none (see SharedObjectPlaces::usable).
std::string OwnAreaOf(const MagazineId& id, FileSandbox sandbox = FileSandbox::kLocalFiles);
// The folder its own objects had by its name or path alone; "" when none.
std::string NameKeyedAreaOf(const MagazineId& id, FileSandbox sandbox);

// Whether what was kept under the name-based area of `id` may be taken for
// this very magazine's: it has an identity and a path, the shelf of recent
// magazines (`shelf`, before this opening) has that very path, and (for a
// book) no other file whose book name is the same.
bool NameKeyedAreaIsItsOwn(const MagazineId& id, const std::vector<std::string>& shelf);

// A name the store keeps: a local path of parts that are not empty, not led
// by "." or "#", at most 200 bytes, without NUL; a name of one such part, or
// one led by "#" holding "/" between such parts.
bool IsKeptObjectName(const SharedObjectName& object);

// A shared object's file as the player wrote it begins with Flash's own
// header (00 BF, a length, "TCSO"); anything else in the store is damage.
bool LooksLikeSharedObject(std::string_view bytes);

}  // namespace pagoro
