// Making book executables: the reader image, then every entry's stored
// bytes, then the container index and its length, as book/format.h lays
// them out.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "book/env.h"

namespace pagoro {

// Raised for anything that can't be packed; the message says what and why.
class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PackOptions {
  std::string format = "2.0";  // "1.0" or "2.0"
  std::int32_t width = 800;
  std::int32_t height = 600;
};

struct PackEntry {
  std::string name;   // UTF-8 file name, written to the index in code page 936
  std::string bytes;  // the file's contents
};

// Puts "main.swf" first and the rest in byte order of their names.
void SortEntries(std::vector<PackEntry>& entries);

// The whole book executable: `image` followed by the container of `entries`,
// in the order given. Throws PackError for an entry that can't be stored
// (name, size, header bytes) or a book of 2 GiB or more.
std::string PackBook(const std::string& image, const std::vector<PackEntry>& entries,
                     const PackOptions& options);

// Every regular file directly inside `folder` (subfolders are not entered),
// sorted as SortEntries does. Throws PackError when it can't be read.
std::vector<PackEntry> ReadFolderEntries(const std::string& folder, Env& env = Env::Default());

// Reads a whole regular file. Throws PackError when it can't be read.
std::string ReadWholeFile(const std::string& path, Env& env = Env::Default());

// Writes `bytes` to `path` as an executable file, through a temporary file
// beside it, so a failure leaves no half-written book at `path`.
void WriteBookFile(const std::string& path, const std::string& bytes, Env& env = Env::Default());

// Parses "WxH" (decimal, each at most 2147483647). False when malformed.
bool ParseMovieSize(const std::string& text, std::int32_t* width, std::int32_t* height);

}  // namespace pagoro
