// RecentStore: the shelf of recent magazines as this user's file,
// $XDG_STATE_HOME/pagoro/recent (by default ~/.local/state/pagoro/recent),
// with the covers as small pictures in covers/ beside it. Each change reads
// the file anew (other readers write it too) and writes it whole.
//
// The folder is opened once, as this user's own, and every file in it is
// reached through it, never through a link. Files are read without waiting
// and with a bound: anything but a regular file in the place of the list or
// of a cover (a FIFO, a link, a folder) is left alone with a warning, and the
// shelf starts empty or without that cover. Files are replaced whole or not
// at all: when the disk is full the old file stays as it was, with a
// warning naming the file and the cause. A damaged list is ignored with a
// warning and replaced at the next change. Each warning is given once.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "book/env.h"
#include "core/recent_list.h"

namespace pagoro {

class RecentStore {
 public:
  // The list's folder (its bytes, a full path; "" keeps nothing); by
  // default the state folder's pagoro/.
  explicit RecentStore(std::string folder = DefaultFolder(), Env& env = Env::Default());

  static std::string DefaultFolder();

  RecentList Load();
  // `path` (its bytes, a full path), holding the magazine `identity`
  // (core/magazine_identity.h; "" when unknown), was opened now: one entry
  // per magazine, whatever its name or place. Its folder becomes the Open
  // dialog's.
  void Opened(const std::string& path, const std::string& identity);
  // The cover of `path`, when it is still on the shelf; filed under its
  // magazine's identity.
  void SetCover(const std::string& path, const QImage& cover);
  void Forget(const std::string& path);
  // The folder the Open dialog showed last (its bytes).
  void SetLastFolder(const std::string& folder);

  // The picture of a cover named in the list; a null image when there is
  // none or it can't be read.
  QImage Cover(const std::string& cover);

 private:
  // The opened folders, opened (and, with `create`, made) when first
  // needed; null when missing or unusable.
  OpenFolder* Folder(bool create);
  OpenFolder* Covers(bool create);
  bool Save(const RecentList& list);
  void RemoveCovers(const std::vector<std::string>& covers);
  // Logs `text` as a warning unless it was said before.
  void Warn(const QString& text);
  QString Shown(const std::string& name) const;

  std::string folder_;
  Env& env_;
  std::unique_ptr<OpenFolder> open_;
  std::unique_ptr<OpenFolder> covers_;
  std::set<QString> warned_;
};

}  // namespace pagoro
