// The one road by which a book becomes the current book: at start-up with
// the program's own file, later with a dropped one. Owns the book, its cache
// folder and the temporary movie file, and hands the movie to the player.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "book/book.h"
#include "book/env.h"
#include "book/errors.h"
#include "book/file_kind.h"
#include "core/cache_folder.h"
#include "core/player_control.h"

namespace pagoro {

class BookOpener : public BookHost {
 public:
  // `showMessage` shows the plain message dialog (the mapping failure).
  BookOpener(Env& env, PlayerControl& player, std::function<void(const std::string&)> showMessage);

  // Opens the book executable at `path` (full path): a path whose extension
  // is not exactly ".exe" is ignored; otherwise the book's cache folder is
  // made current and filled, the main movie is extracted into a new
  // temporary file (the previous one is deleted) and played. A path where no
  // file exists (a folder named x.exe) refills the new cache folder from the
  // current book. Errors of the steps leave as exceptions; what earlier steps
  // did stays done.
  void OpenBook(const std::string& path);

  // Opens the file at `path` by what it holds, whatever its name (a file
  // named on the command line or chosen to open): a book opens as OpenBook
  // does, into the cache folder named after the file name without its last
  // extension; a Flash projector's movie is extracted into a new temporary
  // file and a plain movie plays where it is, each told the folder it lies
  // in as its folder, and no cache folder is made for them. Throws
  // ENoMagazine, changing nothing, for any other file.
  FileKind OpenFile(const std::string& path);

  // The clean-up at close: empties and removes the book folder of
  // `ownFileName`, deletes the current movie file, releases the book.
  // Reports nothing.
  void CloseBooks(const std::string& ownFileName);

  // The current book's cache folder, ending in "/"; "" before the first book.
  const std::string& CacheFolder() const { return cache_folder_; }
  // The current movie file; "" when the current book has no usable movie.
  const std::string& MovieTempPath() const { return movie_temp_path_; }
  // The stage size of what plays: the book's header values, or a movie's
  // own stage (800x600 when its header is compressed).
  int MovieWidth() const;
  int MovieHeight() const;
  Book& book() { return book_; }

  // BookHost
  std::string NewTempFileName() override;
  void ClearFolder(const std::string& folder) override;
  void ShowMessage(const std::string& text) override;

 private:
  void OpenBookAs(const std::string& path, const std::string& bookName);
  // Plays the movie file at `moviePath` with `folder` as its folder;
  // `temporary` when the file is ours to delete later.
  void PlayMovie(const std::string& moviePath, bool temporary, const std::string& folder, Bytes movie);

  Env& env_;
  PlayerControl& player_;
  std::function<void(const std::string&)> show_message_;
  TempFiles temp_files_;
  Book book_;
  std::string cache_folder_;
  std::string movie_temp_path_;
  std::optional<std::pair<int, int>> movie_stage_;  // set while a movie, not a book, plays
};

// Raised for a file that holds neither a book nor a Flash movie.
class ENoMagazine : public Exception {
 public:
  explicit ENoMagazine(const std::string& path);
};

// The cache folder name of a book opened by its content: the file name
// without its last extension, whatever its case ("MAGAZINE.EXE" gives
// "MAGAZINE"); a name whose only dot is its first character stays whole.
std::string NameWithoutExtension(const std::string& fileName);

// The extension of `path`: from the last "." after the last "/" to the end,
// dot included; "" when there is none. "\\" and ":" are ordinary file name
// characters on this system and do not end the search.
std::string ExtensionOf(const std::string& path);
// The file name of `path`: the text after its last "/".
std::string FileNameOf(const std::string& path);

// UTF-8 text (paths, folder names) as the UTF-16 text the player takes; a
// byte that is not valid UTF-8 becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace pagoro
