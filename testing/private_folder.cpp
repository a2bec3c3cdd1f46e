#include "testing/private_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pagoro::testing {

namespace {

bool Save(const char* name, std::string* value) {
  const char* v = std::getenv(name);
  if (v != nullptr) *value = v;
  return v != nullptr;
}

void Restore(const char* name, bool had, const std::string& value) {
  if (had)
    setenv(name, value.c_str(), 1);
  else
    unsetenv(name);
}

}  // namespace

PrivateFolder::PrivateFolder()
    : had_tmpdir_(Save("TMPDIR", &old_tmpdir_)), had_data_home_(Save("XDG_DATA_HOME", &old_data_home_)) {
  std::string pattern = (std::filesystem::temp_directory_path() / "pagoro-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::create_directory(tmp());
  std::filesystem::create_directory(data());
  setenv("TMPDIR", tmp().c_str(), 1);
  setenv("XDG_DATA_HOME", data().c_str(), 1);
}

PrivateFolder::~PrivateFolder() {
  Restore("TMPDIR", had_tmpdir_, old_tmpdir_);
  Restore("XDG_DATA_HOME", had_data_home_, old_data_home_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
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

}  // namespace pagoro::testing
