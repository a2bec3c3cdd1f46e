#include "book/file_kind.h"

#include <cstring>
#include <new>
#include <string>

#include "book/format.h"
#include "book/string_list.h"
#include "swf/movie_header.h"

namespace pagoro {

namespace {

constexpr std::uint32_t kProjectorMarker = 0xFA123456;

// The projector's trailer: the marker, then the movie's length.
constexpr std::size_t kTrailerSize = 8;

// The 32-bit little-endian value at `p`, read as the container's index
// length is.
std::uint32_t LittleEndian32(const unsigned char* p) { return format::ReadIndexLength(p + 4); }

// True when a container's index text has a header line with the movie's
// width and height.
bool IndexHasHeader(std::string_view text) {
  StringList index;
  try {
    index = StringList::FromText(text);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (index.Count() < 2) return false;
  return !format::ReadHeaderLine(index[format::kHeaderLine]).bad_number;
}

}  // namespace

std::optional<IndexPlace> ContainerIndexPlace(std::uint64_t fileSize,
                                              const unsigned char* lengthBytes) {
  if (fileSize < format::kIndexLengthSize) return std::nullopt;
  const std::uint64_t before = fileSize - format::kIndexLengthSize;
  const auto length =
      static_cast<std::int32_t>(format::ReadIndexLength(lengthBytes + format::kIndexLengthSize));
  if (length < 0 || static_cast<std::uint64_t>(length) > before) return std::nullopt;
  return IndexPlace{before - static_cast<std::uint64_t>(length), static_cast<std::size_t>(length)};
}

std::optional<std::string_view> ContainerIndexText(Bytes file) {
  if (file.size() < format::kIndexLengthSize) return std::nullopt;
  const std::optional<IndexPlace> place =
      ContainerIndexPlace(file.size(), file.data() + file.size() - format::kIndexLengthSize);
  if (!place) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(file.data() + place->offset);
  return std::string_view(text, place->length);
}

bool HoldsBookContainer(Bytes file) {
  const std::optional<std::string_view> text = ContainerIndexText(file);
  return text && IndexHasHeader(*text);
}

std::optional<Judgement> JudgeFile(std::uint64_t size, const ReadAt& read) {
  // The last eight bytes: a projector's marker and movie length, the last
  // four of them a container's index length.
  unsigned char tail[kTrailerSize] = {};
  const std::size_t tailSize = size < kTrailerSize ? static_cast<std::size_t>(size) : kTrailerSize;
  const std::uint64_t tailAt = size - tailSize;
  if (!read(tailAt, tailSize, tail)) return std::nullopt;

  if (tailSize >= format::kIndexLengthSize) {
    const std::optional<IndexPlace> place =
        ContainerIndexPlace(size, tail + tailSize - format::kIndexLengthSize);
    if (place) {
      std::string text;
      bool room = true;
      try {
        text.resize(place->length);
      } catch (const std::bad_alloc&) {
        room = false;  // as an index too large to hold: no container
      }
      if (room) {
        if (!read(place->offset, text.size(), reinterpret_cast<unsigned char*>(text.data())))
          return std::nullopt;
        if (IndexHasHeader(text)) return Judgement{.kind = FileKind::kBook};
      }
    }
  }

  // The movie's signature: its first eight bytes (fewer when it is shorter).
  unsigned char head[swf::kHeaderPrefix] = {};
  const auto isMovieAt = [&](std::uint64_t at, std::uint64_t length) -> std::optional<bool> {
    const std::size_t n =
        length < swf::kHeaderPrefix ? static_cast<std::size_t>(length) : swf::kHeaderPrefix;
    if (!read(at, n, head)) return std::nullopt;
    return swf::MovieSignature(Bytes(head, n)).has_value();
  };
  if (tailSize == kTrailerSize && LittleEndian32(tail) == kProjectorMarker) {
    const std::uint32_t length = LittleEndian32(tail + 4);
    if (length <= size - kTrailerSize) {
      const std::uint64_t at = size - kTrailerSize - length;
      const std::optional<bool> movie = isMovieAt(at, length);
      if (!movie) return std::nullopt;
      if (*movie)
        return Judgement{.kind = FileKind::kProjector, .movie_offset = at, .movie_size = length};
    }
  }
  const std::optional<bool> movie = isMovieAt(0, size);
  if (!movie) return std::nullopt;
  if (*movie) return Judgement{.kind = FileKind::kMovie, .movie_offset = 0, .movie_size = size};
  return Judgement{};
}

std::optional<Judgement> JudgeFile(const MappedFile& file, std::string* error) {
  return JudgeFile(file.size(), [&](std::uint64_t offset, std::size_t size, unsigned char* out) {
    return file.CopyOut(static_cast<std::size_t>(offset), size, out, error);
  });
}

namespace {

// Reads the bytes in memory.
std::optional<Judgement> JudgeBytes(Bytes file) {
  return JudgeFile(file.size(), [&](std::uint64_t offset, std::size_t size, unsigned char* out) {
    if (size > 0) std::memcpy(out, file.data() + offset, size);
    return true;
  });
}

}  // namespace

std::optional<Bytes> ProjectorMovie(Bytes file) {
  const std::optional<Judgement> judged = JudgeBytes(file);
  if (!judged || judged->kind != FileKind::kProjector) return std::nullopt;
  return file.subspan(static_cast<std::size_t>(judged->movie_offset),
                      static_cast<std::size_t>(judged->movie_size));
}

FileKind KindOfContent(Bytes file) { return JudgeBytes(file)->kind; }

}  // namespace pagoro
