#include "core/cache_folder.h"

#include "book/cp936.h"
#include "book/texts.h"

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
    throw ECacheFolderError(Args(Tr("Reader",
                                    "The folder \"%1\" is a symbolic link; pagoro writes and "
                                    "deletes files only in a folder of its own. Remove the link "
                                    "to open the book"),
                                 {path}));
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
  throw ECacheFolderError(Args(Tr("Reader", "Cannot create the folder \"%1\". %2"), {path, cause}));
}

// Deletes every file directly inside the opened folder: what is listed is
// what is deleted, whatever happens to its path meanwhile.
void DeleteFilesIn(Env& env, OpenFolder& folder) {
  for (const std::string& name : env.ListFolderIn(folder)) env.DeleteFileIn(folder, name);
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
    throw EBookNameError(Args(Tr("Reader",
                                 "The book file \"%1\" gives no usable cache folder name; "
                                 "rename the file to open it"),
                              {FileNameAsUtf8(fileName)}));
  }
  return AppDataFolder(env) + "/" + kProductFolderName + "/" + bookName + "/";
}

std::string CacheFolderFor(Env& env, const std::string& fileName) {
  return CacheFolderFor(env, fileName, BookNameOf(FileNameAsUtf8(fileName)));
}

std::string CacheFolderFor(Env& env, const std::string& fileName, const std::string& bookName) {
  std::string book = BookFolderPath(env, fileName, bookName);
  ProductFolder(env).OpenBookFolder(book);
  return book;
}

OpenFolder* ProductFolder::Open(bool create, std::string* error) {
  if (open_) return open_.get();
  path_ = AppDataFolder(env_) + "/" + kProductFolderName;
  if (!create && !env_.FolderExists(path_)) return nullptr;
  if (create) EnsureFolder(env_, path_);
  open_ = env_.OpenOwnFolder(path_, error);
  return open_.get();
}

std::string ProductFolder::BookNameIn(const std::string& folder) const {
  const std::string prefix = path_ + "/";
  if (!folder.starts_with(prefix) || !folder.ends_with('/')) return {};
  std::string name = folder.substr(prefix.size(), folder.size() - prefix.size() - 1);
  return IsUsableBookName(name) ? name : std::string();
}

std::unique_ptr<OpenFolder> ProductFolder::OpenBookFolder(const std::string& folder) {
  std::string cause;
  OpenFolder* product = Open(true, &cause);
  if (product == nullptr)
    throw ECacheFolderError(Args(Tr("Reader", "Cannot use the folder \"%1\". %2"), {path_, cause}));
  const std::string path = folder.substr(0, folder.size() - 1);
  const std::string name = BookNameIn(folder);
  if (name.empty())
    throw ECacheFolderError(Args(Tr("Reader", "\"%1\" is not a book folder of pagoro"), {path}));
  // The message for a link that is there now; one swapped in later is
  // refused all the same when the folder is opened.
  RefuseLink(env_, path);
  std::unique_ptr<OpenFolder> book = env_.OpenFolderIn(*product, name, true, &cause);
  if (!book)
    throw ECacheFolderError(
        Args(Tr("Reader", "Cannot create the folder \"%1\". %2"), {path, cause}));
  return book;
}

void ProductFolder::ClearBookFolder(const std::string& folder) {
  OpenFolder* product = Open(false, nullptr);
  const std::string name = product != nullptr ? BookNameIn(folder) : std::string();
  if (name.empty()) return;
  const std::unique_ptr<OpenFolder> book = env_.OpenFolderIn(*product, name, false, nullptr);
  if (book) DeleteFilesIn(env_, *book);
}

void ProductFolder::RemoveBookFolder(const std::string& folder) {
  ClearBookFolder(folder);
  const std::string name = open_ ? BookNameIn(folder) : std::string();
  if (!name.empty()) env_.RemoveFolderIn(*open_, name);
}

void ClearFolder(Env& env, const std::string& folder) {
  // Opened once, never through a link at its last step.
  const std::unique_ptr<OpenFolder> open =
      env.OpenFolderNoFollow(folder.substr(0, folder.size() - 1), nullptr);
  if (open) DeleteFilesIn(env, *open);
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
      throw EFCreateError(path, Tr("Reader", "The new file could not be opened again"));
    }
    held_[path] = std::move(hold);
    return path;
  }
  throw Exception(Args(Tr("Reader", "Cannot create a new temporary file in \"%1\""), {folder}));
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
