#include "app/recent_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "app/logging.h"

namespace pagoro {
namespace {

// The file is small; anything much larger is not ours.
constexpr qint64 kMaxFileSize = qint64{256} * 1024;
constexpr int kCoverWidth = 160;
constexpr int kCoverHeight = 120;

QString ListPath(const QString& folder) { return folder + QStringLiteral("/recent"); }

// A cover's file name for `path`: stable for the same path (FNV-1a).
std::string CoverName(const std::string& path) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : path) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return QStringLiteral("%1.png").arg(hash, 16, 16, QLatin1Char('0')).toStdString();
}

}  // namespace

RecentStore::RecentStore(QString folder) : folder_(std::move(folder)) {}

QString RecentStore::DefaultFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (!state.startsWith(QLatin1Char('/')))
    state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/pagoro");
}

RecentList RecentStore::Load() const {
  QFile file(ListPath(folder_));
  if (!file.exists()) return {};
  if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) {
    qCWarning(lcApp).noquote() << QCoreApplication::translate(
                                      "Shelf",
                                      "the list of recent magazines %1 can't be read; it is left "
                                      "alone and begun anew")
                                      .arg(file.fileName());
    return {};
  }
  std::optional<RecentList> list = RecentList::Parse(file.readAll().toStdString());
  if (!list) {
    qCWarning(lcApp).noquote() << QCoreApplication::translate(
                                      "Shelf",
                                      "the list of recent magazines %1 is damaged; it is ignored "
                                      "and begun anew")
                                      .arg(file.fileName());
    return {};
  }
  return std::move(*list);
}

bool RecentStore::Save(const RecentList& list) const {
  if (!QDir().mkpath(folder_ + QStringLiteral("/covers"))) return false;
  QSaveFile file(ListPath(folder_));
  const std::string text = list.Serialise();
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    qCWarning(lcApp).noquote() << QCoreApplication::translate(
                                      "Shelf",
                                      "the list of recent magazines %1 can't be written: %2")
                                      .arg(file.fileName(), file.errorString());
    return false;
  }
  return true;
}

void RecentStore::RemoveCovers(const std::vector<std::string>& covers) const {
  for (const std::string& cover : covers) QFile::remove(CoverPath(cover));
}

QString RecentStore::CoverPath(const std::string& cover) const {
  return folder_ + QStringLiteral("/covers/") + QFile::decodeName(QByteArray::fromStdString(cover));
}

void RecentStore::Opened(const std::string& path) {
  RecentList list = Load();
  std::string cover;
  for (const RecentEntry& e : list.entries()) {
    if (e.path == path) cover = e.cover;
  }
  const std::vector<std::string> unused =
      list.Add({path, QDateTime::currentSecsSinceEpoch(), cover});
  // The Open dialog starts where the last magazine lay, however it came.
  list.set_last_folder(path.substr(0, path.rfind('/') + 1));
  if (Save(list)) RemoveCovers(unused);
  qCInfo(lcApp).noquote() << "shelf: opened" << QString::fromStdString(path);
}

void RecentStore::SetCover(const std::string& path, const QImage& image) {
  RecentList list = Load();
  const std::string name = CoverName(path);
  if (!list.SetCover(path, name)) return;  // forgotten meanwhile
  const QImage small =
      image.scaled(kCoverWidth, kCoverHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QSaveFile file(CoverPath(name));
  if (!QDir().mkpath(folder_ + QStringLiteral("/covers")) || !file.open(QIODevice::WriteOnly) ||
      !small.save(&file, "PNG") || !file.commit()) {
    return;
  }
  Save(list);
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
