#include "player/shared_object_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "player/player_log.h"

namespace pagoro {
namespace {

constexpr char kStoreFolder[] = "pagoro/shared-objects";
constexpr char kSolFilter[] = "*.sol";

std::string Utf8(const QString& s) { return s.toStdString(); }

// A folder variable of the XDG rules: absolute, else the default below HOME.
QString XdgFolder(const char* variable, const char* below_home) {
  const QString folder = qEnvironmentVariable(variable);
  if (folder.startsWith(QLatin1Char('/'))) return QDir::cleanPath(folder);
  const QString home = qEnvironmentVariable("HOME");
  if (!home.startsWith(QLatin1Char('/'))) return {};
  return QDir::cleanPath(home + QLatin1Char('/') + QLatin1String(below_home));
}

bool Inside(const QString& path, const QString& folder) {
  return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// The .sol files of `folder` (relative to `root`), with those of the
// subfolders led by "#" (names holding "/").
void CollectObjects(const QString& root, const QString& folder, QStringList* places) {
  const QDir dir(root + QLatin1Char('/') + folder);
  for (const QString& file : dir.entryList({QString::fromLatin1(kSolFilter)}, QDir::Files))
    places->append(folder + QLatin1Char('/') + file);
  for (const QString& sub : dir.entryList({QStringLiteral("#*")}, QDir::Dirs | QDir::NoSymLinks))
    CollectObjects(root, folder + QLatin1Char('/') + sub, places);
}

}  // namespace

QString SharedObjectStore::Root() {
  const QString state = XdgFolder("XDG_STATE_HOME", ".local/state");
  if (state.isEmpty()) return {};
  QString root = state + QLatin1Char('/') + QLatin1String(kStoreFolder);
  // The books' folders are emptied at every start and close: the store
  // must never be one of them, nor inside one.
  const QString books = XdgFolder("XDG_DATA_HOME", ".local/share");
  if (!books.isEmpty() && Inside(root, books + QStringLiteral("/pagoro"))) return {};
  return root;
}

bool SharedObjectStore::Forget(const MagazineId& id, QString* message) {
  const QString root = Root();
  const QString area = QString::fromStdString(OwnAreaOf(id));
  if (root.isEmpty() || area.isEmpty()) {
    *message = QCoreApplication::translate("Forget", "nothing is kept for it");
    return true;
  }
  QDir dir(root + QLatin1Char('/') + area);
  const QFileInfo info(dir.path());
  if (!info.exists() && !info.isSymLink()) {
    *message =
        QCoreApplication::translate("Forget", "nothing was kept for it (%1)").arg(dir.path());
    return true;
  }
  // A link in its place is removed, not followed.
  const bool removed =
      info.isSymLink() || !info.isDir() ? QFile::remove(dir.path()) : dir.removeRecursively();
  *message =
      removed ? QCoreApplication::translate("Forget", "removed %1").arg(dir.path())
              : QCoreApplication::translate("Forget", "could not remove all of %1").arg(dir.path());
  return removed;
}

SharedObjectStore::SharedObjectStore(SharedObjectPlaces places, QString root)
    : places_(std::move(places)), root_(std::move(root)) {
  if (root_.isEmpty())
    Warn(QCoreApplication::translate("SharedObjects",
                                     "no folder for them (a folder of books' files?)"));
}

void SharedObjectStore::Warn(const QString& what) {
  if (warned_) {
    qCInfo(lcPlayer).noquote() << "shared objects:" << what;
    return;
  }
  warned_ = true;
  qCWarning(lcPlayer).noquote()
      << QCoreApplication::translate(
             "SharedObjects",
             "shared objects: %1 - what the movie stores now lasts until it "
             "ends")
             .arg(what);
}

QList<SharedObjectStore::Entry> SharedObjectStore::Load() {
  QList<Entry> entries;
  if (root_.isEmpty() || !places_.usable()) return entries;
  QStringList files;
  const QString own = QString::fromStdString(places_.OwnArea());
  QDirIterator it(root_ + QLatin1Char('/') + own, {QString::fromLatin1(kSolFilter)}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) files.append(QDir(root_).relativeFilePath(it.next()));
  for (const std::string& folder : places_.SharedFolders())
    CollectObjects(root_, QString::fromStdString(folder), &files);
  if (const std::string others = places_.OtherMoviesFolder(); !others.empty()) {
    const QString folder = QString::fromStdString(others);
    const QDir dir(root_ + QLatin1Char('/') + folder);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks))
      if (!sub.startsWith(QLatin1Char('#'))) CollectObjects(root_, folder + '/' + sub, &files);
  }
  files.removeDuplicates();
  QStringList damaged;
  for (const QString& place : files) {
    const std::optional<SharedObjectName> name = places_.NameOf(Utf8(place));
    if (!name) continue;
    QFile file(root_ + QLatin1Char('/') + place);
    QByteArray bytes;
    if (file.size() <= static_cast<qint64>(kSharedObjectLimit) && file.open(QIODevice::ReadOnly))
      bytes = file.readAll();
    if (!LooksLikeSharedObject(std::string_view(bytes.constData(), bytes.size()))) {
      damaged.append(file.fileName());
      continue;
    }
    const StorePlace where = *places_.PlaceOf(*name);
    if (!WithinLimit(where, bytes.size())) {
      damaged.append(file.fileName() + QStringLiteral(" (over the limit)"));
      continue;
    }
    sizes_.insert(place, bytes.size());
    entries.append({*name, bytes});
  }
  if (!damaged.isEmpty())
    Warn(QCoreApplication::translate("SharedObjects", "left out, unreadable or damaged: %1")
             .arg(damaged.join(QStringLiteral(", "))));
  qCInfo(lcPlayer).noquote() << "shared objects:" << entries.size() << "read from" << root_;
  return entries;
}

bool SharedObjectStore::WithinLimit(const StorePlace& place, qsizetype size) const {
  qsizetype total = size;
  const QString path = QString::fromStdString(place.path);
  const QString own = QString::fromStdString(places_.OwnArea()) + QLatin1Char('/');
  for (auto it = sizes_.cbegin(); it != sizes_.cend(); ++it) {
    if (it.key() != path && it.key().startsWith(own) == place.own) total += it.value();
  }
  return total <= static_cast<qsizetype>(kSharedObjectLimit);
}

bool SharedObjectStore::Write(const SharedObjectName& name, const QByteArray& bytes) {
  const std::optional<StorePlace> place = places_.PlaceOf(name);
  const QString label = QString::fromStdString(name.local_path + "/" + name.name);
  if (!place) {
    qCInfo(lcPlayer).noquote() << "shared object not kept (no place for it):" << label;
    return false;
  }
  if (!LooksLikeSharedObject(std::string_view(bytes.constData(), bytes.size())) ||
      !WithinLimit(*place, bytes.size())) {
    qCInfo(lcPlayer).noquote() << "shared object not kept (over the limit or malformed):" << label;
    return false;
  }
  const QString path = QString::fromStdString(place->path);
  if (root_.isEmpty()) return false;
  const QString file_path = root_ + QLatin1Char('/') + path;
  QSaveFile file(file_path);
  if (!QDir().mkpath(QFileInfo(file_path).path()) || !file.open(QIODevice::WriteOnly) ||
      file.write(bytes) != bytes.size() || !file.commit()) {
    Warn(QCoreApplication::translate("SharedObjects", "cannot write %1: %2")
             .arg(file_path, file.errorString()));
    return false;
  }
  sizes_.insert(path, bytes.size());
  qCInfo(lcPlayer).noquote() << "shared object kept:" << label << "in" << file_path;
  return true;
}

void SharedObjectStore::Remove(const SharedObjectName& name) {
  const std::optional<StorePlace> place = places_.PlaceOf(name);
  if (!place || root_.isEmpty()) return;
  const QString path = QString::fromStdString(place->path);
  sizes_.remove(path);
  const QString file_path = root_ + QLatin1Char('/') + path;
  if (QFileInfo::exists(file_path) && !QFile::remove(file_path))
    Warn(QCoreApplication::translate("SharedObjects", "cannot remove %1").arg(file_path));
  else
    qCInfo(lcPlayer).noquote() << "shared object removed:" << file_path;
}

}  // namespace pagoro
