// Test support: private per-user folders and small file helpers, so tests
// write real files without touching the real user's.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pagoro::testing {

// A fresh folder holding data/, tmp/ and home/, with XDG_DATA_HOME, TMPDIR
// and HOME pointing there while it lives. Removed, with all it holds, at the end.
class PrivateFolders {
 public:
  PrivateFolders() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/pagoro-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    for (const char* sub : {"data", "tmp", "home", "work"})
      std::filesystem::create_directory(root_ + "/" + sub);
    Save("XDG_DATA_HOME", data());
    Save("TMPDIR", tmp());
    Save("HOME", root_ + "/home");
  }
  ~PrivateFolders() {
    for (const auto& [name, value] : saved_) {
      if (value.has_value) {
        ::setenv(name.c_str(), value.text.c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PrivateFolders(const PrivateFolders&) = delete;
  PrivateFolders& operator=(const PrivateFolders&) = delete;

  std::string data() const { return root_ + "/data"; }
  std::string tmp() const { return root_ + "/tmp"; }
  // A folder for the test's own files (books, folders to pack).
  std::string work() const { return root_ + "/work"; }

 private:
  struct Saved {
    bool has_value = false;
    std::string text;
  };
  void Save(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, Saved{old != nullptr, old != nullptr ? old : ""}});
    ::setenv(name.c_str(), value.c_str(), 1);
  }

  std::string root_;
  std::vector<std::pair<std::string, Saved>> saved_;
};

inline void WriteTestFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

inline std::string ReadTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names directly inside `folder`, sorted; empty when it does not exist.
inline std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// `size` bytes that differ from position to position (no CR, LF or NUL in the
// first three), so a misplaced byte shows.
inline std::string PatternBytes(std::size_t size, unsigned seed = 1) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed * 13 + i / 251) & 0xFF);
  if (size > 0) bytes[0] = 'F';
  if (size > 1) bytes[1] = 'W';
  if (size > 2) bytes[2] = 'S';
  return bytes;
}

}  // namespace pagoro::testing
