// RecentStore: the shelf of recent magazines as this user's file,
// $XDG_STATE_HOME/pagoro/recent (by default ~/.local/state/pagoro/recent),
// with the covers as small pictures in covers/ beside it. Each change reads
// the file anew (other readers write it too) and writes it whole, atomically
// (a new file renamed over the old). A damaged file is ignored with a
// warning and replaced at the next change.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "core/recent_list.h"

namespace pagoro {

class RecentStore {
 public:
  // The folder of the list; by default from the environment.
  explicit RecentStore(QString folder = DefaultFolder());

  static QString DefaultFolder();

  RecentList Load() const;
  // `path` (its bytes, a full path) was opened now; its folder becomes the
  // Open dialog's.
  void Opened(const std::string& path);
  // The cover of `path`, when it is still on the shelf.
  void SetCover(const std::string& path, const QImage& cover);
  void Forget(const std::string& path);
  // The folder the Open dialog showed last (its bytes).
  void SetLastFolder(const std::string& folder);

  // The full path of a cover file named in the list.
  QString CoverPath(const std::string& cover) const;

 private:
  bool Save(const RecentList& list) const;
  void RemoveCovers(const std::vector<std::string>& covers) const;

  QString folder_;
};

}  // namespace pagoro
