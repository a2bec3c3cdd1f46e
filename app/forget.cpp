#include "app/forget.h"

#include <limits.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <array>
#include <cstdio>
#include <vector>

#include "book/cp936.h"
#include "book/env.h"
#include "book/file_kind.h"
#include "core/book_opener.h"
#include "core/cache_folder.h"
#include "player/shared_object_store.h"

namespace pagoro {

std::string AbsolutePath(const std::string& path) {
  // Latin-1 carries any byte, and only "/" and "." matter to the cleaning.
  QString latin = QString::fromLatin1(path);
  std::array<char, PATH_MAX> working{};
  if (!latin.startsWith(QLatin1Char('/')) && getcwd(working.data(), working.size()) != nullptr) {
    latin = QString::fromLatin1(working.data()) + QLatin1Char('/') + latin;
  }
  return QDir::cleanPath(latin).toLatin1().toStdString();
}

int ForgetMagazine(const std::string& path) {
  const std::string full = AbsolutePath(path);
  const std::string shown = FileNameAsUtf8(full);
  const std::string fileName = FileNameAsUtf8(FileNameOf(full));
  std::string error;
  const std::unique_ptr<MappedFile> file = Env::Default().MapReadOnly(full, &error);
  const FileKind kind = file ? KindOfContent(Bytes(file->data(), file->size())) : FileKind::kNone;
  if (file && kind == FileKind::kNone) {
    std::fprintf(stderr, "pagoro: %s holds no magazine; nothing forgotten\n", shown.c_str());
    return 1;
  }
  // A book is known by its name: opened by name, or started itself (every
  // ".exe" gone). A file that is gone may have been either.
  std::vector<MagazineId> ids;
  if (!file || kind == FileKind::kBook) {
    for (const std::string& name : {NameWithoutExtension(fileName), BookNameOf(fileName)}) {
      if (ids.empty() || ids.back().book != name)
        ids.push_back({.book = name, .file = {}, .folder = {}});
    }
  }
  if (!file || kind != FileKind::kBook) ids.push_back({.book = {}, .file = shown, .folder = {}});
  bool ok = true;
  for (const MagazineId& id : ids) {
    QString message;
    const bool removed = SharedObjectStore::Forget(id, &message);
    std::fprintf(removed ? stdout : stderr, "pagoro: %s: %s\n", shown.c_str(), qPrintable(message));
    ok = ok && removed;
  }
  return ok ? 0 : 1;
}

}  // namespace pagoro
