// libFuzzer target: whatever lies in the store as a shared object's file,
// read as the store reads it before the player gets it. The first byte
// chooses whether the rest is the whole file or a body (AMF0 or AMF3) under
// a header that fits it, so that the fuzzer reaches the values. The reader
// stays within the bytes, says why it refuses, and takes no body cut short
// after its last entry's closing zero byte.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/sol_file.h"

namespace {

std::string WithHeader(std::string_view body, bool amf3) {
  std::string rest("TCSO\0\4\0\0\0\0\0\1x\0\0\0", 16);
  rest += amf3 ? '\3' : '\0';
  rest += body;
  std::string file("\0\xBF", 2);
  for (int shift = 24; shift >= 0; shift -= 8)
    file += static_cast<char>((rest.size() >> shift) & 0xFF);
  return file + rest;
}

void Check(const std::string& bytes, std::string_view body, bool amf3) {
  std::string why;
  if (!pagoro::SharedObjectReadable(bytes, &why)) {
    if (why.empty()) std::abort();
    return;
  }
  // A body read whole ends with an entry's zero byte: without it, it is cut.
  if (!body.empty()) {
    if (body.back() != '\0') std::abort();
    if (pagoro::SharedObjectReadable(WithHeader(body.substr(0, body.size() - 1), amf3), nullptr))
      std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: {
      // The whole file, read where the fuzzer put it (a block of its own size).
      std::string why;
      if (!pagoro::SharedObjectReadable(rest, &why) && why.empty()) std::abort();
      break;
    }
    case 1: Check(WithHeader(rest, false), rest, false); break;
    default: Check(WithHeader(rest, true), rest, true); break;
  }
  return 0;
}
