#include "app/recent_store.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QImageReader>

#include "app/logging.h"

namespace pagoro {
namespace {

constexpr const char* kListName = kRecentListName;
constexpr const char* kCoversName = "covers";
constexpr int kCoverWidth = 160;
constexpr int kCoverHeight = 120;
// Covers are written small; a file or a picture far larger is not ours.
constexpr std::size_t kMaxCoverSize = std::size_t{1} << 20;
constexpr int kMaxCoverSide = 1024;

// A cover's file name: the magazine's identity; for an entry without one,
// stable for the same path (FNV-1a).
std::string CoverName(const RecentEntry& entry) {
  if (!entry.identity.empty()) return entry.identity + ".png";
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : entry.path) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return QStringLiteral("%1.png").arg(hash, 16, 16, QLatin1Char('0')).toStdString();
}

}  // namespace

RecentStore::RecentStore(std::string folder, Env& env) : folder_(std::move(folder)), env_(env) {}

std::string RecentStore::DefaultFolder() { return RecentListFolder(Env::Default()); }

QString RecentStore::Shown(const std::string& name) const {
  return QFile::decodeName(QByteArray::fromStdString(folder_ + "/" + name));
}

void RecentStore::Warn(const QString& text) {
  if (warned_.insert(text).second) qCWarning(lcApp).noquote() << text;
}

OpenFolder* RecentStore::Folder(bool create) {
  if (open_) return open_.get();
  if (folder_.empty()) {
    if (create)
      Warn(QCoreApplication::translate(
          "Shelf", "no home folder is known: the shelf of recent magazines is not kept"));
    return nullptr;
  }
  if (!create && !env_.FolderExists(folder_) && !env_.IsSymbolicLink(folder_)) return nullptr;
  // The levels above are the user's own state folder, made as needed.
  if (create) env_.CreateFolders(folder_);
  std::string why;
  open_ = env_.OpenOwnFolder(folder_, &why);
  if (!open_) {
    Warn(QCoreApplication::translate(
             "Shelf",
             "the folder of the shelf of recent magazines %1 can't be used (%2); "
             "it is left alone and nothing is kept")
             .arg(QFile::decodeName(QByteArray::fromStdString(folder_)),
                  QString::fromStdString(why)));
  }
  return open_.get();
}

OpenFolder* RecentStore::Covers(bool create) {
  if (covers_) return covers_.get();
  OpenFolder* folder = Folder(create);
  if (folder == nullptr) return nullptr;
  if (!create && env_.KindOfEntryIn(*folder, kCoversName) == EntryKind::kMissing) return nullptr;
  std::string why;
  covers_ = env_.OpenFolderIn(*folder, kCoversName, create, &why);
  if (!covers_) {
    Warn(QCoreApplication::translate(
             "Shelf",
             "the folder of the covers %1 can't be used (%2); it is left alone and "
             "the shelf goes without covers")
             .arg(Shown(kCoversName), QString::fromStdString(why)));
  }
  return covers_.get();
}

RecentList RecentStore::Load() {
  OpenFolder* folder = Folder(false);
  if (folder == nullptr || env_.KindOfEntryIn(*folder, kListName) == EntryKind::kMissing) return {};
  std::string text;
  std::string why;
  if (!env_.ReadFileIn(*folder, kListName, kRecentListBound, &text, &why)) {
    Warn(QCoreApplication::translate(
             "Shelf",
             "the list of recent magazines %1 can't be read (%2); it is left alone "
             "and the shelf begun anew")
             .arg(Shown(kListName), QString::fromStdString(why)));
    return {};
  }
  std::optional<RecentList> list = RecentList::Parse(text);
  if (!list) {
    Warn(QCoreApplication::translate(
             "Shelf", "the list of recent magazines %1 is damaged; it is ignored and begun anew")
             .arg(Shown(kListName)));
    return {};
  }
  return std::move(*list);
}

bool RecentStore::Save(const RecentList& list) {
  OpenFolder* folder = Folder(true);
  if (folder == nullptr) return false;
  std::string why;
  if (env_.ReplaceFileIn(*folder, kListName, list.Serialise(), &why)) return true;
  Warn(QCoreApplication::translate(
           "Shelf",
           "the list of recent magazines %1 can't be written (%2); the one before is "
           "kept as it was")
           .arg(Shown(kListName), QString::fromStdString(why)));
  return false;
}

void RecentStore::RemoveCovers(const std::vector<std::string>& covers) {
  OpenFolder* folder = covers.empty() ? nullptr : Covers(false);
  if (folder == nullptr) return;
  for (const std::string& cover : covers) env_.DeleteFileIn(*folder, cover);
}

QImage RecentStore::Cover(const std::string& cover) {
  OpenFolder* folder = Covers(false);
  if (folder == nullptr || env_.KindOfEntryIn(*folder, cover) == EntryKind::kMissing) return {};
  const QString shown = Shown(std::string(kCoversName) + "/" + cover);
  std::string bytes;
  std::string why;
  if (!env_.ReadFileIn(*folder, cover, kMaxCoverSize, &bytes, &why)) {
    Warn(QCoreApplication::translate(
             "Shelf",
             "the cover %1 can't be read (%2); it is left alone and the shelf shows "
             "its magazine without it")
             .arg(shown, QString::fromStdString(why)));
    return {};
  }
  QByteArray data = QByteArray::fromStdString(bytes);
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "PNG");
  // Judged by its header before a pixel is decoded.
  const QSize size = reader.size();
  QImage image;
  if (!size.isValid() || size.width() > kMaxCoverSide || size.height() > kMaxCoverSide ||
      !reader.read(&image)) {
    Warn(QCoreApplication::translate(
             "Shelf",
             "the cover %1 is no picture of the shelf; the shelf shows its magazine "
             "without it")
             .arg(shown));
    return {};
  }
  return image;
}

void RecentStore::Opened(const std::string& path, const std::string& identity) {
  RecentList list = Load();
  // The magazine's cover stays with it: the one of its identity, else the
  // one of an entry of its place that had no identity yet.
  std::string cover;
  for (const RecentEntry& e : list.entries()) {
    if (!identity.empty() && e.identity == identity) {
      cover = e.cover;
      break;
    }
    if (e.path == path && e.identity.empty()) cover = e.cover;
  }
  const std::vector<std::string> unused =
      list.Add({path, QDateTime::currentSecsSinceEpoch(), cover, identity});
  // The Open dialog starts where the last magazine lay, however it came.
  list.set_last_folder(path.substr(0, path.rfind('/') + 1));
  if (Save(list)) RemoveCovers(unused);
  qCInfo(lcApp).noquote() << "shelf: opened" << QString::fromStdString(path);
}

void RecentStore::SetCover(const std::string& path, const QImage& image) {
  RecentList list = Load();
  const RecentEntry* entry = list.Find(path);
  if (entry == nullptr) return;  // forgotten meanwhile
  const std::string name = CoverName(*entry);
  const std::string before = entry->cover;
  list.SetCover(path, name);
  const QImage small =
      image.scaled(kCoverWidth, kCoverHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !small.save(&buffer, "PNG")) return;
  OpenFolder* covers = Covers(true);
  if (covers == nullptr) return;
  std::string why;
  if (!env_.ReplaceFileIn(*covers, name,
                          std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
                          &why)) {
    Warn(QCoreApplication::translate(
             "Shelf", "the cover %1 can't be written (%2); the one before is kept as it was")
             .arg(Shown(std::string(kCoversName) + "/" + name), QString::fromStdString(why)));
    return;
  }
  // A cover kept under the path before the entry had an identity goes.
  if (Save(list) && !before.empty() && before != name) RemoveCovers({before});
  qCInfo(lcApp).noquote() << "shelf: cover of" << QString::fromStdString(path);
}

void RecentStore::Forget(const std::string& path) {
  RecentList list = Load();
  const std::optional<std::string> cover = list.Forget(path);
  if (Save(list) && cover) RemoveCovers({*cover});
  qCInfo(lcApp).noquote() << "shelf: forgot" << QString::fromStdString(path);
}

void RecentStore::SetLastFolder(const std::string& folder) {
  RecentList list = Load();
  list.set_last_folder(folder);
  Save(list);
}

}  // namespace pagoro
