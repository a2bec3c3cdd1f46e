// A BookHost for tests and the fuzzer: temporary files "tem*.tmp" in the
// Env's temporary-files folder, the plain message dialog recorded.
#pragma once

#include <string>
#include <vector>

#include "book/book.h"
#include "book/env.h"

namespace pagoro::testing {

class RecordingHost : public BookHost {
 public:
  explicit RecordingHost(Env& env) : env_(env) {}

  std::string NewTempFileName() override;
  void ClearFolder(const std::string& folder) override;
  void ShowMessage(const std::string& text) override { messages.push_back(text); }

  std::vector<std::string> messages;

 private:
  Env& env_;
};

}  // namespace pagoro::testing
