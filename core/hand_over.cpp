#include "core/hand_over.h"

namespace pagoro {

HandOverMessage ReadHandOver(std::string_view received) {
  const std::string_view window = received.substr(0, kMaxHandOverMessage);
  const std::size_t newline = window.find('\n');
  if (newline == std::string_view::npos) {
    return {
        received.size() >= kMaxHandOverMessage ? HandOverKind::kTooLong : HandOverKind::kIncomplete,
        0};
  }
  const std::string_view line = window.substr(0, newline + 1);
  return {line == kFrontCall ? HandOverKind::kFront : HandOverKind::kUnknown, line.size()};
}

}  // namespace pagoro
