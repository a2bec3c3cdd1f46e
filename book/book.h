// A book executable: the reader program with a book container appended.
// Book maps the file, reads the container index from its end and turns the
// stored entries back into files, in both storage versions ("1.0" rotated,
// "2.0" with three header bytes kept in the index).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "book/env.h"
#include "book/format.h"
#include "book/string_list.h"

namespace pagoro {

// What a Book needs from whoever opens books: the temporary movie files, the
// emptying of a cache folder and the plain message dialog.
class BookHost {
 public:
  virtual ~BookHost() = default;
  // A new, empty file in the temporary-files folder; its full path.
  virtual std::string NewTempFileName() = 0;
  // Deletes every file directly inside `folder` (which ends in the separator).
  virtual void ClearFolder(const std::string& folder) = 0;
  // Shows `text` to the user and returns when it has been read (the mapping failure).
  virtual void ShowMessage(const std::string& text) = 0;
};

class Book {
 public:
  Book(Env& env, BookHost& host);
  ~Book();
  Book(const Book&) = delete;
  Book& operator=(const Book&) = delete;

  // If a regular file exists at `path`: releases the current book, maps this
  // one, reads its index and the movie size from the header line. Throws
  // EListError when the index has no header line and EConvertError when
  // the movie size there is not a number.
  void LoadIndex(const std::string& path);
  // The same for the file at `path` already opened as `opened` (not null),
  // whatever `path` names now: a file judged once is the one read. Every
  // byte of the index is read from the file, not from its mapped pages, so
  // a file cut short or whose medium went away since it was opened raises
  // EBookUnreadable (for either call) instead of a fault.
  void LoadIndex(const std::string& path, std::unique_ptr<MappedFile> opened);
  // Maps the file; on failure shows the mapping message and leaves no view
  // (BookSize 0). A file of 4 GiB or more is refused the same way: its
  // offsets and index length could not reach its end.
  void MapBookFile(const std::string& path);
  // Frees the index and unmaps the view.
  void ReleaseBook();

  // The main movie into a new temporary file; its path, or "" when the format
  // version is neither "1.0" nor "2.0" or no entry line matches `name`.
  // Without any index (no book was ever loaded) this and ExtractAssets do
  // nothing.
  std::string ExtractMainMovie(const std::string& name);
  std::string ExtractRotatedEntry(const std::string& name);   // format version 1.0
  std::string ExtractHeaderedEntry(const std::string& name);  // format version 2.0
  // Empties `folder` (ending in the separator) and writes every entry but the
  // main movie into it, each under its name converted to UTF-8 (bytes that
  // are no character of code page 936 become U+FFFD). An entry
  // whose name has a folder part, whose bytes lie outside the file or that
  // lacks its three header bytes stops the pass with EBadEntry. When the
  // files would need more room than the folder's file system has free,
  // nothing is written (ENoSpaceError, naming the folder).
  void ExtractAssets(const std::string& folder);
  // The same into `open`, the folder `folder` already opened, which every
  // file goes into whatever `folder` names meanwhile.
  void ExtractAssets(const std::string& folder, OpenFolder& open);

  // Book state.
  const unsigned char* BookView() const;                      // null when no book is mapped
  const MappedFile* BookFile() const { return view_.get(); }  // null likewise
  std::uint32_t BookSize() const { return book_size_; }
  const std::optional<StringList>& BookIndex() const { return book_index_; }
  std::int32_t MovieWidth() const { return movie_width_; }
  std::int32_t MovieHeight() const { return movie_height_; }

  // The entry `line` of this book read in `layout`, refused as the
  // extraction refuses it (CheckEntry) when its stored bytes can't be had.
  format::Entry ReadEntry(const std::string& line, format::EntryLayout layout) const;

 private:
  // The first line from `first` on that contains the file-name part of
  // `name`; null when none does.
  const std::string* FindEntry(const std::string& name, int first) const;
  // Refuses (ENoSpaceError) files of `needed` bytes in all, counted in
  // whole blocks, that the file system of `folder` has no room for.
  void CheckFreeSpace(const std::string& folder, std::uint64_t needed) const;
  // The room the files of ExtractAssets would take in `folder`: each name
  // once, up to the first line the pass would stop at.
  std::uint64_t AssetsRoom(const std::string& folder) const;
  // Makes `view` (null: the file could not be mapped, for `reason`) the
  // book's view, as MapBookFile does.
  void TakeBookFile(const std::string& path, std::unique_ptr<MappedFile> view, std::string reason);
  // Reads the index and the movie size of the view just taken.
  void ReadIndex();
  // Copies `size` stored bytes at `offset` (inside the file) into `out`
  // from the file itself; EBookUnreadable when they can't be read any more.
  void CopyStored(std::uint64_t offset, std::size_t size, unsigned char* out) const;
  // Writes the files of ExtractAssets into `open` (null: the folder could
  // not be opened, for `why`).
  void WriteAssets(const std::string& folder, OpenFolder* open, const std::string& why);
  // A buffer of `size` bytes (EOutOfMemory when it can't be had).
  static std::unique_ptr<unsigned char[]> NewBuffer(std::size_t size);
  // The buffer of one extraction pass. It keeps the room of the largest file
  // so far, so the files after it are copied into memory that is already
  // there instead of fresh pages the system has to clear first.
  class PassBuffer {
   public:
    // Room for `size` bytes (EOutOfMemory when it can't be had).
    unsigned char* Room(std::size_t size);

   private:
    std::unique_ptr<unsigned char[]> bytes_;
    std::size_t capacity_ = 0;
  };
  // The file of `entry`: its three header bytes and its stored bytes,
  // copied into `buffer`; size + 3 bytes at the result.
  const unsigned char* FillHeadered(const format::Entry& entry, PassBuffer& buffer) const;

  Env& env_;
  BookHost& host_;
  std::unique_ptr<MappedFile> view_;
  std::string book_path_;  // the mapped file's
  std::uint32_t book_size_ = 0;
  std::optional<StringList> book_index_;
  std::int32_t movie_width_ = 0;
  std::int32_t movie_height_ = 0;
};

// Throws the reader's error for a faulty entry line: EConvertError for a
// number field that is no number, EBadEntry for stored bytes outside the
// file or missing header bytes.
void CheckEntry(const format::Entry& entry);

// The mapping failure message, shown through BookHost::ShowMessage.
inline constexpr const char* kMappingErrorMessage = "创建内存映射时发生错误！";

}  // namespace pagoro
