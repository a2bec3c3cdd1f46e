// Decides whether a path a movie asks for lies inside the folder it may read.
// Paths are absolute, UTF-8, already percent-decoded. Symbolic links are
// followed before the check, so a link that leads out of the folder is out.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pagoro {

struct ConfinedPath {
  bool inside = false;
  std::filesystem::path file;  // canonical path of the regular file when inside
  std::string reason;          // why not, when not inside
};

// Whether files and folders whose names start with "." may be served.
enum class HiddenFiles { kServed, kRefused };

// `folder` need not be canonical; an empty folder allows nothing. With
// HiddenFiles::kRefused, a name below the folder that starts with "." (in
// the request or in the file it resolves to) is refused.
ConfinedPath FileInsideFolder(std::string_view request_path, const std::filesystem::path& folder,
                              HiddenFiles hidden = HiddenFiles::kServed);

// The folder a movie may read, opened once when the movie starts: its
// files are then opened relative to it, so that the folder's path swapped
// for a link (or another folder) while the movie plays serves nothing of
// what now lies there.
class OpenedFolder {
 public:
  OpenedFolder() = default;
  // Opens `folder` (following links on its way, as the movie was given it);
  // an empty or missing folder leaves it closed.
  explicit OpenedFolder(const std::filesystem::path& folder);
  ~OpenedFolder();
  OpenedFolder(OpenedFolder&& other) noexcept;
  OpenedFolder& operator=(OpenedFolder&& other) noexcept;
  OpenedFolder(const OpenedFolder&) = delete;
  OpenedFolder& operator=(const OpenedFolder&) = delete;

  bool is_open() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // Where the folder was when it was opened (canonical).
  const std::filesystem::path& root() const { return root_; }

 private:
  int fd_ = -1;
  std::filesystem::path root_;
};

// Opens the file FileInsideFolder found, for reading, name by name from the
// opened folder, and checks the file it opened rather than the name: the
// file must lie below where the folder was opened, no link is followed on
// the way (a name or a folder on the way swapped for a link is refused),
// and a FIFO or device put in its place is refused without waiting on it.
// Returns the descriptor, or -1 with `reason` set.
int OpenConfinedFile(const ConfinedPath& found, const OpenedFolder& folder, std::string* reason);

// Opens the regular file at `path` for reading without waiting on it (a
// FIFO or device in its place is refused), judged by what was opened.
// Returns the descriptor, or -1 with `reason` set.
int OpenRegularFile(const std::string& path, std::string* reason);

}  // namespace pagoro
