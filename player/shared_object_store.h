// SharedObjectStore: the shared objects of one magazine's run on disk, in
// the reader's own per-user folder (Root(): the state folder's
// pagoro/shared-objects, by default ~/.local/state/pagoro/shared-objects;
// places as core/shared_object_places.h says). Read once as the movie
// starts; each object the movie flushes is written through at once, whole:
// into a new file beside it, flushed to the disk, renamed over the old one.
//
// The store's folders are opened once each, by descriptor, never through a
// link, and every read, write and removal goes through them: a link met
// anywhere in the store (an object's file, the magazine's own area, a
// folder above it) is refused with a warning and left alone, so nothing
// outside the store is ever written, read or removed.
//
// A store that can't be used (a read-only or full disk, a file in the way,
// damaged objects) costs the magazine nothing but the lasting: what it
// stores stays in the page's memory for this run, the old files stay as
// they were, and the log gets one warning naming the file and the cause.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "book/env.h"
#include "core/shared_object_places.h"

namespace pagoro {

class SharedObjectStore {
 public:
  struct Entry {
    SharedObjectName name;
    QByteArray bytes;
    // It counts towards the magazine's limits: its own, or a shared one
    // this magazine kept.
    bool counted = true;
  };

  // The store's folder: the per-user state folder's pagoro/shared-objects;
  // "" when it would lie inside the folder of the books' folders (which
  // are emptied), or no home is known.
  static std::string Root(Env& env = Env::Default());

  // The object a page key names once the key's host is taken off
  // ("<local path, percent-encoded>/<name>"): the name begins at the
  // first part led by "#" (a name holding "/"), else it is the last part.
  static SharedObjectName NameOfKey(const QString& key);

  // The store of `places` under `root`.
  explicit SharedObjectStore(SharedObjectPlaces places, std::string root = Root(),
                             Env& env = Env::Default());
  ~SharedObjectStore();
  SharedObjectStore(const SharedObjectStore&) = delete;
  SharedObjectStore& operator=(const SharedObjectStore&) = delete;

  // Moves what the magazine kept under its name or path before it was
  // known by what it holds into its own area, when `shelf` (the paths on
  // the shelf of recent magazines before this opening) tells that it was
  // this very magazine's (core NameKeyedAreaIsItsOwn); never over objects
  // kept already. True when something was moved. Without `shelf`, the
  // shelf is read (ShelfPaths).
  bool CarryOver(std::optional<std::vector<std::string>> shelf = std::nullopt);
  // The paths on the shelf of recent magazines (the state folder's
  // pagoro/recent), read only; none when it can't be read.
  static std::vector<std::string> ShelfPaths(Env& env = Env::Default());
  // Opens the store's folder, made when missing; false (and writing()
  // false) when it can't be.
  bool Usable();

  // The objects this magazine's movies can reach; damaged ones are left out
  // (and left alone).
  QList<Entry> Load();
  // Writes the object's bytes through; false when it was not kept (over
  // the limit, a name the player does not make, a failed write).
  bool Write(const SharedObjectName& name, const QByteArray& bytes);
  // Removes the object's file; a missing one is no failure.
  void Remove(const SharedObjectName& name);
  // Removes the folder `area` (relative to the root) with everything in it
  // but links, which are left alone. Nothing there is no failure; false when
  // something stays. `where` gets the folder's path.
  bool RemoveArea(const std::string& area, std::string* where);
  // True when the folder `area` (relative to the root) holds something.
  bool HasArea(const std::string& area);

  // False once a write failed (or the store can't be used at all), until a
  // write succeeds again.
  bool writing() const { return writing_; }
  const std::string& root() const { return root_; }

 private:
  // The opened folder `relative` ("" for the root), walked from the root
  // part by part, each part opened once; created when `create`. Null when
  // it is missing or can't be used (a link in the way: warned).
  OpenFolder* Folder(const std::string& relative, bool create);
  // Adds to `files` the object files in `folder` (relative to the root):
  // with `all`, those of every subfolder, else of subfolders led by "#".
  void Collect(const std::string& folder, bool all, std::vector<std::string>* files);
  bool RemoveIn(OpenFolder& folder, const std::string& relative);
  // Closes the opened folders at and below `relative`.
  void Forget(const std::string& relative);
  // The size of what the magazine kept, own or shared, with `place`
  // weighing `size`: each 1 MiB at most.
  bool WithinLimit(const StorePlace& place, qsizetype size) const;
  // The list of the shared objects the magazine kept, in its own area.
  void ReadKeptShared();
  void WriteKeptShared();
  void Warn(const QString& what);
  QString Shown(const std::string& relative) const;

  Env& env_;
  SharedObjectPlaces places_;
  std::string root_;
  std::map<std::string, std::unique_ptr<OpenFolder>> folders_;
  // Sizes of the objects loaded or written, by place.
  QHash<QString, qsizetype> sizes_;
  // The places of the shared objects this magazine kept.
  std::set<std::string> kept_shared_;
  bool warned_ = false;
  bool writing_ = true;
};

}  // namespace pagoro
