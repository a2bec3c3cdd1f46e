// The one road by which a book becomes the current book: at start-up with
// the program's own file, later with a dropped one. Owns the book, its cache
// folder and the temporary movie file, and hands the movie to the player.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "book/book.h"
#include "book/env.h"
#include "book/errors.h"
#include "book/file_kind.h"
#include "core/cache_folder.h"
#include "core/player_control.h"

namespace pagoro {

// The book folders in use by this user's running readers: one reader per
// folder. Implemented with per-user locks; tests use their own.
class FolderClaims {
 public:
  virtual ~FolderClaims() = default;
  // True when this reader holds `folder` (a book folder path ending in "/")
  // now, having taken it or held it before; false when another running
  // reader holds it.
  virtual bool Claim(const std::string& folder) = 0;
  // Gives `folder` up; nothing when it is not held.
  virtual void Release(const std::string& folder) = 0;
  // Asks the running reader that holds `folder` to bring its window to the
  // front.
  virtual void CallHolder(const std::string& folder) = 0;
  // Tells the other readers that this reader plays the book file at
  // `bookPath` from `folder` (held).
  virtual void NameBook(const std::string& /*folder*/, const std::string& /*bookPath*/) {}
  // The book file the reader that holds `folder` plays; "" when unknown.
  virtual std::string HolderBook(const std::string& /*folder*/) { return {}; }
};

// Whose book a book is. The folders of this run's own books (the book
// executable's own, and files the user opened by name) are removed at
// close; a dropped book's folder stays.
enum class Ownership { kDropped, kOwn };

// How an opening that raised no error ended.
enum class OpenOutcome {
  kOpened,
  kIgnored,        // not a book path (the extension)
  kHeldElsewhere,  // another running reader has the book open; it was
                   // called to the front and nothing was touched
};

class BookOpener : public BookHost {
 public:
  // `showMessage` shows the plain message dialog (the mapping failure).
  // `claims` (may be null: no other readers are considered) must outlive
  // the opener.
  BookOpener(Env& env, PlayerControl& player, std::function<void(const std::string&)> showMessage,
             FolderClaims* claims = nullptr);

  // Opens the book executable at `path` (full path): a path whose extension
  // is not exactly ".exe" is ignored; a book whose folder another running
  // reader holds is left to that reader, unless that reader plays another
  // book file of the same name (a namesake): then this one takes the folder
  // of its name with a number added ("Mag (2)"). Otherwise the book's cache folder
  // is filled, the main movie is extracted into a new temporary file (the
  // previous one is deleted) and played, and the folder becomes current. A
  // path where no file exists (a folder named x.exe) refills the new cache
  // folder from the current book. Errors of the steps leave as exceptions;
  // the movie that plays and its folder stay current then, and a folder the
  // failed opening made is removed again.
  OpenOutcome OpenBook(const std::string& path, Ownership ownership = Ownership::kDropped);

  // Opens the file at `path` by what it holds, whatever its name (a file
  // named on the command line or chosen to open): a book opens as OpenBook
  // does, into the cache folder named after the file name without its last
  // extension; a Flash projector's movie is extracted into a new temporary
  // file and a plain movie plays where it is, each told the folder it lies
  // in as its folder, and no cache folder is made for them. A book opened
  // so is this run's own. Throws ENoMagazine, changing nothing, for any
  // other file. `kind`, when given, receives what the file holds.
  OpenOutcome OpenFile(const std::string& path, FileKind* kind = nullptr);

  // The clean-up at close: empties and removes the book folder of
  // `ownFileName` and those of the run's own books, leaving any that
  // another running reader holds; deletes the current movie file, releases
  // the book. Reports nothing.
  void CloseBooks(const std::string& ownFileName);

  // The cache folder of the book whose movie plays, ending in "/"; "" before
  // the first book.
  const std::string& CacheFolder() const { return cache_folder_; }
  // The current movie file; "" when the current book has no usable movie.
  const std::string& MovieTempPath() const { return movie_temp_path_; }
  // The stage size of what plays: the book's header values, or a movie's
  // own stage (800x600 when its header is compressed).
  // True while a movie the user opened as a file (a plain movie, a
  // projector's) plays, not a book's.
  bool PlaysFileMovie() const { return movie_stage_.has_value(); }
  int MovieWidth() const;
  int MovieHeight() const;
  // What the file of the magazine that plays holds (core/magazine_identity.h);
  // "" before the first one, or when it could not be read.
  const std::string& Identity() const { return identity_; }
  // The book itself, read-only, for tests.
  const Book& book() const { return book_; }

  // BookHost
  std::string NewTempFileName() override;
  void ClearFolder(const std::string& folder) override;
  void ShowMessage(const std::string& text) override;

 private:
  bool Claim(const std::string& folder);
  void Release(const std::string& folder);
  // Empties and removes a book folder (ending in "/"), ignoring failures.
  void RemoveBookFolder(const std::string& folder);
  // `opened`: the file at `path` as it was opened to judge it (null: it
  // is opened by its path).
  OpenOutcome OpenBookAs(const std::string& path, const std::string& bookName, Ownership ownership,
                         std::unique_ptr<MappedFile> opened = nullptr);
  // Plays the movie file at `moviePath`, from the file `filePath` the user
  // opened, with `folder` as its folder; `temporary` when the movie file is
  // ours to delete later. `head` is the movie's start, in memory, for its
  // stage size; `identity` what the file holds (core/magazine_identity.h).
  void PlayMovie(const std::string& filePath, const std::string& moviePath, bool temporary,
                 const std::string& folder, Bytes head, const std::string& identity);

  Env& env_;
  PlayerControl& player_;
  std::function<void(const std::string&)> show_message_;
  TempFiles temp_files_;
  ProductFolder product_folder_;
  Book book_;
  FolderClaims* claims_;
  std::string cache_folder_;
  std::string movie_temp_path_;
  std::set<std::string> own_folders_;
  std::optional<std::pair<int, int>> movie_stage_;  // set while a movie, not a book, plays
  std::string identity_;
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

}  // namespace pagoro
