#include "player/shared_object_store.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/recent_list.h"
#include "core/sol_file.h"
#include "player/player_log.h"

namespace pagoro {
namespace {

constexpr char kStoreFolder[] = "/pagoro/shared-objects";
// The reader's folder in the user's data folder: the books' folders.
constexpr char kBooksFolder[] = "/pagoro";
constexpr std::string_view kSolSuffix = ".sol";
// In a magazine's own area, the list of the shared objects it kept (those
// count for it); no object's place starts with ".".
constexpr char kKeptShared[] = ".shared";
// The list of kept shared objects is read up to this many bytes.
constexpr std::size_t kListBound = std::size_t{1} << 20;

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool Inside(const std::string& path, const std::string& folder) {
  return path == folder || path.starts_with(folder + "/");
}

// The folder part of a relative place, and its last part.
std::string FolderOf(const std::string& place) {
  const std::size_t slash = place.rfind('/');
  return slash == std::string::npos ? std::string() : place.substr(0, slash);
}
std::string LastPart(const std::string& place) {
  const std::size_t slash = place.rfind('/');
  return slash == std::string::npos ? place : place.substr(slash + 1);
}

std::string Below(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

}  // namespace

std::string SharedObjectStore::Root(Env& env) {
  const std::string state = env.UserStateFolder();
  if (state.empty()) return {};
  std::string folder = state + kStoreFolder;
  // The books' folders are emptied at every start and close: the store
  // must never be one of them, nor inside one.
  const std::string data = env.UserDataFolder();
  if (!data.empty() && Inside(folder, data + kBooksFolder)) return {};
  return folder;
}

SharedObjectName SharedObjectStore::NameOfKey(const QString& key) {
  const QStringList parts = key.split(QLatin1Char('/'));
  qsizetype name_at = parts.size() - 1;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (parts[i].startsWith(QLatin1Char('#'))) {
      name_at = i;
      break;
    }
  }
  const QString path = parts.mid(0, name_at).join(QLatin1Char('/'));
  return SharedObjectName{QByteArray::fromPercentEncoding(path.toUtf8()).toStdString(),
                          parts.mid(name_at).join(QLatin1Char('/')).toStdString()};
}

SharedObjectStore::SharedObjectStore(SharedObjectPlaces places, std::string root, Env& env)
    : env_(env), places_(std::move(places)), root_(std::move(root)) {
  if (root_.empty()) {
    writing_ = false;
    Warn(QCoreApplication::translate("SharedObjects",
                                     "no folder for them (a folder of books' files?)"));
  }
}

SharedObjectStore::~SharedObjectStore() = default;

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

QString SharedObjectStore::Shown(const std::string& relative) const {
  return Q(relative.empty() ? root_ : root_ + "/" + relative);
}

OpenFolder* SharedObjectStore::Folder(const std::string& relative, bool create) {
  if (root_.empty()) return nullptr;
  if (const auto known = folders_.find(relative); known != folders_.end())
    return known->second.get();
  std::string why;
  std::unique_ptr<OpenFolder> open;
  if (relative.empty()) {
    if (create) {
      env_.CreateFolders(root_);  // the levels up to the root, as they are missing
    } else if (!env_.FolderExists(root_) && !env_.IsSymbolicLink(root_)) {
      return nullptr;
    }
    open = env_.OpenOwnFolder(root_, &why);
  } else {
    OpenFolder* parent = Folder(FolderOf(relative), create);
    if (parent == nullptr) return nullptr;
    const std::string name = LastPart(relative);
    const EntryKind kind = env_.KindOfEntryIn(*parent, name);
    if (kind == EntryKind::kMissing && !create) return nullptr;
    if (kind == EntryKind::kLink) {
      Warn(QCoreApplication::translate("SharedObjects", "%1 is a link, left alone")
               .arg(Shown(relative)));
      return nullptr;
    }
    if (kind == EntryKind::kFile || kind == EntryKind::kOther) {
      Warn(QCoreApplication::translate("SharedObjects", "%1 is no folder, left alone")
               .arg(Shown(relative)));
      return nullptr;
    }
    open = env_.OpenFolderIn(*parent, name, create, &why);
  }
  if (!open) {
    Warn(QCoreApplication::translate("SharedObjects", "cannot open %1: %2")
             .arg(Shown(relative), Q(why)));
    return nullptr;
  }
  return folders_.emplace(relative, std::move(open)).first->second.get();
}

void SharedObjectStore::Collect(const std::string& folder, bool all,
                                std::vector<std::string>* files) {
  OpenFolder* open = Folder(folder, false);
  if (open == nullptr) return;
  std::vector<std::string> names = env_.ListFolderIn(*open);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string place = Below(folder, name);
    switch (env_.KindOfEntryIn(*open, name)) {
      case EntryKind::kFile:
        if (name.ends_with(kSolSuffix)) files->push_back(place);
        break;
      case EntryKind::kFolder:
        // Below a "#" folder, every folder is part of a name ("#p/q/r").
        if (all || name.starts_with('#')) Collect(place, true, files);
        break;
      case EntryKind::kLink:
        if (all || name.starts_with('#') || name.ends_with(kSolSuffix))
          Warn(QCoreApplication::translate("SharedObjects", "%1 is a link, left alone")
                   .arg(Shown(place)));
        break;
      case EntryKind::kMissing:
      case EntryKind::kOther: break;
    }
  }
}

bool SharedObjectStore::CarryOver(std::optional<std::vector<std::string>> shelf) {
  const std::string& from = places_.LegacyArea();
  const std::string& to = places_.OwnArea();
  if (from.empty() || to.empty() || HasArea(to) || !HasArea(from)) return false;
  if (!shelf) shelf = ShelfPaths(env_);
  if (!NameKeyedAreaIsItsOwn(places_.id(), *shelf)) {
    qCInfo(lcPlayer).noquote() << "shared objects: those in" << Shown(from)
                               << "are not known to be this magazine's; left there";
    return false;
  }
  OpenFolder* from_folder = Folder(FolderOf(from), false);
  OpenFolder* to_folder = from_folder != nullptr ? Folder(FolderOf(to), true) : nullptr;
  std::string why = "the folder can't be opened";
  if (to_folder == nullptr ||
      !env_.MoveEntryIn(*from_folder, LastPart(from), *to_folder, LastPart(to), &why)) {
    Warn(QCoreApplication::translate("SharedObjects", "cannot move %1 to %2: %3")
             .arg(Shown(from), Shown(to), Q(why)));
    return false;
  }
  qCInfo(lcPlayer).noquote() << "shared objects: those in" << Shown(from) << "moved to" << Shown(to)
                             << "(the magazine is known by what it holds)";
  return true;
}

bool SharedObjectStore::HasArea(const std::string& area) {
  if (root_.empty() || area.empty()) return false;
  OpenFolder* parent = Folder(FolderOf(area), false);
  return parent != nullptr && env_.KindOfEntryIn(*parent, LastPart(area)) != EntryKind::kMissing;
}

QList<SharedObjectStore::Entry> SharedObjectStore::Load() {
  QList<Entry> entries;
  if (root_.empty() || !places_.usable()) return entries;
  std::vector<std::string> files;
  Collect(places_.OwnArea(), true, &files);
  for (const std::string& folder : places_.SharedFolders()) Collect(folder, false, &files);
  if (const std::string others = places_.OtherMoviesFolder(); !others.empty()) {
    if (OpenFolder* open = Folder(others, false)) {
      for (const std::string& sub : env_.ListFolderIn(*open)) {
        if (!sub.starts_with('#') && env_.KindOfEntryIn(*open, sub) == EntryKind::kFolder)
          Collect(Below(others, sub), false, &files);
      }
    }
  }
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  ReadKeptShared();
  QStringList damaged;
  for (const std::string& place : files) {
    const std::optional<SharedObjectName> name = places_.NameOf(place);
    OpenFolder* folder = name ? Folder(FolderOf(place), false) : nullptr;
    if (folder == nullptr) continue;
    std::string bytes;
    std::string why;
    if (!env_.ReadFileIn(*folder, LastPart(place), kSharedObjectLimit, &bytes, &why)) {
      damaged.append(QStringLiteral("%1 (%2)").arg(Shown(place), Q(why)));
      continue;
    }
    // Checked whole, nesting included, before the player reads it: an
    // object nested deeper than it can read would stop the movie.
    if (!SharedObjectReadable(bytes, &why)) {
      damaged.append(QStringLiteral("%1 (%2)").arg(Shown(place), Q(why)));
      continue;
    }
    const StorePlace where = *places_.PlaceOf(*name);
    const auto size = static_cast<qsizetype>(bytes.size());
    if (!WithinLimit(where, size)) {
      damaged.append(
          QCoreApplication::translate("SharedObjects", "%1 (over the limit)").arg(Shown(place)));
      continue;
    }
    sizes_.insert(Q(place), size);
    entries.append(
        {*name, QByteArray(bytes.data(), size), where.own || kept_shared_.contains(place)});
  }
  if (!damaged.isEmpty())
    Warn(QCoreApplication::translate("SharedObjects", "left out, unreadable or damaged: %1")
             .arg(damaged.join(QStringLiteral(", "))));
  qCInfo(lcPlayer).noquote() << "shared objects:" << entries.size() << "read from" << Q(root_);
  return entries;
}

void SharedObjectStore::ReadKeptShared() {
  OpenFolder* own = Folder(places_.OwnArea(), false);
  std::string text;
  if (own == nullptr || env_.KindOfEntryIn(*own, kKeptShared) == EntryKind::kMissing) return;
  std::string why;
  if (!env_.ReadFileIn(*own, kKeptShared, kListBound, &text, &why)) {
    Warn(QCoreApplication::translate("SharedObjects", "cannot read %1: %2")
             .arg(Shown(Below(places_.OwnArea(), kKeptShared)), Q(why)));
    return;
  }
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start)) {
    if (const std::optional<std::string> place = DecodeBytes(text.substr(start, end - start)))
      kept_shared_.insert(*place);
  }
}

void SharedObjectStore::WriteKeptShared() {
  std::string text;
  for (const std::string& place : kept_shared_) text += EncodeBytes(place) + "\n";
  OpenFolder* own = Folder(places_.OwnArea(), true);
  std::string why = "the folder can't be opened";
  if (own == nullptr || !env_.ReplaceFileIn(*own, kKeptShared, text, &why)) {
    Warn(QCoreApplication::translate("SharedObjects", "cannot write %1: %2")
             .arg(Shown(Below(places_.OwnArea(), kKeptShared)), Q(why)));
  }
}

bool SharedObjectStore::WithinLimit(const StorePlace& place, qsizetype size) const {
  qsizetype total = size;
  const QString path = Q(place.path);
  const QString own = Q(places_.OwnArea()) + QLatin1Char('/');
  // The shared objects count for the magazine that kept them.
  for (auto it = sizes_.cbegin(); it != sizes_.cend(); ++it) {
    if (it.key() == path || it.key().startsWith(own) != place.own) continue;
    if (place.own || kept_shared_.contains(it.key().toStdString())) total += it.value();
  }
  return total <= static_cast<qsizetype>(kSharedObjectLimit);
}

bool SharedObjectStore::Write(const SharedObjectName& name, const QByteArray& bytes) {
  const std::optional<StorePlace> place = places_.PlaceOf(name);
  const QString label = Q(name.local_path + "/" + name.name);
  if (!place) {
    qCInfo(lcPlayer).noquote() << "shared object not kept (no place for it):" << label;
    return false;
  }
  if (!LooksLikeSharedObject(std::string_view(bytes.constData(), bytes.size())) ||
      !WithinLimit(*place, bytes.size())) {
    qCInfo(lcPlayer).noquote() << "shared object not kept (over the limit or malformed):" << label;
    return false;
  }
  OpenFolder* folder = Folder(FolderOf(place->path), true);
  std::string why;
  if (folder == nullptr ||
      !env_.ReplaceFileIn(*folder, LastPart(place->path),
                          std::string_view(bytes.constData(), bytes.size()), &why)) {
    // The reason for a folder was warned of as it was met.
    if (folder != nullptr)
      Warn(QCoreApplication::translate("SharedObjects", "cannot write %1: %2")
               .arg(Shown(place->path), Q(why)));
    else if (!warned_)
      Warn(QCoreApplication::translate("SharedObjects", "cannot write %1").arg(Shown(place->path)));
    qCInfo(lcPlayer).noquote() << "shared object not kept (the write failed):" << label;
    writing_ = false;
    return false;
  }
  writing_ = true;
  sizes_.insert(Q(place->path), bytes.size());
  if (!place->own && kept_shared_.insert(place->path).second) WriteKeptShared();
  qCInfo(lcPlayer).noquote() << "shared object kept:" << label << "in" << Shown(place->path);
  return true;
}

void SharedObjectStore::Remove(const SharedObjectName& name) {
  const std::optional<StorePlace> place = places_.PlaceOf(name);
  if (!place || root_.empty()) return;
  sizes_.remove(Q(place->path));
  OpenFolder* folder = Folder(FolderOf(place->path), false);
  const std::string file = LastPart(place->path);
  if (folder == nullptr) return;
  switch (env_.KindOfEntryIn(*folder, file)) {
    case EntryKind::kMissing: return;
    case EntryKind::kFile:
      if (env_.DeleteFileIn(*folder, file)) {
        qCInfo(lcPlayer).noquote() << "shared object removed:" << Shown(place->path);
        return;
      }
      Warn(
          QCoreApplication::translate("SharedObjects", "cannot remove %1").arg(Shown(place->path)));
      return;
    case EntryKind::kLink:
    case EntryKind::kFolder:
    case EntryKind::kOther:
      Warn(QCoreApplication::translate("SharedObjects", "%1 is no object's file, left alone")
               .arg(Shown(place->path)));
      return;
  }
}

void SharedObjectStore::Forget(const std::string& relative) {
  std::erase_if(folders_, [&](const auto& known) { return Inside(known.first, relative); });
}

bool SharedObjectStore::Usable() {
  if (Folder({}, true) == nullptr) writing_ = false;
  return writing_;
}

std::vector<std::string> SharedObjectStore::ShelfPaths(Env& env) {
  const std::string where = RecentListFolder(env);
  std::vector<std::string> paths;
  if (where.empty() || !env.FolderExists(where)) return paths;
  const std::unique_ptr<OpenFolder> folder = env.OpenOwnFolder(where, nullptr);
  std::string text;
  if (!folder || !env.ReadFileIn(*folder, kRecentListName, kRecentListBound, &text, nullptr))
    return paths;
  if (const std::optional<RecentList> shelf = RecentList::Parse(text)) {
    for (const RecentEntry& entry : shelf->entries()) paths.push_back(entry.path);
  }
  return paths;
}

bool SharedObjectStore::RemoveIn(OpenFolder& folder, const std::string& relative) {
  bool all = true;
  for (const std::string& name : env_.ListFolderIn(folder)) {
    const std::string place = Below(relative, name);
    switch (env_.KindOfEntryIn(folder, name)) {
      case EntryKind::kFile: all = env_.DeleteFileIn(folder, name) && all; break;
      case EntryKind::kFolder: {
        OpenFolder* sub = Folder(place, false);
        all = sub != nullptr && RemoveIn(*sub, place) && all;
        Forget(place);
        all = env_.RemoveFolderIn(folder, name) && all;
        break;
      }
      case EntryKind::kMissing: break;
      case EntryKind::kLink:
      case EntryKind::kOther:
        Warn(QCoreApplication::translate("SharedObjects", "%1 is a link or no file, left alone")
                 .arg(Shown(place)));
        all = false;
        break;
    }
  }
  return all;
}

bool SharedObjectStore::RemoveArea(const std::string& area, std::string* where) {
  *where = Shown(area).toStdString();
  if (!HasArea(area)) return true;
  OpenFolder* parent = Folder(FolderOf(area), false);
  OpenFolder* open = Folder(area, false);
  if (open == nullptr || parent == nullptr) return false;
  const bool all = RemoveIn(*open, area);
  Forget(area);
  return env_.RemoveFolderIn(*parent, LastPart(area)) && all;
}

}  // namespace pagoro
