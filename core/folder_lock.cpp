#include "core/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace pagoro {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A folder of this user that nobody else can enter, made when missing. A
// link, another owner or open permissions make it unusable: anyone who can
// write there could hold or break the locks.
bool PrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// FNV-1a, 64 bits: the same name for the same folder in every reader build.
std::string NameOf(const std::string& folder) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : folder) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  char name[32];
  std::snprintf(name, sizeof name, "book-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace

std::string FolderLock::LockFolder() {
  const std::string runtime = Variable("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime.front() == '/') {
    const std::string folder = runtime + "/pagoro";
    return PrivateFolder(folder) ? folder : "";
  }
  std::string temp = Variable("TMPDIR");
  if (temp.empty() || temp.front() != '/') temp = "/tmp";
  const std::string folder = temp + "/pagoro-" + std::to_string(::geteuid());
  return PrivateFolder(folder) ? folder : "";
}

FolderLock::FolderLock(const std::string& folder) {
  const std::string locks = LockFolder();
  if (locks.empty()) return;
  const std::string file = locks + "/" + NameOf(folder);
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) return;
  path_ = file;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
    state_ = State::kTaken;
    return;
  }
  state_ = errno == EWOULDBLOCK ? State::kHeldElsewhere : State::kUnavailable;
  ::close(fd_);
  fd_ = -1;
  if (state_ == State::kUnavailable) path_.clear();
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace pagoro
