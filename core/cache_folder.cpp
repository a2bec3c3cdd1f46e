#include "core/cache_folder.h"

namespace pagoro {

namespace {

constexpr const char* kBookExtension = ".exe";

// Creates one folder level unless a folder is there already; a failure shows
// later, when files are written into it.
void EnsureFolder(Env& env, const std::string& path) {
  if (!env.FolderExists(path)) env.CreateFolder(path);
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

std::string CacheFolderFor(Env& env, const std::string& fileName) {
  return CacheFolderFor(env, fileName, BookNameOf(fileName));
}

std::string CacheFolderFor(Env& env, const std::string& fileName, const std::string& bookName) {
  if (!IsUsableBookName(bookName)) {
    throw EBookNameError("The book file \"" + fileName +
                         "\" gives no usable cache folder name; rename the file to open it");
  }
  const std::string product = AppDataFolder(env) + "/" + kProductFolderName;
  EnsureFolder(env, product);
  const std::string book = product + "/" + bookName;
  EnsureFolder(env, book);
  return book + "/";
}

void ClearFolder(Env& env, const std::string& folder) {
  for (const std::string& name : env.ListFolder(folder)) env.DeleteFile(folder + name);
}

std::string TempFiles::NewTempFileName() {
  // The system never hands out a file that exists, but it may hand out the
  // name of one we made, handed out and deleted since; that name is dropped.
  constexpr int kAttempts = 100;
  const std::string folder = env_.TempFolder();
  for (int i = 0; i < kAttempts; ++i) {
    std::string path = env_.CreateUniqueFile(folder, "tem", ".tmp");
    if (issued_.insert(path).second) return path;
    env_.DeleteFile(path);
  }
  throw Exception("Cannot create a new temporary file in \"" + folder + "\"");
}

}  // namespace pagoro
