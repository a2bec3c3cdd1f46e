#include "app/forget.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <vector>

#include "app/absolute_path.h"
#include "book/cp936.h"
#include "book/env.h"
#include "book/file_kind.h"
#include "core/book_opener.h"
#include "core/cache_folder.h"
#include "player/shared_object_store.h"

namespace pagoro {

int ForgetMagazine(const std::string& path) {
  const std::string full = AbsolutePath(path);
  const std::string shown = FileNameAsUtf8(full);
  const std::string fileName = FileNameAsUtf8(FileNameOf(full));
  std::string error;
  std::unique_ptr<MappedFile> file = Env::Default().MapReadOnly(full, &error);
  const std::optional<Judgement> judged = file ? JudgeFile(*file, &error) : std::nullopt;
  // A file that can't be read (its medium gone) is taken for one that is gone.
  if (!judged) file.reset();
  const FileKind kind = judged ? judged->kind : FileKind::kNone;
  if (file && kind == FileKind::kNone) {
    std::fprintf(
        stderr, "pagoro: %s\n",
        qPrintable(QCoreApplication::translate("Forget", "%1 holds no magazine; nothing forgotten")
                       .arg(QString::fromStdString(shown))));
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
