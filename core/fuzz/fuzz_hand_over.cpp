// libFuzzer target: whatever a client sends the hand-over socket, read
// message by message as the holder reads it: every message lies within the
// bytes and the bound, and only the call itself is taken for one.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/hand_over.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pagoro::HandOverKind;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (true) {
    const pagoro::HandOverMessage m = pagoro::ReadHandOver(rest);
    if (m.kind == HandOverKind::kIncomplete || m.kind == HandOverKind::kTooLong) {
      if (m.length != 0) std::abort();
      if (m.kind == HandOverKind::kTooLong && rest.size() < pagoro::kMaxHandOverMessage)
        std::abort();
      return 0;
    }
    if (m.length == 0 || m.length > rest.size() || m.length > pagoro::kMaxHandOverMessage ||
        rest[m.length - 1] != '\n')
      std::abort();
    if ((m.kind == HandOverKind::kFront) != (rest.substr(0, m.length) == pagoro::kFrontCall))
      std::abort();
    rest.remove_prefix(m.length);
  }
}
