// The messages one reader sends another over the hand-over socket (the
// holder of a book listens beside its lock): one line each, newline
// included, no longer than kMaxHandOverMessage. Anything longer, or a line
// that isn't a message, is dropped by the holder.
#pragma once

#include <cstddef>
#include <string_view>

namespace pagoro {

// A few KiB: a call is a word; the bound keeps a client that streams
// without a newline from growing the holder's memory.
inline constexpr std::size_t kMaxHandOverMessage = 4096;

// Asks the holder to bring its window to the front.
inline constexpr std::string_view kFrontCall = "front\n";

enum class HandOverKind {
  kIncomplete,  // no whole line yet, and room for one
  kFront,       // kFrontCall
  kUnknown,     // a whole line that is no message
  kTooLong,     // no line within kMaxHandOverMessage bytes
};

struct HandOverMessage {
  HandOverKind kind = HandOverKind::kIncomplete;
  std::size_t length = 0;  // bytes of `received` the message takes, newline included
};

// The first message in the bytes received so far.
HandOverMessage ReadHandOver(std::string_view received);

}  // namespace pagoro
