// The texts of the reader's error boxes.
#pragma once

#include <exception>
#include <string>

namespace pagoro {

// The text of the error box for an error `message`: a "." is appended unless
// the message is empty or its last byte is 0x00..0x2E ("." itself, ")", a
// digit does not count: "7" is 0x37). A message ending in a multi-byte
// character gets one.
std::string WithPeriod(const std::string& message);

// The text of the fatal box when the window can't be built: the exception's
// class, the program file's name and an address, then its message:
// "Exception PlayerError in module Spring.exe at 00000000004A1B2C.\nmessage".
std::string FatalErrorText(const std::exception& error, const std::string& moduleName);

// The unqualified class name of `error` ("PlayerError" for pagoro::PlayerError).
std::string ExceptionClassName(const std::exception& error);

}  // namespace pagoro
