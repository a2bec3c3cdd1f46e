#include "core/magazine_identity.h"

#include <algorithm>
#include <array>
#include <vector>

#include "book/format.h"
#include "core/sha256.h"

namespace pagoro {
namespace {

// Hashes `size` bytes from `offset`, a piece at a time; false when they
// can't be read.
bool AddRange(Sha256& hash, const ReadAt& read, std::uint64_t offset, std::size_t size) {
  std::vector<unsigned char> piece(std::min<std::size_t>(size, std::size_t{1} << 20));
  while (size > 0) {
    const std::size_t take = std::min(size, piece.size());
    if (!read(offset, take, piece.data())) return false;
    hash.Add(piece.data(), take);
    offset += take;
    size -= take;
  }
  return true;
}

}  // namespace

std::optional<std::string> MagazineIdentity(std::uint64_t size, FileKind kind, const ReadAt& read) {
  Sha256 hash;
  std::array<unsigned char, 8> length{};
  for (std::size_t i = 0; i < length.size(); ++i)
    length[i] = static_cast<unsigned char>(size >> (8 * i));
  std::optional<IndexPlace> index;
  if (kind == FileKind::kBook && size >= format::kIndexLengthSize) {
    std::array<unsigned char, format::kIndexLengthSize> tail{};
    if (!read(size - tail.size(), tail.size(), tail.data())) return std::nullopt;
    index = ContainerIndexPlace(size, tail.data());
  }
  hash.Add(index ? std::string_view("pagoro book\n") : std::string_view("pagoro file\n"));
  hash.Add(length.data(), length.size());
  if (index) {
    // Two issues laid out alike (the same names and sizes) differ in what
    // their last stored files hold.
    const std::size_t before =
        index->offset < kIdentityEnds ? static_cast<std::size_t>(index->offset) : kIdentityEnds;
    if (!AddRange(hash, read, index->offset, index->length) ||
        !AddRange(hash, read, index->offset - before, before))
      return std::nullopt;
  } else {
    const std::size_t head = size < kIdentityEnds ? static_cast<std::size_t>(size) : kIdentityEnds;
    const std::size_t tail =
        size - head < kIdentityEnds ? static_cast<std::size_t>(size - head) : kIdentityEnds;
    if (!AddRange(hash, read, 0, head) || !AddRange(hash, read, size - tail, tail))
      return std::nullopt;
  }
  const std::array<unsigned char, 32> digest = hash.Finish();
  return Hex(digest.data(), 16);
}

std::optional<std::string> MagazineIdentity(const MappedFile& file, FileKind kind,
                                            std::string* error) {
  return MagazineIdentity(file.size(), kind,
                          [&](std::uint64_t offset, std::size_t size, unsigned char* out) {
                            return file.CopyOut(static_cast<std::size_t>(offset), size, out, error);
                          });
}

}  // namespace pagoro
