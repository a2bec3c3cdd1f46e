// The exceptions that carry pagoro's failures to whoever shows them. The
// messages are the framework's English texts, used exactly.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pagoro {

// Base of every pagoro failure; what() is the text shown to the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// "'%s' is not a valid integer value"
class EConvertError : public Exception {
 public:
  explicit EConvertError(std::string_view text);
};

// "List index out of bounds (%d)"
class EListError : public Exception {
 public:
  explicit EListError(int index);
};

// "Cannot create file \"path\". <system error text>"
class EFCreateError : public Exception {
 public:
  EFCreateError(std::string_view path, std::string_view systemError);
};

// "Stream write error", and with a folder a second line that names it and
// the cause (no space, no free inodes, a read-only file system).
class EWriteError : public Exception {
 public:
  EWriteError();
  EWriteError(std::string_view folder, std::string_view cause);
};

// "Out of memory while expanding memory stream"
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory();
};

// An entry line that cannot be extracted safely: a name with a folder part,
// bytes outside the book file, too few header bytes.
class EBadEntry : public Exception {
 public:
  using Exception::Exception;
};

// A book whose files need more room than the folder's file system has free.
class ENoSpaceError : public Exception {
 public:
  using Exception::Exception;
};

// A book whose bytes can no longer be read while its files are written:
// the file shrank or its medium (a disc, a stick, a share) went away.
class EBookUnreadable : public Exception {
 public:
  // `fileName` is the book's file name, as UTF-8; `reason` the system's.
  EBookUnreadable(std::string_view fileName, std::string_view reason);
};

// The system's text for an error number (defined with the platform's Env).
std::string SystemErrorText(int errnum);

}  // namespace pagoro
