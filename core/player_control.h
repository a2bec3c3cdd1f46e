// What the reader asks of the movie player: load a movie, play it, set a
// variable in it. A file path crosses as the file system's bytes, whatever
// their encoding; what the movie sees (names and values of its variables)
// is UTF-16 text. The player
// reports the movie's FSCommand calls through its host's own means (a Qt
// signal in TShockwaveFlash).
#pragma once

#include <string>

#include "core/shared_object_places.h"

namespace pagoro {

class PlayerControl {
 public:
  virtual ~PlayerControl() = default;
  // Whose movie the next Movie() loads: what it keeps between runs (its
  // shared objects) is kept under this magazine's name. Without it, a
  // movie is its own file's.
  virtual void Magazine(const MagazineId& id) { (void)id; }
  // Sets the path of the movie file to load, as the file system spells it
  // ("" shows nothing).
  virtual void Movie(const std::string& path) = 0;
  // Plays the movie set last.
  virtual void Play() = 0;
  // The movie finds `value` in its variable `name`. Throws on failure.
  virtual void SetVariable(const std::u16string& name, const std::u16string& value) = 0;
};

}  // namespace pagoro
