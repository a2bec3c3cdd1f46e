// What the reader asks of the movie player: load a movie, play it, set a
// variable in it. Strings that cross to the player are UTF-16. The player
// reports the movie's FSCommand calls through its host's own means (a Qt
// signal in TShockwaveFlash).
#pragma once

#include <string>

namespace pagoro {

class PlayerControl {
 public:
  virtual ~PlayerControl() = default;
  // Sets the path of the movie to load ("" shows nothing).
  virtual void Movie(const std::u16string& path) = 0;
  // Plays the movie set last.
  virtual void Play() = 0;
  // The movie finds `value` in its variable `name`. Throws on failure.
  virtual void SetVariable(const std::u16string& name, const std::u16string& value) = 0;
};

}  // namespace pagoro
