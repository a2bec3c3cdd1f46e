// A file argument made absolute by its bytes.
#pragma once

#include <string>

namespace pagoro {

// `path` made absolute against the working folder and cleaned, byte for
// byte (a name that is not UTF-8 keeps its bytes).
std::string AbsolutePath(const std::string& path);

}  // namespace pagoro
