#include "testing/book_host.h"

namespace pagoro::testing {

std::string RecordingHost::NewTempFileName() {
  return env_.CreateUniqueFile(env_.TempFolder(), "tem", ".tmp");
}

void RecordingHost::ClearFolder(const std::string& folder) {
  for (const std::string& name : env_.ListFolder(folder)) env_.DeleteFile(folder + name);
}

}  // namespace pagoro::testing
