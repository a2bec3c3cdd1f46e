// Where a book leaves files on disk: the per-user cache folder of each book
// (<data>/pagoro/<book name>/) and the temporary movie files (tem*.tmp).
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "book/env.h"
#include "book/errors.h"

namespace pagoro {

// The product folder's name inside the per-user data folder.
inline constexpr const char* kProductFolderName = "pagoro";

// Raised when a book's file name gives no usable cache folder.
class EBookNameError : public Exception {
 public:
  using Exception::Exception;
};

// Raised when the product folder or a book folder can't be used: it is a
// symbolic link (its files would be someone else's), or it can't be created.
class ECacheFolderError : public Exception {
 public:
  using Exception::Exception;
};

// The per-user persistent data folder, without a trailing separator.
std::string AppDataFolder(Env& env);

// The book name of a book executable's file name: every ".exe" removed
// (case-sensitive, left to right, the result is not searched again).
std::string BookNameOf(const std::string& fileName);

// True when `bookName` names one folder level below the product folder: not
// empty, not "." or "..", no "/" and no NUL. Any other name would put the
// cache folder on the product folder, the data folder or elsewhere.
bool IsUsableBookName(const std::string& bookName);

// The book folder of `fileName` (a file name without folder), with a trailing
// "/", creating no folder. Throws EBookNameError when the book name is not
// usable.
std::string BookFolderPath(Env& env, const std::string& fileName);
// The same with the book name given (a book opened by its content is named
// otherwise); `fileName` only names the file in the message.
std::string BookFolderPath(Env& env, const std::string& fileName, const std::string& bookName);

// The book folder of `fileName` (a file name without folder), with a trailing
// "/", after creating the product folder and the book folder where missing.
// Throws EBookNameError, creating nothing, when the book name is not usable,
// and ECacheFolderError, naming the folder and the cause, when either folder
// is a symbolic link or can't be created.
std::string CacheFolderFor(Env& env, const std::string& fileName);
// The same with the book name given (a book opened by its content is named
// otherwise); `fileName` only names the file in the message.
std::string CacheFolderFor(Env& env, const std::string& fileName, const std::string& bookName);

// The product folder, opened once (not through a link, this user's own,
// closed to others' writing) and kept open, and the book folders in it,
// each reached through it by name: a link swapped in for the product folder
// or a folder above it after the first opening makes nothing be written,
// read or deleted elsewhere.
class ProductFolder {
 public:
  explicit ProductFolder(Env& env) : env_(env) {}

  // The book folder `folder` (a path BookFolderPath gave, ending in "/"),
  // opened; the product folder and the book folder are created first when
  // missing. Throws ECacheFolderError, naming the folder and the cause,
  // when either is a symbolic link, can't be created or is not usable.
  std::unique_ptr<OpenFolder> OpenBookFolder(const std::string& folder);
  // Deletes every file directly inside the book folder `folder`; empties
  // and removes it. Failures (a folder that is missing, a link, not a
  // book folder) are ignored.
  void ClearBookFolder(const std::string& folder);
  void RemoveBookFolder(const std::string& folder);

 private:
  // The product folder opened; null (the cause in `error`) when it can't
  // be, or with `create` false, when it is missing.
  OpenFolder* Open(bool create, std::string* error);
  // The book name of `folder` when it is a book folder of the product
  // folder; "" otherwise.
  std::string BookNameIn(const std::string& folder) const;

  Env& env_;
  std::string path_;
  std::unique_ptr<OpenFolder> open_;
};

// Deletes every file directly inside `folder` (ending in "/"); subfolders
// are not entered and failures are ignored. A folder that is a symbolic link
// is left alone.
void ClearFolder(Env& env, const std::string& folder);

// Hands out new, empty files "tem-pagoro-<unique>.tmp" in the
// temporary-files folder, never a path it has handed out before, and holds
// each until it is deleted here or the process ends. The name and the hold
// mark the file as a live reader's: files of that name that nobody holds
// were left by readers that were killed, and the first new file of a run
// deletes them.
class TempFiles {
 public:
  explicit TempFiles(Env& env) : env_(env) {}

  // The full path of a new, empty file. Throws EFCreateError when the
  // system can make none, Exception when it keeps repeating old names.
  std::string NewTempFileName();
  // Deletes a file handed out here and ends its hold; failures are ignored.
  void Delete(const std::string& path);
  // Deletes every file handed out here and not deleted yet.
  void DeleteAll();

 private:
  // Deletes the movie files of readers that ended without their clean-up.
  void RemoveLeftovers(const std::string& folder);

  Env& env_;
  std::set<std::string> issued_;
  std::map<std::string, std::unique_ptr<FileHold>> held_;
  bool swept_ = false;
};

}  // namespace pagoro
