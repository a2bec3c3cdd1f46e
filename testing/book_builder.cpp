#include "testing/book_builder.h"

#include <stdexcept>

namespace pagoro::testing {

std::string WithIndex(std::string image, const std::string& index) {
  image += index;
  const auto n = static_cast<std::uint32_t>(index.size());
  for (int shift = 0; shift < 32; shift += 8) image += static_cast<char>(n >> shift & 0xFF);
  return image;
}

BookBuilder::BookBuilder(std::string version, int width, int height)
    : version_(std::move(version)),
      header_("version|" + version_ + "|1|" + std::to_string(width) + "|" +
              std::to_string(height) + "|") {}

BookBuilder& BookBuilder::File(const std::string& name, const std::string& contents) {
  const std::string offset = std::to_string(NextOffset());
  const std::size_t size = contents.size();
  if (version_ == "1.0") {
    constexpr std::size_t kRotation = 10240;
    data_ += size <= kRotation ? contents
                               : contents.substr(size - kRotation) + contents.substr(0, size - kRotation);
    lines_.push_back(name + "|" + offset + "|" + std::to_string(size));
  } else {
    if (size < 3) throw std::invalid_argument("a file shorter than three bytes cannot be stored");
    data_ += contents.substr(3);
    lines_.push_back(name + "|" + offset + "|" + std::to_string(size - 3) + "|" + contents.substr(0, 3));
  }
  return *this;
}

BookBuilder& BookBuilder::Line(const std::string& line) {
  lines_.push_back(line);
  return *this;
}

BookBuilder& BookBuilder::Header(const std::string& line) {
  header_ = line;
  return *this;
}

std::string BookBuilder::Build() const {
  std::string index = "buildexe\r\n" + header_ + "\r\n";
  for (const std::string& line : lines_) index += line + "\r\n";
  return WithIndex(image_ + data_, index);
}

}  // namespace pagoro::testing
