// `pagoro --forget FILE`: removes what one magazine's movies stored to last
// (its shared objects), found by what FILE holds as the reader would open
// it: a book by its name, a movie or projector by its own path.
#pragma once

#include <string>

namespace pagoro {

// The whole option: says on standard output what it removed (or standard
// error what it could not); the program's exit code.
int ForgetMagazine(const std::string& path);

}  // namespace pagoro
