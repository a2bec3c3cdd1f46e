// `pagoro --forget FILE`: removes what one magazine's movies stored to last
// (its shared objects), found by what FILE holds: a magazine file only (a
// book, a projector, a movie), never a folder. Its objects are known by its
// identity (core/magazine_identity.h); those kept by its name or path
// before are removed only where the reader would carry them over to it.
#pragma once

#include <string>

namespace pagoro {

// The whole option: says on standard output what it removed (or standard
// error what it could not); the program's exit code.
int ForgetMagazine(const std::string& path);

}  // namespace pagoro
