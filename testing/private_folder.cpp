#include "testing/private_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pagoro::testing {

PrivateFolder::PrivateFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pagoro-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  for (const char* sub : {"data", "state", "tmp", "home", "work"})
    std::filesystem::create_directory(path_ + "/" + sub);
  Point("TMPDIR", tmp());
  Point("XDG_DATA_HOME", data());
  Point("XDG_STATE_HOME", state());
  Point("HOME", path_ + "/home");
}

PrivateFolder::~PrivateFolder() {
  for (const Saved& saved : saved_) {
    if (saved.had_value)
      setenv(saved.name.c_str(), saved.value.c_str(), 1);
    else
      unsetenv(saved.name.c_str());
  }
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void PrivateFolder::Point(const char* name, const std::string& value) {
  const char* old = std::getenv(name);
  saved_.push_back({name, old != nullptr, old != nullptr ? old : ""});
  setenv(name, value.c_str(), 1);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed * 13 + i / 251) & 0xFF);
  if (size > 0) bytes[0] = 'F';
  if (size > 1) bytes[1] = 'W';
  if (size > 2) bytes[2] = 'S';
  return bytes;
}

}  // namespace pagoro::testing
