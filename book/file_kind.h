// What a file handed to the reader holds, told by its content alone (never
// by its name): a book (any program with a valid book container at its end),
// a Flash projector (a program with a movie appended, then the marker
// 0xFA123456 and the movie's length, both 32-bit little-endian), or a plain
// Flash movie (its signature, as swf/movie_header.h reads it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pagoro {

enum class FileKind { kNone, kBook, kProjector, kMovie };

using Bytes = std::span<const unsigned char>;

// Where the index text of the container that ends a file of `fileSize`
// bytes lies: just before the file's last four bytes, `lengthBytes`, as
// many bytes as they say. nullopt when the length does not fit in the file.
struct IndexPlace {
  std::uint64_t offset;
  std::size_t length;
};
std::optional<IndexPlace> ContainerIndexPlace(std::uint64_t fileSize,
                                              const unsigned char* lengthBytes);

// The index text of the container that ends `file` (see ContainerIndexPlace).
std::optional<std::string_view> ContainerIndexText(Bytes file);

// True when `file` ends in a container whose index has a header line with
// the movie's width and height, i.e. one that opens without an index error.
bool HoldsBookContainer(Bytes file);

// The movie a projector carries; nullopt when `file` is no projector (no
// marker, a length that does not fit, or no movie where it points).
std::optional<Bytes> ProjectorMovie(Bytes file);

// The kind of `file`; a book wins over a projector, a projector over a movie.
FileKind KindOfContent(Bytes file);

}  // namespace pagoro
