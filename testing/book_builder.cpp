#include "testing/book_builder.h"

#include <stdexcept>

#include "book/format.h"

namespace pagoro::testing {

std::string WithIndex(std::string image, const std::string& index) {
  image += index;
  image += format::IndexLengthBytes(static_cast<std::uint32_t>(index.size()));
  return image;
}

BookBuilder::BookBuilder(std::string version, int width, int height)
    : version_(std::move(version)), header_(format::HeaderLine(version_, width, height)) {}

BookBuilder& BookBuilder::File(const std::string& name, const std::string& contents) {
  const std::string offset = std::to_string(NextOffset());
  const std::size_t size = contents.size();
  if (version_ == format::kVersion10) {
    const std::size_t head = format::RotatedHeadLength(size);
    data_ += contents.substr(head) + contents.substr(0, head);
    lines_.push_back(name + "|" + offset + "|" + std::to_string(size));
  } else {
    const std::size_t kept = format::kHeaderLength;
    if (size < kept)
      throw std::invalid_argument("a file shorter than three bytes cannot be stored");
    data_ += contents.substr(kept);
    lines_.push_back(name + "|" + offset + "|" + std::to_string(size - kept) + "|" +
                     contents.substr(0, kept));
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
  const std::string lineEnd(format::kLineEnd);
  std::string index = std::string(format::kFirstLine) + lineEnd + header_ + lineEnd;
  for (const std::string& line : lines_) index += line + lineEnd;
  return WithIndex(image_ + data_, index);
}

}  // namespace pagoro::testing
