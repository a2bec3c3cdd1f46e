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
// May follow a front call in the same write: the desktop's activation token
// of the caller's start (Wayland's xdg-activation), which lets the holder's
// window come to the front. A holder that doesn't know it acts on the call.
inline constexpr std::string_view kTokenPrefix = "token ";

enum class HandOverKind {
  kIncomplete,  // no whole line yet, and room for one
  kFront,       // kFrontCall
  kToken,       // kTokenPrefix and a token of printable ASCII without spaces
  kUnknown,     // a whole line that is no message
  kTooLong,     // no line within kMaxHandOverMessage bytes
};

struct HandOverMessage {
  HandOverKind kind = HandOverKind::kIncomplete;
  std::size_t length = 0;  // bytes of `received` the message takes, newline included
  std::string_view token;  // kToken: the token, a view into `received`
};

// The first message in the bytes received so far.
HandOverMessage ReadHandOver(std::string_view received);

}  // namespace pagoro
