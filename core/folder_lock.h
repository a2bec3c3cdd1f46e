// A per-user lock on one book folder: among the running readers of this
// user, one at a time holds it. The lock is an flock on a file in the
// user's runtime folder, so the system drops it when its holder ends, a
// crash included: no lock outlives its reader.
#pragma once

#include <string>

namespace pagoro {

class FolderLock {
 public:
  enum class State {
    kTaken,          // this lock holds the folder
    kHeldElsewhere,  // another running reader holds it
    kUnavailable,    // there is no place for locks (readers go unlocked)
  };

  // Tries, without waiting, to take the lock of `folder` (a book folder path).
  explicit FolderLock(const std::string& folder);
  // Gives the lock up. The lock file stays: removing it could let two
  // readers lock two different files of the same name.
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }
  // The lock file; "" when unavailable.
  const std::string& path() const { return path_; }
  // Where the holder listens for other readers; "" when unavailable.
  std::string MeetingPath() const { return path_.empty() ? "" : path_ + ".sock"; }

  // The folder of this user's locks: $XDG_RUNTIME_DIR/pagoro, else
  // $TMPDIR/pagoro-<uid> (or /tmp/...), created private when missing. ""
  // when it can't be made, or is not a private folder of this user.
  static std::string LockFolder();

 private:
  State state_ = State::kUnavailable;
  std::string path_;
  int fd_ = -1;
};

}  // namespace pagoro
