// Rewrites a movie before the player gets it so that values set from
// outside reach it: a poller asks the host for queued "name=value" pairs
// every few milliseconds (loadVariablesNum into level 0).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagoro {

struct PatchResult {
  std::vector<std::uint8_t> bytes;  // the patched movie, or the input unchanged
  bool patched = false;
  int swf_version = 0;  // 0 when the input is no movie
  bool is_avm2 = false;  // ActionScript 3: no poller can be added
  std::string reason;    // why the movie was left unchanged; "" when patched
};

// Adds, as the movie's first action, an anonymous function that loads
// variables from `poll_url` into level 0, run every `interval_ms` by
// setInterval. The result is always uncompressed. ActionScript 1/2 movies of
// version 5 and later are patched; ActionScript 3, older, damaged or cut
// movies come back unchanged with a reason. The movie sees nothing of the
// poller but the variables delivered: no named variable, nothing left on
// its stack. Two traces remain: the interval takes an id of setInterval's
// count, and every successful load into level 0 calls _root.onData (and the
// root's data event), as any loadVariablesNum does; a host that fails the
// request when it has nothing to deliver keeps those calls to deliveries.
PatchResult InsertVariablePoller(std::span<const std::uint8_t> movie, std::string_view poll_url,
                                 int interval_ms = 50);

}  // namespace pagoro
