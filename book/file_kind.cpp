#include "book/file_kind.h"

#include <new>
#include <string>

#include "book/format.h"
#include "book/string_list.h"

namespace pagoro {

namespace {

constexpr std::uint32_t kProjectorMarker = 0xFA123456;
constexpr std::size_t kMovieHeaderLength = 8;

// The 32-bit little-endian value at `p`, read as the container's index
// length is.
std::uint32_t LittleEndian32(const unsigned char* p) { return format::ReadIndexLength(p + 4); }

}  // namespace

std::optional<std::string_view> ContainerIndexText(Bytes file) {
  if (file.size() < format::kIndexLengthSize) return std::nullopt;
  const std::size_t before = file.size() - format::kIndexLengthSize;
  const auto length = static_cast<std::int32_t>(format::ReadIndexLength(file.data() + file.size()));
  if (length < 0 || static_cast<std::uint64_t>(length) > before) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(file.data() + before - length);
  return std::string_view(text, static_cast<std::size_t>(length));
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
  if (!IsMovie(movie)) return std::nullopt;
  return movie;
}

bool IsMovie(Bytes file) {
  if (file.size() < kMovieHeaderLength) return false;
  const unsigned char first = file[0];
  return (first == 'F' || first == 'C' || first == 'Z') && file[1] == 'W' && file[2] == 'S';
}

std::optional<std::pair<int, int>> StageSizeOf(Bytes movie) {
  if (!IsMovie(movie) || movie[0] != 'F') return std::nullopt;
  // A RECT: five bits giving the field width n, then xmin, xmax, ymin and
  // ymax, n bits each, signed, in twips (1/20 pixel).
  const Bytes rect = movie.subspan(kMovieHeaderLength);
  std::size_t bit = 0;
  const auto read = [&](unsigned count) -> std::optional<std::uint32_t> {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i, ++bit) {
      if (bit / 8 >= rect.size()) return std::nullopt;
      value = value << 1 | ((rect[bit / 8] >> (7 - bit % 8)) & 1u);
    }
    return value;
  };
  const std::optional<std::uint32_t> width = read(5);
  if (!width || *width == 0) return std::nullopt;
  const auto n = static_cast<unsigned>(*width);
  std::int64_t field[4];
  for (std::int64_t& f : field) {
    const std::optional<std::uint32_t> raw = read(n);
    if (!raw) return std::nullopt;
    f = static_cast<std::int64_t>(*raw);
    if (n < 32 && (*raw >> (n - 1) & 1u) != 0) f -= std::int64_t{1} << n;  // sign
  }
  const std::int64_t w = (field[1] - field[0]) / 20;
  const std::int64_t h = (field[3] - field[2]) / 20;
  if (w <= 0 || h <= 0 || w > 0xFFFF || h > 0xFFFF) return std::nullopt;
  return std::pair{static_cast<int>(w), static_cast<int>(h)};
}

FileKind KindOfContent(Bytes file) {
  if (HoldsBookContainer(file)) return FileKind::kBook;
  if (ProjectorMovie(file)) return FileKind::kProjector;
  if (IsMovie(file)) return FileKind::kMovie;
  return FileKind::kNone;
}

}  // namespace pagoro
