// What a movie may reach besides itself. A book's movie reads the files of
// its book's folder and may use the network. A movie the user opened as a
// file (a plain movie, a projector's movie) lies among the user's own files,
// so, as the original player's local sandboxes had it, it may read local
// files or use the network, never both: files below its own folder by
// default, the network (and no file but itself) when its FileAttributes tag
// carries the use-network flag.
#pragma once

#include <cstdint>
#include <span>

namespace pagoro {

enum class MovieSandbox {
  kBook,          // the book folder's files, and the network
  kLocalFiles,    // files below its own folder, hidden ones excepted; no network
  kLocalNetwork,  // the network; no local file but itself
};

// The sandbox of a movie opened as a file: kLocalNetwork when its first tag
// is a FileAttributes tag with the use-network flag, else kLocalFiles (also
// for a movie that can't be read). A compressed movie is inflated only as
// far as its first tag.
MovieSandbox LocalSandboxOf(std::span<const std::uint8_t> movie);

}  // namespace pagoro
