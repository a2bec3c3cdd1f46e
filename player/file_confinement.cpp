#include "player/file_confinement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

namespace pagoro {
namespace {

ConfinedPath Refuse(std::string reason) { return ConfinedPath{false, {}, std::move(reason)}; }

// True when a segment of `path` is "." or ".." (a request is never resolved
// by walking up, whatever lies above).
bool HasDotSegment(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(start, end - start);
    if (segment == "." || segment == "..") return true;
    start = end + 1;
  }
  return false;
}

// True when `path` is `folder` itself or lies below it (both canonical).
bool IsBelow(const std::filesystem::path& path, const std::filesystem::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
    if (f->empty()) continue;  // the trailing "" of a folder ending in "/"
    if (p == path.end() || *p != *f) return false;
  }
  return p != path.end();
}

// True when a name of `path` after its first `skip` names starts with ".".
bool HasHiddenName(const std::filesystem::path& path, std::size_t skip) {
  std::size_t index = 0;
  for (const std::filesystem::path& name : path) {
    if (index++ < skip) continue;
    const std::string text = name.string();
    if (!text.empty() && text.front() == '.') return true;
  }
  return false;
}

// The number of names in `folder`, a trailing "" not counted.
std::size_t NameCount(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for (const std::filesystem::path& name : folder) {
    if (!name.empty()) ++count;
  }
  return count;
}

}  // namespace

ConfinedPath FileInsideFolder(std::string_view request_path, const std::filesystem::path& folder,
                              HiddenFiles hidden) {
  if (folder.empty()) return Refuse("no folder is open to the movie");
  if (request_path.empty() || request_path.front() != '/') return Refuse("not an absolute path");
  if (request_path.find('\0') != std::string_view::npos) return Refuse("NUL in the path");
  if (HasDotSegment(request_path)) return Refuse("dot segment in the path");

  std::error_code error;
  const std::filesystem::path root = std::filesystem::canonical(folder, error);
  if (error) return Refuse("the folder does not exist");
  const std::filesystem::path file =
      std::filesystem::canonical(std::filesystem::path(request_path), error);
  if (error) return Refuse("no such file");
  if (!IsBelow(file, root)) return Refuse("outside the folder");
  if (hidden == HiddenFiles::kRefused) {
    const std::filesystem::path requested(request_path);
    const bool spelled_below = request_path.starts_with(folder.string());
    if (HasHiddenName(file, NameCount(root)) ||
        (spelled_below && HasHiddenName(requested, NameCount(folder))) ||
        HasHiddenName(requested.filename(), 0)) {
      return Refuse("a hidden file or folder");
    }
  }
  if (!std::filesystem::is_regular_file(file, error)) return Refuse("not a regular file");
  return ConfinedPath{true, file, {}};
}

namespace {

int OpenChecked(const std::string& path, int flags, std::string* reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags);
  if (fd < 0) {
    *reason = std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *reason = "not a regular file";
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

int OpenRegularFile(const std::string& path, std::string* reason) {
  return OpenChecked(path, 0, reason);
}

OpenedFolder::OpenedFolder(const std::filesystem::path& folder) {
  if (folder.empty()) return;
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  // Where the descriptor points, not what the name means by now.
  std::error_code error;
  root_ = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd_), error);
  if (error || !root_.is_absolute()) {
    ::close(fd_);
    fd_ = -1;
    root_.clear();
  }
}

OpenedFolder::~OpenedFolder() {
  if (fd_ >= 0) ::close(fd_);
}

OpenedFolder::OpenedFolder(OpenedFolder&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), root_(std::move(other.root_)) {}

OpenedFolder& OpenedFolder::operator=(OpenedFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    root_ = std::move(other.root_);
  }
  return *this;
}

int OpenConfinedFile(const ConfinedPath& found, const OpenedFolder& folder, std::string* reason) {
  if (!found.inside) {
    *reason = found.reason;
    return -1;
  }
  if (!folder.is_open()) {
    *reason = "no folder is open to the movie";
    return -1;
  }
  // The file as found is canonical: below the folder as it was opened, by
  // names that are no links. Anything else is a folder swapped since.
  if (!IsBelow(found.file, folder.root())) {
    *reason = "the file lies outside the folder as it was opened";
    return -1;
  }
  const std::filesystem::path relative = found.file.lexically_relative(folder.root());
  std::vector<std::string> names;
  for (const std::filesystem::path& name : relative) names.push_back(name.string());
  if (names.empty()) {
    *reason = "not a regular file";
    return -1;
  }
  int at = folder.fd();
  int fd = -1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size();
    fd = ::openat(at, names[i].c_str(),
                  O_RDONLY | O_CLOEXEC | O_NOFOLLOW | (last ? O_NONBLOCK : O_DIRECTORY));
    const int open_error = errno;
    if (at != folder.fd()) ::close(at);
    if (fd < 0) {
      *reason = open_error == ELOOP || (open_error == ENOTDIR && !last)
                    ? "a link on the way to the file"
                    : std::strerror(open_error);
      return -1;
    }
    at = fd;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *reason = "not a regular file";
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace pagoro
