#include "book/format.h"

#include "book/text.h"

namespace pagoro::format {

std::string HeaderLine(std::string_view version, std::int64_t width, std::int64_t height) {
  return "version|" + std::string(version) + "|1|" + std::to_string(width) + "|" +
         std::to_string(height) + "|";
}

std::string VersionOf(std::string headerLine) {
  CutField(headerLine, kFieldSeparator);
  return CutField(headerLine, kFieldSeparator);
}

std::string IndexLengthBytes(std::uint32_t length) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8)
    bytes.push_back(static_cast<char>((length >> shift) & 0xFFu));
  return bytes;
}

std::uint32_t ReadIndexLength(const unsigned char* end) {
  return static_cast<std::uint32_t>(end[-4]) | static_cast<std::uint32_t>(end[-3]) << 8 |
         static_cast<std::uint32_t>(end[-2]) << 16 | static_cast<std::uint32_t>(end[-1]) << 24;
}

}  // namespace pagoro::format
