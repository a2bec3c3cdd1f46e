#include "core/cache_folder.h"

#include "book/cp936.h"

namespace pagoro {

namespace {

constexpr const char* kBookExtension = ".exe";
constexpr std::string_view kTempPrefix = "tem-pagoro-";
constexpr std::string_view kTempSuffix = ".tmp";

// Every file directly inside a book folder is deleted at the next opening
// and at close: a folder that is a link would take the files of wherever it
// points with it.
void RefuseLink(Env& env, const std::string& path) {
  if (env.IsSymbolicLink(path)) {
    throw ECacheFolderError("The folder \"" + path +
                            "\" is a symbolic link; pagoro writes and deletes files only in a "
                            "folder of its own. Remove the link to open the book");
  }
}

// Creates one folder level unless a folder is there already. A folder that
// can't be made is named with the cause now, rather than left to show as a
// missing file when the book's files are written into it.
void EnsureFolder(Env& env, const std::string& path) {
  RefuseLink(env, path);
  std::string cause;
  if (env.FolderExists(path) || env.CreateFolder(path, &cause)) return;
  if (env.FolderExists(path)) return;  // made by someone else meanwhile
  throw ECacheFolderError("Cannot create the folder \"" + path + "\". " + cause);
}

bool IsOurTempName(std::string_view name) {
  return name.size() > kTempPrefix.size() + kTempSuffix.size() && name.starts_with(kTempPrefix) &&
         name.ends_with(kTempSuffix);
}

}  // namespace

std::string AppDataFolder(Env& env) { return env.UserDataFolder(); }

std::string BookNameOf(const std::string& fileName) {
  const std::string ext = kBookExtension;
  std::string name;
  std::size_t from = 0;
  for (std::size_t at = fileName.find(ext); at != std::string::npos;
       at = fileName.find(ext, from)) {
    name.append(fileName, from, at - from);
    from = at + ext.size();
  }
  name.append(fileName, from);
  return name;
}

bool IsUsableBookName(const std::string& bookName) {
  return !bookName.empty() && bookName != "." && bookName != ".." &&
         bookName.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

std::string BookFolderPath(Env& env, const std::string& fileName) {
  // A name in code page 936 bytes gets a folder that shows its characters.
  return BookFolderPath(env, fileName, BookNameOf(FileNameAsUtf8(fileName)));
}

std::string BookFolderPath(Env& env, const std::string& fileName, const std::string& bookName) {
  if (!IsUsableBookName(bookName)) {
    throw EBookNameError("The book file \"" + FileNameAsUtf8(fileName) +
                         "\" gives no usable cache folder name; rename the file to open it");
  }
  return AppDataFolder(env) + "/" + kProductFolderName + "/" + bookName + "/";
}

std::string CacheFolderFor(Env& env, const std::string& fileName) {
  return CacheFolderFor(env, fileName, BookNameOf(FileNameAsUtf8(fileName)));
}

std::string CacheFolderFor(Env& env, const std::string& fileName, const std::string& bookName) {
  std::string book = BookFolderPath(env, fileName, bookName);
  EnsureFolder(env, AppDataFolder(env) + "/" + kProductFolderName);
  EnsureFolder(env, book.substr(0, book.size() - 1));
  return book;
}

void ClearFolder(Env& env, const std::string& folder) {
  // Opened once, never through a link: what is listed is what is deleted,
  // whatever happens to the path meanwhile.
  const std::unique_ptr<OpenFolder> open =
      env.OpenFolderNoFollow(folder.substr(0, folder.size() - 1), nullptr);
  if (!open) return;
  for (const std::string& name : env.ListFolderIn(*open)) env.DeleteFileIn(*open, name);
}

std::string TempFiles::NewTempFileName() {
  // The system never hands out a file that exists, but it may hand out the
  // name of one we made, handed out and deleted since; that name is dropped.
  constexpr int kAttempts = 100;
  const std::string folder = env_.TempFolder();
  if (!swept_) {
    swept_ = true;
    RemoveLeftovers(folder);
  }
  for (int i = 0; i < kAttempts; ++i) {
    std::string path = env_.CreateUniqueFile(folder, kTempPrefix, kTempSuffix);
    if (!issued_.insert(path).second) {
      env_.DeleteFile(path);
      continue;
    }
    // Held before anything is written into it: another reader's sweep
    // leaves an empty file alone, and a filled one only when nobody holds it.
    std::unique_ptr<FileHold> hold = env_.HoldFile(path);
    if (!hold) {
      env_.DeleteFile(path);
      throw EFCreateError(path, "The new file could not be opened again");
    }
    held_[path] = std::move(hold);
    return path;
  }
  throw Exception("Cannot create a new temporary file in \"" + folder + "\"");
}

void TempFiles::Delete(const std::string& path) {
  if (env_.FileExists(path)) env_.DeleteFile(path);
  held_.erase(path);
}

void TempFiles::DeleteAll() {
  while (!held_.empty()) Delete(held_.begin()->first);
}

void TempFiles::RemoveLeftovers(const std::string& folder) {
  for (const std::string& name : env_.ListFolder(folder)) {
    if (!IsOurTempName(name)) continue;
    std::string path = folder;
    path += '/';
    path += name;
    env_.DeleteAbandonedFile(path);
  }
}

}  // namespace pagoro
