// A magazine is known by what it holds, not by what it is called: two
// different MAGAZINE.EXE from two discs are two magazines, and one
// magazine copied or moved elsewhere is still the same one. What the reader
// keeps for a magazine (its shared objects, its place on the shelf, its
// cover) is filed under this identity.
//
// The identity is the first 128 bits, in hex, of a SHA-256 over the file's
// size and:
//   - for a book, its container index (entry names, offsets, sizes and, in
//     format 2.0, each file's first bytes), which the opening reads anyway,
//     and the 64 KiB of stored files before it (two issues laid out alike,
//     the same names and sizes, still differ there);
//   - for anything else (a projector, a plain movie), its first and last
//     64 KiB.
// It reads no more than that, from the opened file (never its mapped pages).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "book/env.h"
#include "book/file_kind.h"

namespace pagoro {

// Bytes read at each end of a file that is no book.
inline constexpr std::size_t kIdentityEnds = std::size_t{64} * 1024;

// The identity of the file of `size` bytes that `read` reads, judged as
// `kind`; nullopt when a read failed.
std::optional<std::string> MagazineIdentity(std::uint64_t size, FileKind kind, const ReadAt& read);
// The same for an opened file; nullopt, with the reason in `error` (if
// given), when it can't be read.
std::optional<std::string> MagazineIdentity(const MappedFile& file, FileKind kind,
                                            std::string* error);

}  // namespace pagoro
