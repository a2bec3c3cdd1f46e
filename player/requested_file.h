// Which file a movie's load means. A movie loads TempPath + name, a plain
// path; the player turns it into a URL, which percent-encodes some bytes
// (spaces, non-ASCII), keeps "%" as it is, and takes "?" and "#" as the
// start of a query and a fragment. So the URL's path decoded is not always
// the name: "50%20off" may have been "50 off" or "50%20off", and "Issue?"
// arrives as a path and a query. The file is the one whose name the URL
// decodes to exactly, else (the query being a cache buster) the URL's path
// alone, else the folder's entry that decodes to the same as the request
// (names taken literally). A folder whose name is no UTF-8 is also reached
// by its legible name, as the movie was told it (book/cp936.h). Whichever
// it is, it must lie inside the folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "player/file_confinement.h"

namespace pagoro {

// `encoded_path` and `encoded_query` as the URL holds them (percent-encoded;
// the fragment, if any, folded into them as "%23"); `folder` is the folder
// the movie may read, as the movie was told it.
ConfinedPath RequestedFile(std::string_view encoded_path,
                           std::optional<std::string_view> encoded_query,
                           const std::filesystem::path& folder,
                           HiddenFiles hidden = HiddenFiles::kServed);

// `text` with each "%XX" of two hex digits replaced by its byte; any other
// "%" stays.
std::string PercentDecoded(std::string_view text);

}  // namespace pagoro
