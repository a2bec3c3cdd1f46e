#include "book/file_kind.h"

#include <new>
#include <string>

#include "book/format.h"
#include "book/string_list.h"
#include "swf/movie_header.h"

namespace pagoro {

namespace {

constexpr std::uint32_t kProjectorMarker = 0xFA123456;

// The 32-bit little-endian value at `p`, read as the container's index
// length is.
std::uint32_t LittleEndian32(const unsigned char* p) { return format::ReadIndexLength(p + 4); }

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
  if (!text) return false;
  StringList index;
  try {
    index = StringList::FromText(*text);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (index.Count() < 2) return false;
  return !format::ReadHeaderLine(index[format::kHeaderLine]).bad_number;
}

std::optional<Bytes> ProjectorMovie(Bytes file) {
  if (file.size() < 8) return std::nullopt;
  const unsigned char* tail = file.data() + file.size() - 8;
  if (LittleEndian32(tail) != kProjectorMarker) return std::nullopt;
  const std::uint32_t length = LittleEndian32(tail + 4);
  if (length > file.size() - 8) return std::nullopt;
  const Bytes movie = file.subspan(file.size() - 8 - length, length);
  if (!swf::MovieSignature(movie)) return std::nullopt;
  return movie;
}

FileKind KindOfContent(Bytes file) {
  if (HoldsBookContainer(file)) return FileKind::kBook;
  if (ProjectorMovie(file)) return FileKind::kProjector;
  if (swf::MovieSignature(file)) return FileKind::kMovie;
  return FileKind::kNone;
}

}  // namespace pagoro
