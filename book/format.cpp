#include "book/format.h"

#include "book/text.h"

namespace pagoro::format {

std::string HeaderLine(std::string_view version, std::int64_t width, std::int64_t height) {
  return "version|" + std::string(version) + "|1|" + std::to_string(width) + "|" +
         std::to_string(height) + "|";
}

Header ReadHeaderLine(std::string line) {
  Header header;
  CutField(line, kFieldSeparator);
  header.version = CutField(line, kFieldSeparator);
  CutField(line, kFieldSeparator);
  const std::string width = CutField(line, kFieldSeparator);
  const std::string height = CutField(line, kFieldSeparator);
  header.width = TryStrToInt(width);
  header.height = TryStrToInt(height);
  if (!header.width)
    header.bad_number = width;
  else if (!header.height)
    header.bad_number = height;
  return header;
}

Entry ReadEntryLine(std::string line, EntryLayout layout, std::uint64_t fileSize) {
  Entry entry;
  entry.name = CutField(line, kFieldSeparator);
  entry.offset_text = CutField(line, kFieldSeparator);
  entry.size_text = layout == EntryLayout::kRotated ? line : CutField(line, kFieldSeparator);
  entry.offset = TryStrToInt(entry.offset_text);
  entry.size = TryStrToInt(entry.size_text);
  if (!entry.offset) {
    entry.fault = EntryFault::kBadOffset;
  } else if (!entry.size) {
    entry.fault = EntryFault::kBadSize;
  } else if (*entry.offset < 0 || *entry.size < 0 ||
             static_cast<std::uint64_t>(*entry.offset) + static_cast<std::uint64_t>(*entry.size) >
                 fileSize) {
    entry.fault = EntryFault::kOutsideFile;
  } else if (layout == EntryLayout::kHeadered) {
    if (line.size() < kHeaderLength)
      entry.fault = EntryFault::kNoHeaderBytes;
    else
      entry.header = line.substr(0, kHeaderLength);
  }
  return entry;
}

EntryLayout LayoutOf(std::string_view version) {
  return version == kVersion10 ? EntryLayout::kRotated : EntryLayout::kHeadered;
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
