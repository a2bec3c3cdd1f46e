// What the reader asks of the movie player: load a movie, play it, set a
// variable in it. Strings that cross to the player are UTF-16. The player
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
  // Sets the path of the movie to load ("" shows nothing).
  virtual void Movie(const std::u16string& path) = 0;
  // Plays the movie set last.
  virtual void Play() = 0;
  // The movie finds `value` in its variable `name`. Throws on failure.
  virtual void SetVariable(const std::u16string& name, const std::u16string& value) = 0;
};

}  // namespace pagoro
