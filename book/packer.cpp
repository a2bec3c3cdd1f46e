#include "book/packer.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "book/cp936.h"
#include "book/format.h"
#include "book/texts.h"

namespace pagoro {

namespace {

using format::kHeaderLength;
using format::kLineEnd;
using format::kMainMovie;
constexpr std::size_t kMaxBookSize = std::numeric_limits<std::int32_t>::max();

// The entry name as the index holds it. Fields are cut at every "|" byte,
// the second byte of a double-byte character included, and a line ends at
// CR, LF or NUL, so none of them may appear; the reader refuses a name with
// a folder part.
std::string IndexName(const std::string& name) {
  std::string cp936;
  if (!Utf8ToCp936(name, &cp936)) {
    throw PackError(
        Args(Tr("Packer", "The file name \"%1\" has characters that code page 936 lacks"), {name}));
  }
  if (cp936.find_first_of(std::string("|\r\n\0", 4)) != std::string::npos) {
    throw PackError(Args(
        Tr("Packer", "The file name \"%1\" holds \"|\", a line end or a byte that reads as one"),
        {name}));
  }
  for (std::size_t i = 0; i < cp936.size(); ++i) {
    if (cp936[i] == '\\' && !IsTrailByte(cp936, i)) {
      throw PackError(Args(
          Tr("Packer", "The file name \"%1\" holds \"\\\", which readers take for a folder part"),
          {name}));
    }
  }
  return cp936;
}

// The pieces of the file that are stored, in order, and the index line.
struct Stored {
  std::string_view first;
  std::string_view second;
  std::string line;
  std::size_t size() const { return first.size() + second.size(); }
};

// How `entry` is stored when its bytes start at `offset`.
Stored StoreEntry(const PackEntry& entry, const PackOptions& options, std::size_t offset) {
  const std::string_view file = entry.bytes;
  Stored stored;
  stored.line = IndexName(entry.name) + "|" + std::to_string(offset) + "|";
  if (options.format == format::kVersion10) {
    // A long file goes rotated: its last kRotationLength bytes first.
    const std::size_t head = format::RotatedHeadLength(file.size());
    stored.first = file.substr(head);
    stored.second = file.substr(0, head);
    stored.line += std::to_string(file.size());
    return stored;
  }
  if (file.size() < kHeaderLength) {
    throw PackError(
        Args(Tr("Packer", "The file \"%1\" is shorter than 3 bytes; format 2.0 can't store it"),
             {entry.name}));
  }
  const std::string_view header = file.substr(0, kHeaderLength);
  if (header.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    throw PackError(Args(Tr("Packer",
                            "The first 3 bytes of \"%1\" hold CR, LF or NUL; format 2.0 can't "
                            "store it (use format 1.0)"),
                         {entry.name}));
  }
  stored.first = file.substr(kHeaderLength);
  stored.line += std::to_string(stored.size()) + "|" + std::string(header);
  return stored;
}

}  // namespace

void SortEntries(std::vector<PackEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const PackEntry& a, const PackEntry& b) {
    const bool aMain = a.name == kMainMovie;
    const bool bMain = b.name == kMainMovie;
    if (aMain != bMain) return aMain;
    return a.name < b.name;
  });
}

std::string PackBook(const std::string& image, const std::vector<PackEntry>& entries,
                     const PackOptions& options) {
  if (options.format != format::kVersion10 && options.format != format::kVersion20) {
    throw PackError(Args(Tr("Packer", "Unknown format \"%1\" (1.0 or 2.0)"), {options.format}));
  }
  // One buffer of about the final size: the index takes a line per entry.
  std::size_t total = image.size() + 64;
  for (const PackEntry& entry : entries) total += entry.bytes.size() + entry.name.size() + 40;
  std::string book;
  book.reserve(std::min(total, kMaxBookSize));
  book.append(image);
  std::string index = std::string(format::kFirstLine) + std::string(kLineEnd) +
                      format::HeaderLine(options.format, options.width, options.height) +
                      std::string(kLineEnd);
  for (const PackEntry& entry : entries) {
    const Stored stored = StoreEntry(entry, options, book.size());
    if (book.size() + stored.size() > kMaxBookSize) {
      throw PackError(Tr("Packer", "The book would be 2 GiB or larger"));
    }
    book += stored.first;
    book += stored.second;
    index += stored.line;
    index += kLineEnd;
  }
  if (book.size() + index.size() + 4 > kMaxBookSize) {
    throw PackError(Tr("Packer", "The book would be 2 GiB or larger"));
  }
  book += index;
  book += format::IndexLengthBytes(static_cast<std::uint32_t>(index.size()));
  return book;
}

std::vector<PackEntry> ReadFolderEntries(const std::string& folder, Env& env) {
  if (!env.FolderExists(folder))
    throw PackError(Args(Tr("Packer", "\"%1\" is not a folder"), {folder}));
  std::vector<PackEntry> entries;
  for (const std::string& name : env.ListFolder(folder)) {
    std::string path = folder;
    path.append("/").append(name);
    if (env.FileExists(path)) entries.push_back({name, ReadWholeFile(path, env)});
  }
  SortEntries(entries);
  return entries;
}

std::string ReadWholeFile(const std::string& path, Env& env) {
  std::string bytes;
  std::string error;
  if (!env.ReadFile(path, &bytes, &error))
    throw PackError(Args(Tr("Packer", "Cannot read \"%1\": %2"), {path, error}));
  return bytes;
}

void WriteBookFile(const std::string& path, const std::string& bytes, Env& env) {
  std::string error;
  if (!env.ReplaceFile(path, bytes, true, &error))
    throw PackError(Args(Tr("Packer", "Cannot write \"%1\": %2"), {path, error}));
}

bool ParseMovieSize(const std::string& text, std::int32_t* width, std::int32_t* height) {
  const auto parse = [](const std::string& digits, std::int32_t* value) {
    if (digits.empty() || digits.size() > 10) return false;
    std::int64_t v = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    if (v > std::numeric_limits<std::int32_t>::max()) return false;
    *value = static_cast<std::int32_t>(v);
    return true;
  };
  const std::size_t x = text.find('x');
  return x != std::string::npos && parse(text.substr(0, x), width) &&
         parse(text.substr(x + 1), height);
}

}  // namespace pagoro
