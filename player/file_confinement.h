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

// Opens the file FileInsideFolder found, for reading, and checks the file
// it opened rather than the name: no link is followed at the last step, a
// FIFO or device put in its place is refused without waiting on it, and
// the opened file itself must still lie below `folder` (a folder on the
// way swapped for a link shows there). Returns the descriptor, or -1 with
// `reason` set.
int OpenConfinedFile(const ConfinedPath& found, const std::filesystem::path& folder,
                     std::string* reason);

// Opens the regular file at `path` for reading without waiting on it (a
// FIFO or device in its place is refused), judged by what was opened.
// Returns the descriptor, or -1 with `reason` set.
int OpenRegularFile(const std::string& path, std::string* reason);

}  // namespace pagoro
