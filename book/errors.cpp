#include "book/errors.h"

#include <initializer_list>

#include "book/texts.h"

namespace pagoro {

namespace {

// The parts one after another. Built with append: GCC 12 at -O2 and above
// warns (-Wrestrict, a false alarm) about "'" + std::string(...).
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text.append(part);
  return text;
}

}  // namespace

EConvertError::EConvertError(std::string_view text)
    : Exception(Joined({"'", text, "' is not a valid integer value"})) {}

EListError::EListError(int index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

EFCreateError::EFCreateError(std::string_view path, std::string_view systemError)
    : Exception(Joined({"Cannot create file \"", path, "\". ", systemError})) {}

EWriteError::EWriteError() : Exception("Stream write error") {}

EWriteError::EWriteError(std::string_view folder, std::string_view cause)
    : Exception("Stream write error\n" +
                Args(Tr("Reader", "The folder \"%1\" can't take the file: %2"), {folder, cause})) {}

EBookUnreadable::EBookUnreadable(std::string_view fileName, std::string_view reason)
    : Exception(Args(Tr("Reader",
                        "The magazine's file \"%1\" can't be read any more: was its disc or "
                        "stick removed? (%2)"),
                     {fileName, reason})) {}

EOutOfMemory::EOutOfMemory() : Exception("Out of memory while expanding memory stream") {}

}  // namespace pagoro
