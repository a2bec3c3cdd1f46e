#include "book/book.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <set>

#include "book/cp936.h"
#include "book/errors.h"
#include "book/file_kind.h"
#include "book/format.h"
#include "book/texts.h"

namespace pagoro {

namespace {

using format::kFirstEntryLine;
using format::kHeaderLength;
using format::kHeaderLine;
using format::kMainMovie;
using format::kRotationLength;
// Files take whole blocks; 4 KiB is the block of the common Linux file
// systems, so small files are not counted as taking nothing.
constexpr std::uint64_t kBlockSize = 4096;

std::uint64_t InBlocks(std::uint64_t bytes) {
  return (bytes + kBlockSize - 1) / kBlockSize * kBlockSize;
}

std::string MiB(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

// The file-name part of a requested name: "/" taken as "\", then what
// follows the last "\" or ":" that is not the second byte of a character.
std::string FileNamePart(const std::string& name) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(name[i]))) {
      ++i;
      continue;
    }
    if (name[i] == '/' || name[i] == '\\' || name[i] == ':') start = i + 1;
  }
  return name.substr(start);
}

// True when the entry name, read as code page 936 text, names a file directly
// inside the folder: no "/" anywhere, no "\" that is a character of its own,
// not "." or "..". An empty name passes; its line fails on its numbers.
bool IsPlainFileName(std::string_view name) {
  if (name == "." || name == ".." || name.find('/') != std::string_view::npos) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(name[i])))
      ++i;
    else if (name[i] == '\\')
      return false;
  }
  return true;
}

// The file name of `path`, as messages show it.
std::string LegibleFileName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return FileNameAsUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
}

// Index text is code page 936; messages are UTF-8.
std::string Quoted(std::string_view indexText) { return "\"" + Cp936ToUtf8(indexText) + "\""; }

}  // namespace

Book::Book(Env& env, BookHost& host) : env_(env), host_(host) {}

Book::~Book() = default;

const unsigned char* Book::BookView() const { return view_ ? view_->data() : nullptr; }

void Book::MapBookFile(const std::string& path) {
  std::string reason;
  std::unique_ptr<MappedFile> view = env_.MapReadOnly(path, &reason);
  TakeBookFile(path, std::move(view), reason);
}

void Book::TakeBookFile(const std::string& path, std::unique_ptr<MappedFile> view,
                        std::string reason) {
  view_ = std::move(view);
  book_path_ = path;
  // Offsets and the index length are 32-bit: a larger file is no book.
  if (view_ && view_->size() > UINT32_MAX) {
    view_.reset();
    reason = Tr("Reader", "the file is 4 GiB or larger, more than a book can be");
  }
  book_size_ = view_ ? static_cast<std::uint32_t>(view_->size()) : 0;
  // The mapping message as it always read, then the file and why.
  if (!view_) {
    host_.ShowMessage(std::string(kMappingErrorMessage) + "\n\"" + LegibleFileName(path) +
                      "\": " + reason);
  }
}

void Book::ReleaseBook() {
  book_index_.reset();
  view_.reset();
}

void Book::LoadIndex(const std::string& path) {
  if (!env_.FileExists(path)) return;
  ReleaseBook();
  MapBookFile(path);
  ReadIndex();
}

void Book::LoadIndex(const std::string& path, std::unique_ptr<MappedFile> opened) {
  ReleaseBook();
  TakeBookFile(path, std::move(opened), {});
  ReadIndex();
}

void Book::ReadIndex() {
  book_index_.emplace();
  // An index that can't be read leaves the list empty, without a message;
  // one whose bytes went away since the file was opened is an error.
  try {
    if (view_ && book_size_ >= format::kIndexLengthSize) {
      unsigned char length[format::kIndexLengthSize];
      CopyStored(book_size_ - format::kIndexLengthSize, format::kIndexLengthSize, length);
      if (const std::optional<IndexPlace> place = ContainerIndexPlace(book_size_, length)) {
        try {
          std::string text(place->length, '\0');
          CopyStored(place->offset, place->length, reinterpret_cast<unsigned char*>(text.data()));
          book_index_ = StringList::FromText(text);
        } catch (const std::bad_alloc&) {
          book_index_.emplace();
        }
      }
    }
  } catch (const EBookUnreadable&) {
    // Nothing of a file that can't be read is extracted later.
    ReleaseBook();
    throw;
  }
  const format::Header header = format::ReadHeaderLine((*book_index_)[kHeaderLine]);
  // A width read before a height that fails is kept.
  if (header.width) movie_width_ = *header.width;
  if (header.bad_number) throw EConvertError(Cp936ToUtf8(*header.bad_number));
  movie_height_ = *header.height;
}

std::string Book::ExtractMainMovie(const std::string& name) {
  if (!book_index_) return {};
  const std::string version = format::ReadHeaderLine((*book_index_)[kHeaderLine]).version;
  if (version == format::kVersion10) return ExtractRotatedEntry(name);
  if (version == format::kVersion20) return ExtractHeaderedEntry(name);
  return {};
}

const std::string* Book::FindEntry(const std::string& name, int first) const {
  if (!book_index_) return nullptr;
  const std::string wanted = FileNamePart(name);
  if (wanted.empty()) return nullptr;
  for (int i = first; i < book_index_->Count(); ++i) {
    const std::string& line = (*book_index_)[i];
    if (line.find(wanted) != std::string::npos) return &line;
  }
  return nullptr;
}

void Book::CheckFreeSpace(const std::string& folder, std::uint64_t needed) const {
  const std::optional<std::uint64_t> free = env_.FreeSpace(folder);
  if (!free || needed <= *free) return;
  std::string name = folder;
  if (name.size() > 1 && name.back() == '/') name.pop_back();
  throw ENoSpaceError(Args(Tr("Reader",
                              "Not enough free space in \"%1\" for the book's files: they need "
                              "%2, %3 are free"),
                           {name, MiB(needed), MiB(*free)}));
}

std::uint64_t Book::AssetsRoom(const std::string& folder) const {
  std::uint64_t room = 0;
  std::set<std::string> names;
  for (int i = kFirstEntryLine; i < book_index_->Count(); ++i) {
    const format::Entry entry =
        format::ReadEntryLine((*book_index_)[i], format::EntryLayout::kHeadered, book_size_);
    if ((folder + entry.name).find(kMainMovie) != std::string::npos) continue;
    // The pass stops at a line it can't write; the lines after it don't count.
    if (!IsPlainFileName(entry.name) || entry.fault != format::EntryFault::kNone) break;
    // A second line of a name is skipped: its file exists by then.
    if (names.insert(entry.name).second)
      room += InBlocks(kHeaderLength + static_cast<std::uint64_t>(*entry.size));
  }
  return room;
}

void CheckEntry(const format::Entry& entry) {
  switch (entry.fault) {
    case format::EntryFault::kNone: return;
    case format::EntryFault::kBadOffset: throw EConvertError(Cp936ToUtf8(entry.offset_text));
    case format::EntryFault::kBadSize: throw EConvertError(Cp936ToUtf8(entry.size_text));
    case format::EntryFault::kOutsideFile:
      throw EBadEntry(
          Args(Tr("Reader", "Entry %1 lies outside the book file (offset %2, size %3)"),
               {Quoted(entry.name), std::to_string(*entry.offset), std::to_string(*entry.size)}));
    case format::EntryFault::kNoHeaderBytes:
      throw EBadEntry(
          Args(Tr("Reader", "Entry %1 lacks its three header bytes"), {Quoted(entry.name)}));
  }
}

format::Entry Book::ReadEntry(const std::string& line, format::EntryLayout layout) const {
  format::Entry entry = format::ReadEntryLine(line, layout, book_size_);
  CheckEntry(entry);
  return entry;
}

void Book::CopyStored(std::uint64_t offset, std::size_t size, unsigned char* out) const {
  std::string reason;
  if (view_->CopyOut(static_cast<std::size_t>(offset), size, out, &reason)) return;
  throw EBookUnreadable(LegibleFileName(book_path_), reason);
}

std::unique_ptr<unsigned char[]> Book::NewBuffer(std::size_t size) {
  try {
    return std::make_unique_for_overwrite<unsigned char[]>(size);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory();
  }
}

std::string Book::ExtractRotatedEntry(const std::string& name) {
  const std::string* found = FindEntry(name, kHeaderLine);
  if (found == nullptr) return {};
  const format::Entry entry = ReadEntry(*found, format::EntryLayout::kRotated);
  const std::int32_t offset = *entry.offset;
  const std::int32_t size = *entry.size;
  CheckFreeSpace(env_.TempFolder(), InBlocks(static_cast<std::uint64_t>(size)));

  std::string path = host_.NewTempFileName();
  const auto length = static_cast<std::size_t>(size);
  std::unique_ptr<unsigned char[]> buffer = NewBuffer(length);
  if (length <= kRotationLength) {
    CopyStored(static_cast<std::uint64_t>(offset), length, buffer.get());
  } else {
    // Stored: the file's last 10240 bytes, then the bytes before them.
    const std::size_t head = length - kRotationLength;
    CopyStored(static_cast<std::uint64_t>(offset) + kRotationLength, head, buffer.get());
    CopyStored(static_cast<std::uint64_t>(offset), kRotationLength, buffer.get() + head);
  }
  env_.WriteFile(path, buffer.get(), length);
  return path;
}

unsigned char* Book::PassBuffer::Room(std::size_t size) {
  if (size > capacity_) {
    // The old room goes first, so no more than the largest file is held.
    bytes_.reset();
    capacity_ = 0;
    bytes_ = NewBuffer(size);
    capacity_ = size;
  }
  return bytes_.get();
}

const unsigned char* Book::FillHeadered(const format::Entry& entry, PassBuffer& buffer) const {
  const std::size_t length = kHeaderLength + static_cast<std::size_t>(*entry.size);
  unsigned char* bytes = buffer.Room(length);
  std::memcpy(bytes, entry.header.data(), kHeaderLength);
  CopyStored(static_cast<std::uint64_t>(*entry.offset), static_cast<std::size_t>(*entry.size),
             bytes + kHeaderLength);
  return bytes;
}

std::string Book::ExtractHeaderedEntry(const std::string& name) {
  const std::string* found = FindEntry(name, kFirstEntryLine);
  if (found == nullptr) return {};
  const format::Entry entry = ReadEntry(*found, format::EntryLayout::kHeadered);
  CheckFreeSpace(env_.TempFolder(),
                 InBlocks(kHeaderLength + static_cast<std::uint64_t>(*entry.size)));
  std::string path = host_.NewTempFileName();
  PassBuffer buffer;
  env_.WriteFile(path, FillHeadered(entry, buffer),
                 kHeaderLength + static_cast<std::size_t>(*entry.size));
  return path;
}

void Book::ExtractAssets(const std::string& folder) {
  if (!book_index_) return;
  host_.ClearFolder(folder);
  // Entries may name the same stored bytes many times over: a small book
  // can ask for far more room than it takes itself.
  CheckFreeSpace(folder, AssetsRoom(folder));
  // Every file goes in through the folder opened once, not through its
  // path: a link swapped in for the folder meanwhile gets nothing.
  std::string why;
  const std::unique_ptr<OpenFolder> open =
      env_.OpenFolderNoFollow(folder.substr(0, folder.size() - 1), &why);
  WriteAssets(folder, open.get(), why);
}

void Book::ExtractAssets(const std::string& folder, OpenFolder& open) {
  if (!book_index_) return;
  host_.ClearFolder(folder);
  CheckFreeSpace(folder, AssetsRoom(folder));
  WriteAssets(folder, &open, {});
}

void Book::WriteAssets(const std::string& folder, OpenFolder* open, const std::string& why) {
  PassBuffer buffer;
  for (int i = kFirstEntryLine; i < book_index_->Count(); ++i) {
    // Read whole, but its faults count only once the name has been taken:
    // a line skipped for its name is not refused for its numbers.
    const format::Entry entry =
        format::ReadEntryLine((*book_index_)[i], format::EntryLayout::kHeadered, book_size_);
    // A byte search of the path as the index spells it.
    if ((folder + entry.name).find(kMainMovie) != std::string::npos) continue;
    if (!IsPlainFileName(entry.name))
      throw EBadEntry(
          Args(Tr("Reader", "Entry name %1 is not a plain file name"), {Quoted(entry.name)}));
    const std::string fileName = Cp936ToUtf8(entry.name);
    if (open && env_.EntryExistsIn(*open, fileName)) continue;
    CheckEntry(entry);
    if (!open) throw EFCreateError(folder + fileName, why);
    const std::size_t length = kHeaderLength + static_cast<std::size_t>(*entry.size);
    env_.WriteFileIn(*open, fileName, FillHeadered(entry, buffer), length);
  }
}

}  // namespace pagoro
