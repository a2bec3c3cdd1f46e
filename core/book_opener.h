// The one road by which a book becomes the current book: at start-up with
// the program's own file, later with a dropped one. Owns the book, its cache
// folder and the temporary movie file, and hands the movie to the player.
#pragma once

#include <functional>
#include <string>

#include "book/book.h"
#include "book/env.h"
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

  // The clean-up at close: empties and removes the book folder of
  // `ownFileName`, deletes the current movie file, releases the book.
  // Reports nothing.
  void CloseBooks(const std::string& ownFileName);

  // The current book's cache folder, ending in "/"; "" before the first book.
  const std::string& CacheFolder() const { return cache_folder_; }
  // The current movie file; "" when the current book has no usable movie.
  const std::string& MovieTempPath() const { return movie_temp_path_; }
  Book& book() { return book_; }

  // BookHost
  std::string NewTempFileName() override;
  void ClearFolder(const std::string& folder) override;
  void ShowMessage(const std::string& text) override;

 private:
  Env& env_;
  PlayerControl& player_;
  std::function<void(const std::string&)> show_message_;
  TempFiles temp_files_;
  Book book_;
  std::string cache_folder_;
  std::string movie_temp_path_;
};

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
