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
#include <optional>
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

// A header line taken apart: field 2, the format version, and fields 4 and
// 5, the movie's width and height.
struct Header {
  std::string version;
  std::optional<std::int32_t> width;  // nullopt: no number
  std::optional<std::int32_t> height;
  // The text of the first of width and height that is no number ("" for a
  // field without its closing "|"); nullopt when both are numbers.
  std::optional<std::string> bad_number;
};
Header ReadHeaderLine(std::string line);

// The two layouts of an entry line: 1.0's name|offset|size, where the size
// is the rest of the line, and 2.0's name|offset|size|<header bytes>.
enum class EntryLayout { kRotated, kHeadered };

// What is wrong with an entry line, in the order it is found.
enum class EntryFault {
  kNone,
  kBadOffset,      // the offset is no number
  kBadSize,        // the size is no number
  kOutsideFile,    // the stored bytes do not all lie in the file
  kNoHeaderBytes,  // 2.0: fewer than kHeaderLength header bytes
};

// An entry line taken apart. The fields keep their text as it stands; the
// numbers are there when the texts are numbers.
struct Entry {
  std::string name;
  std::string offset_text;
  std::string size_text;
  std::optional<std::int32_t> offset;
  std::optional<std::int32_t> size;  // of the stored bytes
  std::string header;                // 2.0: the file's first kHeaderLength bytes
  EntryFault fault = EntryFault::kNone;
};
// Reads `line` in `layout` and checks its stored bytes against a file of
// `fileSize` bytes: a negative offset or size, or an end past the file, is
// kOutsideFile.
Entry ReadEntryLine(std::string line, EntryLayout layout, std::uint64_t fileSize);
// The layout of the main movie's line in a book of format `version` (a
// version neither names reads as 2.0).
EntryLayout LayoutOf(std::string_view version);

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
