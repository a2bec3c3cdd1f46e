// Builds book executables byte by byte for tests: an image, the stored
// entries in either storage version, the index text and its length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagoro::testing {

// The container appended to `image`: `index` and its length, little-endian.
std::string WithIndex(std::string image, const std::string& index);

class BookBuilder {
 public:
  explicit BookBuilder(std::string version = "2.0", int width = 640, int height = 480);

  // Stores `contents` as the file `name` (code page 936 bytes) in the
  // builder's version: rotated for "1.0", three header bytes for any other.
  BookBuilder& File(const std::string& name, const std::string& contents);
  // An index line written as given.
  BookBuilder& Line(const std::string& line);
  // Replaces the header line.
  BookBuilder& Header(const std::string& line);

  // The offset at which the next stored bytes go.
  std::int64_t NextOffset() const {
    return static_cast<std::int64_t>(image_.size() + data_.size());
  }

  std::string Build() const;

 private:
  std::string version_;
  std::string header_;
  std::string image_ =
      "\x7f"
      "ELF image of the reader";
  std::string data_;
  std::vector<std::string> lines_;
};

}  // namespace pagoro::testing
