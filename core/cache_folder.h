// Where a book leaves files on disk: the per-user cache folder of each book
// (<data>/pagoro/<book name>/) and the temporary movie files (tem*.tmp).
#pragma once

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
// "/", after creating the product folder and the book folder where missing
// (creation failures are ignored). Throws EBookNameError, creating
// nothing, when the book name is not usable.
std::string CacheFolderFor(Env& env, const std::string& fileName);
// The same with the book name given (a book opened by its content is named
// otherwise); `fileName` only names the file in the message.
std::string CacheFolderFor(Env& env, const std::string& fileName, const std::string& bookName);

// Deletes every file directly inside `folder` (ending in "/"); subfolders
// are not entered and failures are ignored.
void ClearFolder(Env& env, const std::string& folder);

// Hands out new, empty files "tem<unique>.tmp" in the temporary-files
// folder, never a path it has handed out before.
class TempFiles {
 public:
  explicit TempFiles(Env& env) : env_(env) {}

  // The full path of a new, empty file. Throws EFCreateError when the
  // system can make none, Exception when it keeps repeating old names.
  std::string NewTempFileName();

 private:
  Env& env_;
  std::set<std::string> issued_;
};

}  // namespace pagoro
