#include "book/errors.h"

namespace pagoro {

EConvertError::EConvertError(std::string_view text)
    : Exception("'" + std::string(text) + "' is not a valid integer value") {}

EListError::EListError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EFCreateError::EFCreateError(std::string_view path, std::string_view systemError)
    : Exception("Cannot create file \"" + std::string(path) + "\". " + std::string(systemError)) {}

EWriteError::EWriteError() : Exception("Stream write error") {}

EOutOfMemory::EOutOfMemory() : Exception("Out of memory while expanding memory stream") {}

}  // namespace pagoro
