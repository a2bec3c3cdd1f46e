// PlayerError: the failure of a player control operation, with a message
// fit to be shown to the user as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace pagoro {

class PlayerError : public std::runtime_error {
 public:
  explicit PlayerError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pagoro
