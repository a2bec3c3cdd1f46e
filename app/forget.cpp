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
#include "core/magazine_identity.h"
#include "player/shared_object_store.h"

namespace pagoro {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// One line of the program's own, in the user's language.
void Say(std::FILE* stream, const QString& text) {
  std::fprintf(stream, "pagoro: %s\n", qPrintable(text));
}

}  // namespace

int ForgetMagazine(const std::string& path) {
  Env& env = Env::Default();
  const std::string full = AbsolutePath(path);
  const std::string shown = FileNameAsUtf8(full);
  // A folder (also by a link, "..", "~" expanded, "DIR/") is no magazine:
  // nothing below it is taken for one.
  if (path.ends_with('/') || env.FolderExists(full)) {
    Say(stderr, QCoreApplication::translate(
                    "Forget", "%1 is a folder, not a magazine file; nothing forgotten")
                    .arg(Q(shown)));
    return 1;
  }
  std::string error;
  const std::unique_ptr<MappedFile> file = env.MapReadOnly(full, &error);
  const std::optional<Judgement> judged = file ? JudgeFile(*file, &error) : std::nullopt;
  const FileKind kind = judged ? judged->kind : FileKind::kNone;
  const std::optional<std::string> identity =
      judged && kind != FileKind::kNone ? MagazineIdentity(*file, kind, &error) : std::nullopt;
  if (!judged || (kind != FileKind::kNone && !identity)) {
    Say(stderr, QCoreApplication::translate("Forget", "cannot read %1: %2; nothing forgotten")
                    .arg(Q(shown), Q(error)));
    return 1;
  }
  if (kind == FileKind::kNone) {
    Say(stderr, QCoreApplication::translate("Forget", "%1 holds no magazine; nothing forgotten")
                    .arg(Q(shown)));
    return 1;
  }
  // A book kept its objects by its name before: opened by name, or started
  // itself (every ".exe" gone); a movie or projector by its path, in either
  // sandbox.
  const std::string fileName = FileNameAsUtf8(FileNameOf(full));
  std::vector<std::pair<MagazineId, FileSandbox>> ids;
  if (kind == FileKind::kBook) {
    for (const std::string& name : {NameWithoutExtension(fileName), BookNameOf(fileName)}) {
      if (ids.empty() || ids.back().first.book != name) {
        ids.push_back(
            {{.book = name, .file = {}, .folder = {}, .identity = *identity, .path = full},
             FileSandbox::kLocalFiles});
      }
    }
  } else {
    for (const FileSandbox sandbox : {FileSandbox::kLocalFiles, FileSandbox::kLocalNetwork}) {
      ids.push_back({{.book = {}, .file = shown, .folder = {}, .identity = *identity, .path = full},
                     sandbox});
    }
  }
  const std::vector<std::string> shelf = SharedObjectStore::ShelfPaths(env);
  std::vector<std::string> removed;
  std::vector<std::string> left;
  for (const auto& [id, sandbox] : ids) {
    SharedObjectStore store(SharedObjectPlaces(id, "/", sandbox));
    std::vector<std::string> areas{OwnAreaOf(id, sandbox)};
    if (NameKeyedAreaIsItsOwn(id, shelf)) areas.push_back(NameKeyedAreaOf(id, sandbox));
    for (const std::string& area : areas) {
      if (area.empty() || !store.HasArea(area)) continue;
      std::string where;
      (store.RemoveArea(area, &where) ? removed : left).push_back(where);
    }
  }
  auto list = [](const std::vector<std::string>& places) {
    std::string text;
    for (const std::string& place : places) text += (text.empty() ? "" : ", ") + place;
    return text;
  };
  if (!left.empty()) {
    Say(stderr, QCoreApplication::translate("Forget", "%1: could not remove all of %2")
                    .arg(Q(shown), Q(list(left))));
    return 1;
  }
  if (removed.empty())
    Say(stdout, QCoreApplication::translate("Forget", "%1: nothing was kept for it").arg(Q(shown)));
  else
    Say(stdout,
        QCoreApplication::translate("Forget", "%1: removed %2").arg(Q(shown), Q(list(removed))));
  return 0;
}

}  // namespace pagoro
