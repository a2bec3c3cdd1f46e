#include "book/errors.h"

#include <cstring>

namespace pagoro {

EConvertError::EConvertError(std::string_view text)
    : Exception("'" + std::string(text) + "' is not a valid integer value") {}

EListError::EListError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EFCreateError::EFCreateError(std::string_view path, std::string_view systemError)
    : Exception("Cannot create file \"" + std::string(path) + "\". " + std::string(systemError)) {}

EWriteError::EWriteError() : Exception("Stream write error") {}

EOutOfMemory::EOutOfMemory() : Exception("Out of memory while expanding memory stream") {}

std::string SystemErrorText(int errnum) {
  char buffer[256];
  // The GNU strerror_r returns the text, which need not be in `buffer`.
  return strerror_r(errnum, buffer, sizeof buffer);
}

}  // namespace pagoro
