// A per-user lock on one book folder: among the running readers of this
// user, one at a time holds it. The lock is an flock on a file in the
// user's runtime folder, so the system drops it when its holder ends, a
// crash included: no lock outlives its reader. When that folder can't be
// used (a file or a link in its place, another user's folder, one open to
// all, a link or a folder where the lock file goes), the lock is taken on
// the book folder itself, which is the user's own: it still can't be taken
// from its holder, but there is no place beside it to meet the holder.
#pragma once

#include <memory>
#include <string>

#include "book/env.h"

namespace pagoro {

class FolderLock {
 public:
  enum class State {
    kTaken,          // this lock holds the folder
    kHeldElsewhere,  // another running reader holds it
    kUnavailable,    // no lock can be had at all (the reason in error())
  };

  // Tries, without waiting, to take the lock of `folder` (a book folder
  // path ending in "/"). The fallback lock makes the book folder (and the
  // product folder above it) when missing; a folder that is no book folder
  // of the product folder, or can't be used, gets no fallback lock.
  FolderLock(Env& env, const std::string& folder);
  explicit FolderLock(const std::string& folder) : FolderLock(Env::Default(), folder) {}
  // Gives the lock up. The lock file stays: removing it could let two
  // readers lock two different files of the same name.
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }
  // The lock file, or the book folder for the fallback lock; "" when
  // unavailable.
  const std::string& path() const { return path_; }
  // Where the holder listens for other readers; "" for the fallback lock
  // and when unavailable.
  std::string MeetingPath() const {
    return path_.empty() || in_book_folder_ ? "" : path_ + ".sock";
  }
  // True when the lock is the fallback on the book folder itself.
  bool InBookFolder() const { return in_book_folder_; }
  // Why there is no lock (kUnavailable), or why the fallback was taken.
  const std::string& error() const { return error_; }

  // Tells other readers which book file the holder plays from the folder
  // (`bookPath`, the path it was opened by), in a file beside the lock.
  // Nothing for the fallback lock.
  void NameBook(const std::string& bookPath);
  // The book file the holder of `folder` named; "" when it named none (or
  // there is no lock folder).
  static std::string HolderBook(Env& env, const std::string& folder);

  // The folder of this user's locks: $XDG_RUNTIME_DIR/pagoro, else
  // $TMPDIR/pagoro-<uid> (or /tmp/...), created private when missing. ""
  // when it can't be made, or is not a private folder of this user.
  static std::string LockFolder(Env& env = Env::Default());

 private:
  // Records what came of locking `path` (`why` it failed).
  void Settle(Env::LockOutcome outcome, const std::string& path, const std::string& why);

  Env& env_;
  State state_ = State::kUnavailable;
  std::string path_;
  bool in_book_folder_ = false;
  std::string error_;
  std::unique_ptr<FileHold> hold_;
};

}  // namespace pagoro
