// A fresh folder for one test or fuzz run, with TMPDIR and XDG_DATA_HOME
// pointed into it, so that nothing touches the user's own folders.
#pragma once

#include <string>

namespace pagoro::testing {

class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();  // removes the folder and restores the variables
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& path() const { return path_; }  // no trailing "/"
  std::string tmp() const { return path_ + "/tmp"; }
  std::string data() const { return path_ + "/data"; }

 private:
  std::string path_;
  std::string old_tmpdir_, old_data_home_;
  bool had_tmpdir_, had_data_home_;
};

// The whole contents of a file ("" when it can't be read).
std::string ReadAll(const std::string& path);
// Writes `bytes` to a new file at `path`.
void WriteAll(const std::string& path, const std::string& bytes);

}  // namespace pagoro::testing
