// The book container, as the reader, the packer and the tests' book builder
// all read and write it. A book executable is
//   <reader program><stored entries><index text><index length>
// with the index length 4 bytes little-endian. The index text is code page
// 936, one line per entry, CR LF after every line:
//   buildexe
//   version|<format>|1|<width>|<height>|
//   <name>|<offset>|<size>                 format 1.0
//   <name>|<offset>|<size>|<first 3 bytes> format 2.0
// Format 1.0 stores a file longer than 10240 bytes rotated (its last 10240
// bytes first); format 2.0 keeps a file's first three bytes in its entry
// line and stores the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pagoro::format {

inline constexpr std::string_view kVersion10 = "1.0";
inline constexpr std::string_view kVersion20 = "2.0";

inline constexpr std::string_view kFirstLine = "buildexe";
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kFieldSeparator = "|";
// Index line numbers (from 0) of the header line and the first entry line.
inline constexpr int kHeaderLine = 1;
inline constexpr int kFirstEntryLine = 2;

// The entry that is played rather than extracted.
inline constexpr std::string_view kMainMovie = "main.swf";

// Format 1.0 stores files longer than this rotated.
inline constexpr std::size_t kRotationLength = 10240;
// Format 2.0 keeps this many leading bytes of a file in its entry line.
inline constexpr std::size_t kHeaderLength = 3;
// The index length after the index text.
inline constexpr std::size_t kIndexLengthSize = 4;

// The header line (without line end) of a book of `version` whose movie is
// width x height.
std::string HeaderLine(std::string_view version, std::int64_t width, std::int64_t height);

// The format version field of a header line: the text between its first
// and second "|" ("" when there is none).
std::string VersionOf(std::string headerLine);

// Format 1.0: the length of the part of a `size`-byte file that is stored
// after its last kRotationLength bytes (0 for a file stored as it is).
inline constexpr std::size_t RotatedHeadLength(std::size_t size) {
  return size > kRotationLength ? size - kRotationLength : 0;
}

// The index length as stored after the index text.
std::string IndexLengthBytes(std::uint32_t length);
// The index length stored in the kIndexLengthSize bytes before `end`.
std::uint32_t ReadIndexLength(const unsigned char* end);

}  // namespace pagoro::format
