#include "core/error_text.h"

#include <cxxabi.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace pagoro {

std::string WithPeriod(const std::string& message) {
  if (message.empty() || static_cast<unsigned char>(message.back()) <= '.') return message;
  return message + ".";
}

std::string ExceptionClassName(const std::exception& error) {
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
  // Template arguments may hold "::" too; cut only before them.
  const std::size_t end = name.find('<');
  const std::size_t colon = name.rfind("::", end);
  if (colon != std::string::npos) name.erase(0, colon + 2);
  return name;
}

std::string FatalErrorText(const std::exception& error, const std::string& moduleName) {
  // The box's text has a code address in it, which a C++ exception does not
  // carry; the exception object's address stands in, so the text keeps its
  // shape and still tells two failures apart.
  char address[32];
  std::snprintf(address, sizeof address, "%016" PRIXPTR, reinterpret_cast<std::uintptr_t>(&error));
  return "Exception " + ExceptionClassName(error) + " in module " + moduleName + " at " + address +
         ".\n" + error.what();
}

}  // namespace pagoro
