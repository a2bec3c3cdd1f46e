// SharedObjectStore: the shared objects of one magazine's run on disk, in
// the reader's own per-user folder ($XDG_STATE_HOME/pagoro/shared-objects,
// by default ~/.local/state/pagoro/shared-objects; places as
// core/shared_object_places.h says). Read once as the movie starts; each
// object the movie flushes is written through at once, whole, by a new file
// renamed over the old one, so that a crash leaves the old or the new.
//
// A store that can't be used (a read-only or full disk, a file in the way,
// damaged objects) costs the magazine nothing but the lasting: what it
// stores stays in the page's memory for this run, and the log gets one
// warning. Nothing outside the store's folder is ever written or removed.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

#include "core/shared_object_places.h"

namespace pagoro {

class SharedObjectStore {
 public:
  struct Entry {
    SharedObjectName name;
    QByteArray bytes;
  };

  // The store's folder: $XDG_STATE_HOME (else $HOME/.local/state) with
  // pagoro/shared-objects; "" when it would lie inside the folder of the
  // books' folders (which are emptied), or no home is known.
  static QString Root();

  // Removes what the magazine `id` stored; false when something of it
  // could not be removed. Reports through `message` what it did.
  static bool Forget(const MagazineId& id, QString* message);

  // The store of `places` under `root` (Root() by default).
  explicit SharedObjectStore(SharedObjectPlaces places, QString root = Root());

  // The objects this magazine's movies can reach; damaged ones are left out
  // (and left alone).
  QList<Entry> Load();
  // Writes the object's bytes through; false when it was not kept (over
  // the limit, a name the player does not make, a failed write).
  bool Write(const SharedObjectName& name, const QByteArray& bytes);
  // Removes the object's file; a missing one is no failure.
  void Remove(const SharedObjectName& name);

 private:
  // The size of what is kept, own and shared, with `place` weighing `size`.
  bool WithinLimit(const StorePlace& place, qsizetype size) const;
  void Warn(const QString& what);

  SharedObjectPlaces places_;
  QString root_;
  // Sizes of the objects loaded or written, by place.
  QHash<QString, qsizetype> sizes_;
  bool warned_ = false;
};

}  // namespace pagoro
