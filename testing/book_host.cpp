#include "testing/book_host.h"

#include "core/cache_folder.h"

namespace pagoro::testing {

std::string RecordingHost::NewTempFileName() {
  return env_.CreateUniqueFile(env_.TempFolder(), "tem", ".tmp");
}

void RecordingHost::ClearFolder(const std::string& folder) { pagoro::ClearFolder(env_, folder); }

}  // namespace pagoro::testing
