#include "core/shared_object_places.h"

#include <utility>

#include "book/cp936.h"
#include "book/format.h"
#include "core/book_opener.h"
#include "core/cache_folder.h"

namespace pagoro {
namespace {

using format::kMainMovie;
constexpr std::string_view kBooks = "books";          // by name, before identities
constexpr std::string_view kMagazines = "magazines";  // books by identity
constexpr std::string_view kFiles = "files";          // movies by path
constexpr std::string_view kMovies = "movies";        // movies by identity
constexpr std::string_view kShared = "localhost";
constexpr std::string_view kLocalFiles = "local-files";
constexpr std::string_view kLocalNetwork = "local-network";
constexpr std::string_view kSuffix = ".sol";
// Room for the suffix and a temporary name's within a file name's 255 bytes.
constexpr std::size_t kMaxPart = 200;

std::vector<std::string> Split(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = path.find('/', start);
    parts.emplace_back(path.substr(start, slash - start));
    if (slash == std::string_view::npos) return parts;
    start = slash + 1;
  }
}

std::string Join(const std::vector<std::string>& parts, std::size_t from, std::size_t to) {
  std::string joined;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from) joined += '/';
    joined += parts[i];
  }
  return joined;
}

// A folder or file name the player makes: Flash and Ruffle refuse parts
// that start with "." (so "." and ".." never come); "#" starts a name.
bool PlayerPart(std::string_view part) {
  return !part.empty() && part.size() <= kMaxPart && part[0] != '.' &&
         part.find('\0') == std::string_view::npos;
}

bool ValidName(std::string_view name) {
  if (name.find('/') == std::string_view::npos) return PlayerPart(name);
  if (name[0] != '#') return false;
  for (const std::string& part : Split(name))
    if (!PlayerPart(part)) return false;
  return true;
}

bool ValidLocalPath(std::string_view path) {
  if (path.empty()) return true;
  for (const std::string& part : Split(path))
    if (!PlayerPart(part) || part[0] == '#') return false;
  return true;
}

// A part of a path the user chose (a file's own path, a book's name): any
// name a folder can have.
bool FolderPart(std::string_view part) {
  return !part.empty() && part != "." && part != ".." && part.find('\0') == std::string_view::npos;
}

std::string WithoutSlashes(std::string_view path) {
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return std::string(path);
}

// True when `path` is `folder` or lies below it ("" is above everything).
bool Within(std::string_view path, std::string_view folder) {
  if (folder.empty()) return true;
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

std::vector<std::string> FoldersAbove(const std::string& path) {
  std::vector<std::string> folders{""};
  for (std::size_t slash = path.find('/'); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    folders.push_back(path.substr(0, slash));
  return folders;
}

std::string InFolder(std::string_view folder, std::string_view rest) {
  return std::string(folder) + "/" + std::string(rest);
}

}  // namespace

namespace {

std::string_view SandboxFolder(FileSandbox sandbox) {
  return sandbox == FileSandbox::kLocalNetwork ? kLocalNetwork : kLocalFiles;
}

// A digest as core/magazine_identity.h makes it: hex digits only.
bool IsIdentity(std::string_view identity) {
  return !identity.empty() && identity.size() <= 128 &&
         identity.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Today's book name or file path as a folder below `under`; "" when it is no
// folder name.
std::string ByName(const MagazineId& id, std::string_view under) {
  if (!id.book.empty()) {
    if (!FolderPart(id.book) || id.book.find('/') != std::string::npos) return {};
    return InFolder(under, id.book);
  }
  if (id.file.size() < 2 || id.file[0] != '/') return {};
  const std::string file = id.file.substr(1);
  for (const std::string& part : Split(file))
    if (!FolderPart(part)) return {};
  return InFolder(under, file);
}

}  // namespace

std::string OwnAreaOf(const MagazineId& id, FileSandbox sandbox) {
  const bool book = !id.book.empty();
  if (IsIdentity(id.identity)) {
    return book ? InFolder(kMagazines, id.identity)
                : InFolder(SandboxFolder(sandbox), InFolder(kMovies, id.identity));
  }
  if (book) return ByName(id, kBooks);
  return ByName(id, InFolder(SandboxFolder(sandbox), kFiles));
}

std::string NameKeyedAreaOf(const MagazineId& id, FileSandbox sandbox) {
  const std::string area = ByName(id, id.book.empty() ? kFiles : kBooks);
  return area == OwnAreaOf(id, sandbox) ? std::string() : area;
}

bool NameKeyedAreaIsItsOwn(const MagazineId& id, const std::vector<std::string>& shelf) {
  if (!IsIdentity(id.identity) || id.path.empty()) return false;
  bool listed = false;
  for (const std::string& path : shelf) {
    if (path == id.path) {
      listed = true;
      continue;
    }
    // Another file that kept its objects under the same book name.
    const std::string name = FileNameAsUtf8(FileNameOf(path));
    if (!id.book.empty() && (NameWithoutExtension(name) == id.book || BookNameOf(name) == id.book))
      return false;
  }
  return listed;
}

bool IsKeptObjectName(const SharedObjectName& object) {
  return ValidName(object.name) && ValidLocalPath(object.local_path);
}

SharedObjectPlaces::SharedObjectPlaces(MagazineId id, const std::string& moviePath,
                                       FileSandbox sandbox)
    : id_(std::move(id)),
      movie_(WithoutSlashes(moviePath)),
      folder_(WithoutSlashes(id_.folder)),
      own_area_(OwnAreaOf(id_, sandbox)),
      legacy_area_(NameKeyedAreaOf(id_, sandbox)),
      shared_(id_.book.empty() ? InFolder(SandboxFolder(sandbox), kShared) : std::string(kShared)) {
}

std::optional<StorePlace> SharedObjectPlaces::PlaceOf(const SharedObjectName& object) const {
  const std::string& path = object.local_path;
  if (!usable() || !ValidName(object.name) || !ValidLocalPath(path)) return std::nullopt;
  const std::string file = object.name + std::string(kSuffix);
  const bool book = !id_.book.empty();
  if (path == movie_) {
    return StorePlace{InFolder(own_area_, book ? InFolder(kMainMovie, file) : file), true};
  }
  if (book && path == folder_) return StorePlace{InFolder(own_area_, file), true};
  if (book && Within(path, folder_)) {
    return StorePlace{InFolder(own_area_, InFolder(path.substr(folder_.size() + 1), file)), true};
  }
  // Shared: a folder above the main movie or the magazine's folder, or
  // (besides a movie or projector file) another movie in its folder.
  const bool above = Within(movie_, path) || Within(folder_, path);
  if (!above && !(!book && Within(path, folder_))) return std::nullopt;
  return StorePlace{InFolder(shared_, path.empty() ? file : InFolder(path, file)), false};
}

std::optional<SharedObjectName> SharedObjectPlaces::NameOf(std::string_view place) const {
  if (!usable() || !place.ends_with(kSuffix)) return std::nullopt;
  place.remove_suffix(kSuffix.size());
  const bool own = place.starts_with(own_area_ + "/");
  const std::string shared_prefix = shared_ + "/";
  if (!own && !place.starts_with(shared_prefix)) return std::nullopt;
  const std::vector<std::string> parts =
      Split(place.substr(own ? own_area_.size() + 1 : shared_prefix.size()));
  // The name: from its first part led by "#", or the last part alone.
  std::size_t name_at = parts.size() - 1;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].empty() && parts[i][0] == '#') {
      name_at = i;
      break;
    }
  }
  SharedObjectName object{Join(parts, 0, name_at), Join(parts, name_at, parts.size())};
  if (own) {
    const bool book = !id_.book.empty();
    if (!book) {
      if (!object.local_path.empty()) return std::nullopt;
      object.local_path = movie_;
    } else if (object.local_path == kMainMovie) {
      object.local_path = movie_;
    } else {
      object.local_path = object.local_path.empty()
                              ? folder_
                              : (folder_.empty() ? "" : folder_ + "/") + object.local_path;
    }
  }
  const std::optional<StorePlace> back = PlaceOf(object);
  if (!back || back->path != std::string(place) + std::string(kSuffix)) return std::nullopt;
  return object;
}

std::vector<std::string> SharedObjectPlaces::SharedFolders() const {
  std::vector<std::string> folders;
  auto add = [&](const std::string& path) {
    const std::string folder = path.empty() ? shared_ : InFolder(shared_, path);
    for (const std::string& known : folders)
      if (known == folder) return;
    folders.push_back(folder);
  };
  for (const std::string& path : FoldersAbove(movie_)) add(path);
  for (const std::string& path : FoldersAbove(folder_)) add(path);
  if (id_.book.empty() && !folder_.empty()) add(folder_);
  return folders;
}

std::string SharedObjectPlaces::OtherMoviesFolder() const {
  if (!id_.book.empty()) return {};
  return folder_.empty() ? shared_ : InFolder(shared_, folder_);
}

bool LooksLikeSharedObject(std::string_view bytes) {
  constexpr std::size_t kHeader = 6;
  if (bytes.size() < kHeader + 4 || bytes[0] != '\0' ||
      static_cast<unsigned char>(bytes[1]) != 0xBF)
    return false;
  std::size_t length = 0;
  for (std::size_t i = 2; i < kHeader; ++i)
    length = (length << 8) | static_cast<unsigned char>(bytes[i]);
  return length == bytes.size() - kHeader && bytes.substr(kHeader, 4) == "TCSO";
}

}  // namespace pagoro
