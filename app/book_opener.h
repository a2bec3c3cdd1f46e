// The one road by which a book becomes the current book: at start-up with
// the program's own file, later with a dropped one. Owns the book, its cache
// folder and the temporary movie file, and hands the movie to the player.
#pragma once

#include <functional>
#include <string>

#include "book/book.h"
#include "book/env.h"
#include "player/player_control.h"

namespace pagoro {

class BookOpener : public BookHost {
 public:
  // `showMessage` shows the plain message dialog (the mapping failure).
  BookOpener(Env& env, PlayerControl& player, std::function<void(const std::string&)> showMessage);

  // Opens the book executable at `path` (full path). Errors of the steps
  // leave as exceptions; what earlier steps did stays done.
  void OpenBook(const std::string& path);

  // The clean-up at close: empties and removes the book folder of
  // `ownFileName`, deletes the current movie file, releases the book.
  // Reports nothing.
  void CloseBooks(const std::string& ownFileName);

  const std::string& CacheFolder() const { return cache_folder_; }
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
  Book book_;
  std::string cache_folder_;
  std::string movie_temp_path_;
};

// The extension of `path` as the reader sees it: from the last "." after the
// last "/" (or "\\" or ":") to the end, dot included; "" when there is none.
std::string ExtensionOf(const std::string& path);
// The file name of `path` without its folder.
std::string FileNameOf(const std::string& path);

}  // namespace pagoro
