// What a file handed to the reader holds, told by its content alone (never
// by its name): a book (any program with a valid book container at its end),
// a Flash projector (a program with a movie appended, then the marker
// 0xFA123456 and the movie's length, both 32-bit little-endian), or a plain
// Flash movie (its signature, as swf/movie_header.h reads it).
//
// A file the reader is given is judged by reading the few bytes the judge
// looks at (its last eight, a container's index text, the head of the file
// and of a projector's movie) from the opened file, never through a mapping
// of it: a file cut short, or whose medium went away, after it was opened
// is a failed read, not a fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "book/env.h"

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

// Reads `size` bytes from `offset` of the file being judged (a range inside
// it) into `out`; false when they can't be read.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, unsigned char* out)>;

// What a file holds and where the movie it plays lies: the whole file for
// a movie, the appended movie for a projector, nothing otherwise.
struct Judgement {
  FileKind kind = FileKind::kNone;
  std::uint64_t movie_offset = 0;
  std::uint64_t movie_size = 0;
};

// The judgement of the file of `size` bytes that `read` reads; a book wins
// over a projector, a projector over a movie. nullopt when a read failed.
std::optional<Judgement> JudgeFile(std::uint64_t size, const ReadAt& read);
// The same for an opened file, read from the file, not its mapped pages;
// nullopt, with the reason in `error` (if given), when it can't be read.
std::optional<Judgement> JudgeFile(const MappedFile& file, std::string* error);

// The same over bytes already in memory:
// The index text of the container that ends `file` (see ContainerIndexPlace).
std::optional<std::string_view> ContainerIndexText(Bytes file);

// True when `file` ends in a container whose index has a header line with
// the movie's width and height, i.e. one that opens without an index error.
bool HoldsBookContainer(Bytes file);

// The movie a projector carries; nullopt when `file` is no projector (no
// marker, a length that does not fit, or no movie where it points) or is a
// book.
std::optional<Bytes> ProjectorMovie(Bytes file);

// The kind of `file`; a book wins over a projector, a projector over a movie.
FileKind KindOfContent(Bytes file);

}  // namespace pagoro
