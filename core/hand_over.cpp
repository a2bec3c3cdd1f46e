#include "core/hand_over.h"

namespace pagoro {

HandOverMessage ReadHandOver(std::string_view received) {
  const std::string_view window = received.substr(0, kMaxHandOverMessage);
  const std::size_t newline = window.find('\n');
  if (newline == std::string_view::npos) {
    return {
        received.size() >= kMaxHandOverMessage ? HandOverKind::kTooLong : HandOverKind::kIncomplete,
        0,
        {}};
  }
  const std::string_view line = window.substr(0, newline + 1);
  if (line == kFrontCall) return {HandOverKind::kFront, line.size(), {}};
  if (line.substr(0, kTokenPrefix.size()) == kTokenPrefix) {
    const std::string_view token = line.substr(kTokenPrefix.size(), newline - kTokenPrefix.size());
    bool printable = !token.empty();
    for (const char c : token) printable = printable && c > ' ' && c < 0x7f;
    if (printable) return {HandOverKind::kToken, line.size(), token};
  }
  return {HandOverKind::kUnknown, line.size(), {}};
}

}  // namespace pagoro
