// A fresh folder for one test, fuzz or benchmark run, holding data/, state/,
// tmp/, home/ and work/, with XDG_DATA_HOME, XDG_STATE_HOME, TMPDIR and HOME
// pointed into it while
// it lives, so that nothing touches the user's own folders. Removed, with
// all it holds, at the end. And small file helpers for tests.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

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
  std::string state() const { return path_ + "/state"; }
  // A folder for the test's own files (books, folders to pack).
  std::string work() const { return path_ + "/work"; }

 private:
  struct Saved {
    std::string name;
    bool had_value = false;
    std::string value;
  };
  void Point(const char* name, const std::string& value);

  std::string path_;
  std::vector<Saved> saved_;
};

// The whole contents of a file ("" when it can't be read).
std::string ReadAll(const std::string& path);
// Writes `bytes` to a new file at `path`. Throws std::runtime_error when it
// can't.
void WriteAll(const std::string& path, const std::string& bytes);

// The names directly inside `folder`, sorted; empty when it does not exist.
std::vector<std::string> NamesIn(const std::string& folder);

// `size` bytes that differ from position to position (no CR, LF or NUL in the
// first three), so a misplaced byte shows.
std::string PatternBytes(std::size_t size, unsigned seed = 1);

}  // namespace pagoro::testing
