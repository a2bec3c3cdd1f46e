// Env over POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "book/env.h"
#include "book/errors.h"
#include "book/texts.h"

namespace pagoro {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// The hold is an exclusive flock on an open descriptor of the file: the
// kernel drops it when the descriptor closes, so also when the process dies.
class PosixFileHold : public FileHold {
 public:
  explicit PosixFileHold(int fd) : fd_(fd) {}

 private:
  FileDescriptor fd_;
};

// Opens the file at `path` for a hold or a check, never through a link and
// never blocking on a FIFO.
int OpenForHold(const std::string& path) {
  return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
}

class PosixMappedFile : public MappedFile {
 public:
  PosixMappedFile(void* base, std::size_t size, int fd) : base_(base), size_(size), fd_(fd) {}
  ~PosixMappedFile() override {
    if (base_ != nullptr) munmap(base_, size_);
  }
  PosixMappedFile(const PosixMappedFile&) = delete;
  PosixMappedFile& operator=(const PosixMappedFile&) = delete;

  const unsigned char* data() const override { return static_cast<const unsigned char*>(base_); }
  std::size_t size() const override { return size_; }

  bool CopyOut(std::size_t offset, std::size_t size, unsigned char* out,
               std::string* error) const override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n =
          pread(fd_.get(), out + done, size - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (error != nullptr)
          *error = n == 0 ? Tr("Reader", "the file is shorter than when it was opened")
                          : SystemErrorText(errno);
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  void* base_;  // null for an empty file, which has nothing to map
  std::size_t size_;
  FileDescriptor fd_;  // kept open for CopyOut
};

bool IsKind(const std::string& path, mode_t kind) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

// The text of an environment variable, "" when it is not set.
std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Creates `path` and every missing folder above it, as the user's own.
void MakeFolders(const std::string& path) {
  for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
    mkdir(path.substr(0, at).c_str(), 0700);
  mkdir(path.c_str(), 0700);
}

// The system's reason a write into `folder` failed; a full file system
// says whether it ran out of room or of files (inodes).
std::string WriteFailure(const std::string& folder, int err) {
  struct statvfs fs {};
  if (err == ENOSPC && statvfs(folder.c_str(), &fs) == 0 && fs.f_files > 0 && fs.f_favail == 0)
    return Tr("Reader", "no free inodes left: the file system can hold no more files");
  return SystemErrorText(err);
}

std::string HomeFolder() {
  std::string home = Variable("HOME");
  if (!home.empty()) return home;
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// Opens the regular file at `path` for reading into `fd`, its status into
// `st`; the system's error number when it can't be opened or is no regular
// file, else 0. Non-blocking and judged by the descriptor, so that a FIFO in
// place of the file cannot hang the open.
int OpenRegularFile(const std::string& path, FileDescriptor& fd, struct stat& st) {
  fd.reset(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0 || fstat(fd.get(), &st) != 0) return errno;
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
  return 0;
}

// A folder opened by descriptor, with the path it was opened by (for
// messages only).
class PosixOpenFolder : public OpenFolder {
 public:
  PosixOpenFolder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }
  const std::string& shown_path() const override { return path_; }

 private:
  FileDescriptor fd_;
  std::string path_;
};

int Fd(OpenFolder& folder) { return static_cast<PosixOpenFolder&>(folder).fd(); }

// Creates or replaces `name` in the folder `dirfd` (AT_FDCWD: `name` is a
// path) with `size` bytes, never through a link. `shown` is the file's
// path and `folder` its folder's, for the messages.
void WriteAt(int dirfd, const std::string& name, const std::string& shown,
             const std::string& folder, const unsigned char* bytes, std::size_t size) {
  FileDescriptor fd(openat(dirfd, name.c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                           0666));
  if (fd.get() < 0) {
    const int err = errno;
    throw EFCreateError(shown, WriteFailure(folder, err));
  }
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = write(fd.get(), bytes + written, size - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : ENOSPC;
      // Half a file is of no use and would keep the disk full: the regular
      // file this call opened goes (never a device such as /dev/full, nor
      // what a swapped name now points to).
      struct stat opened {};
      struct stat named {};
      if (fstat(fd.get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
          fstatat(dirfd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
          named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
        unlinkat(dirfd, name.c_str(), 0);
      }
      throw EWriteError(folder, WriteFailure(folder, err));
    }
    written += static_cast<std::size_t>(n);
  }
}

// The reason a write into the folder `dirfd` failed, as WriteFailure.
std::string WriteFailureAt(int dirfd, int err) {
  struct statvfs fs {};
  if (err == ENOSPC && fstatvfs(dirfd, &fs) == 0 && fs.f_files > 0 && fs.f_favail == 0)
    return "no free inodes left: the file system can hold no more files";
  return SystemErrorText(err);
}

// Writes all of `bytes` to `fd`; 0, or the system's error number.
int WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      return n == 0 ? ENOSPC : errno;
    }
  }
  return 0;
}

// fsync that a signal does not cut short; 0, or the system's error number.
int Sync(int fd) {
  while (fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

// A name for a new file beside `name` in `dirfd`, created (O_EXCL, never
// through a link) with `mode` into `fd`; 0, or the system's error number.
int CreateTempBeside(int dirfd, const std::string& name, mode_t mode, std::string* temp,
                     FileDescriptor& fd) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = "." + name.substr(0, 64) + ".new-" + std::to_string(getpid()) + "-" +
            std::to_string(++counter);
    fd.reset(
        openat(dirfd, temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
    if (fd.get() >= 0) return 0;
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

EntryKind KindAt(int dirfd, const char* name) {
  struct stat st {};
  if (fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::kMissing;
  if (S_ISREG(st.st_mode)) return EntryKind::kFile;
  if (S_ISDIR(st.st_mode)) return EntryKind::kFolder;
  if (S_ISLNK(st.st_mode)) return EntryKind::kLink;
  return EntryKind::kOther;
}

// Takes the lock of LockPath or LockOpenFolder on `fd` (a regular file,
// or with `folder` a folder), which it owns; -1 when the opening failed.
Env::LockOutcome Lock(int fd, bool folder, std::unique_ptr<FileHold>* hold, std::string* error) {
  int err = fd < 0 ? errno : 0;
  auto held = std::make_unique<PosixFileHold>(fd);
  struct stat st {};
  if (err == 0 && fstat(fd, &st) != 0) err = errno;
  if (err == 0 && !folder && !S_ISREG(st.st_mode)) err = ENODEV;
  if (err == 0 && st.st_uid != geteuid()) err = EPERM;  // another user's could be taken from us
  if (err == 0) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      *hold = std::move(held);
      return Env::LockOutcome::kTaken;
    }
    if (errno == EWOULDBLOCK) return Env::LockOutcome::kHeldElsewhere;
    err = errno;
  }
  if (error != nullptr) *error = SystemErrorText(err);
  return Env::LockOutcome::kFailed;
}

class PosixEnv : public Env {
 public:
  std::unique_ptr<MappedFile> MapReadOnly(const std::string& path, std::string* error) override {
    FileDescriptor fd(-1);
    struct stat st {};
    int err = OpenRegularFile(path, fd, st);
    if (err == 0 && st.st_size == 0)
      return std::make_unique<PosixMappedFile>(nullptr, 0, fd.release());
    if (err == 0) {
      const auto size = static_cast<std::size_t>(st.st_size);
      void* base = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
      if (base != MAP_FAILED) return std::make_unique<PosixMappedFile>(base, size, fd.release());
      err = errno;
    }
    if (error != nullptr) *error = SystemErrorText(err);
    return nullptr;
  }

  bool FileExists(const std::string& path) override { return IsKind(path, S_IFREG); }
  bool FolderExists(const std::string& path) override { return IsKind(path, S_IFDIR); }
  bool IsSymbolicLink(const std::string& path) override {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  }
  bool CreateFolder(const std::string& path, std::string* error = nullptr) override {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    if (error != nullptr) *error = SystemErrorText(errno);
    return false;
  }

  void CreateFolders(const std::string& path) override { MakeFolders(path); }

  bool ReadFile(const std::string& path, std::string* bytes, std::string* error) override {
    FileDescriptor fd(-1);
    struct stat st {};
    int err = OpenRegularFile(path, fd, st);
    bytes->clear();
    char buffer[1 << 16];
    while (err == 0) {
      const ssize_t n = read(fd.get(), buffer, sizeof buffer);
      if (n == 0) return true;
      if (n > 0) {
        bytes->append(buffer, static_cast<std::size_t>(n));
      } else if (errno != EINTR) {
        err = errno;
      }
    }
    if (error != nullptr) *error = SystemErrorText(err);
    return false;
  }

  bool ReplaceFile(const std::string& path, const std::string& bytes, bool executable,
                   std::string* error) override {
    std::string temp = path + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
      if (error != nullptr) *error = SystemErrorText(errno);
      return false;
    }
    int err = WriteAll(fd, bytes);
    if (err == 0 && executable && fchmod(fd, 0755) != 0) err = errno;
    if (err == 0) err = Sync(fd);
    if (close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err == 0) {
      // The rename itself lasts once the folder is on the disk.
      const std::size_t slash = path.rfind('/');
      const std::string folder = slash == std::string::npos ? "."
                                 : slash == 0               ? "/"
                                                            : path.substr(0, slash);
      const FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (dir.get() >= 0) Sync(dir.get());
      return true;
    }
    unlink(temp.c_str());
    if (error != nullptr) *error = SystemErrorText(err);
    return false;
  }

  bool SameFile(const std::string& a, const std::string& b) override {
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
  }
  bool DeleteFile(const std::string& path) override { return unlink(path.c_str()) == 0; }
  bool RemoveFolder(const std::string& path) override { return rmdir(path.c_str()) == 0; }

  std::vector<std::string> ListFolder(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    closedir(dir);
    return names;
  }

  void WriteFile(const std::string& path, const unsigned char* bytes, std::size_t size) override {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    WriteAt(AT_FDCWD, path, path, folder, bytes, size);
  }

  std::unique_ptr<OpenFolder> OpenFolderNoFollow(const std::string& path,
                                                 std::string* error) override {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
      if (error != nullptr) *error = SystemErrorText(errno);
      return nullptr;
    }
    return std::make_unique<PosixOpenFolder>(fd, path);
  }

  std::vector<std::string> ListFolderIn(OpenFolder& folder) override {
    std::vector<std::string> names;
    // fdopendir takes the descriptor it is given: a copy of the folder's.
    const int fd = dup(Fd(folder));
    DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
    if (dir == nullptr) {
      if (fd >= 0) close(fd);
      return names;
    }
    rewinddir(dir);
    while (const dirent* entry = readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    closedir(dir);
    return names;
  }

  bool DeleteFileIn(OpenFolder& folder, const std::string& name) override {
    return unlinkat(Fd(folder), name.c_str(), 0) == 0;
  }

  bool EntryExistsIn(OpenFolder& folder, const std::string& name) override {
    struct stat st {};
    return fstatat(Fd(folder), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode);
  }

  void WriteFileIn(OpenFolder& folder, const std::string& name, const unsigned char* bytes,
                   std::size_t size) override {
    const auto& open_folder = static_cast<PosixOpenFolder&>(folder);
    WriteAt(open_folder.fd(), name, open_folder.path() + "/" + name, open_folder.path(), bytes,
            size);
  }

  std::unique_ptr<OpenFolder> OpenOwnFolder(const std::string& path, std::string* error) override {
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    std::string why;
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0)
      why = SystemErrorText(errno);
    else if (st.st_uid != geteuid())
      why = Tr("Reader", "The folder belongs to another user");
    else if ((st.st_mode & S_IWOTH) != 0)
      why = Tr("Reader", "Other users may write into the folder");
    if (why.empty()) return std::make_unique<PosixOpenFolder>(fd.release(), path);
    if (error != nullptr) *error = why;
    return nullptr;
  }

  std::unique_ptr<OpenFolder> OpenFolderIn(OpenFolder& folder, const std::string& name, bool create,
                                           std::string* error) override {
    const auto& parent = static_cast<PosixOpenFolder&>(folder);
    int err = 0;
    if (create && mkdirat(parent.fd(), name.c_str(), 0777) != 0 && errno != EEXIST) err = errno;
    const int fd = err != 0 ? -1
                            : openat(parent.fd(), name.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) return std::make_unique<PosixOpenFolder>(fd, parent.path() + "/" + name);
    if (err == 0) err = errno;
    if (error != nullptr) *error = SystemErrorText(err);
    return nullptr;
  }

  bool RemoveFolderIn(OpenFolder& folder, const std::string& name) override {
    return unlinkat(Fd(folder), name.c_str(), AT_REMOVEDIR) == 0;
  }

  EntryKind KindOfEntryIn(OpenFolder& folder, const std::string& name) override {
    return KindAt(Fd(folder), name.c_str());
  }

  bool ReadFileIn(OpenFolder& folder, const std::string& name, std::size_t limit,
                  std::string* bytes, std::string* error) override {
    bytes->clear();
    const FileDescriptor fd(
        openat(Fd(folder), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat st {};
    int err = fd.get() < 0 || fstat(fd.get(), &st) != 0 ? errno : 0;
    if (err == ELOOP) err = EMLINK;  // "Too many links" reads oddly: say what it is
    if (err == 0 && !S_ISREG(st.st_mode)) err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
    if (err == 0 && static_cast<std::uint64_t>(st.st_size) > limit) err = EFBIG;
    char buffer[1 << 16];
    while (err == 0) {
      // One byte past the limit tells a file that grew since it was judged.
      const std::size_t left = limit - bytes->size();
      const ssize_t n = read(fd.get(), buffer, left < sizeof buffer ? left + 1 : sizeof buffer);
      if (n == 0) return true;
      if (n > 0) {
        bytes->append(buffer, static_cast<std::size_t>(n));
        if (bytes->size() > limit) err = EFBIG;
      } else if (errno != EINTR) {
        err = errno;
      }
    }
    bytes->clear();
    if (error != nullptr) {
      *error = err == EMLINK ? "a symbolic link is in its place"
               : err == ENODEV
                   ? "it is not a regular file"
                   : (err == EFBIG ? "it is larger than " + std::to_string(limit) + " bytes"
                                   : SystemErrorText(err));
    }
    return false;
  }

  bool ReplaceFileIn(OpenFolder& folder, const std::string& name, std::string_view bytes,
                     std::string* error) override {
    const int dirfd = Fd(folder);
    const EntryKind kind = KindAt(dirfd, name.c_str());
    if (kind != EntryKind::kMissing && kind != EntryKind::kFile) {
      if (error != nullptr)
        *error = kind == EntryKind::kLink ? "a symbolic link is in its place"
                 : kind == EntryKind::kFolder
                     ? "a folder is in its place"
                     : "something other than a regular file is in its place";
      return false;
    }
    std::string temp;
    FileDescriptor fd(-1);
    int err = CreateTempBeside(dirfd, name, 0600, &temp, fd);
    const bool made = err == 0;
    if (err == 0) err = WriteAll(fd.get(), bytes);
    if (err == 0) err = Sync(fd.get());
    if (made && close(fd.release()) != 0 && err == 0) err = errno;
    // Only a regular file (or nothing) is replaced: checked again just
    // before, as something else may have been put there meanwhile.
    if (err == 0) {
      const EntryKind now = KindAt(dirfd, name.c_str());
      if (now != EntryKind::kMissing && now != EntryKind::kFile) err = EEXIST;
    }
    if (err == 0 && renameat(dirfd, temp.c_str(), dirfd, name.c_str()) != 0) err = errno;
    if (err == 0) err = Sync(dirfd);
    if (err == 0) return true;
    if (made) unlinkat(dirfd, temp.c_str(), 0);
    if (error != nullptr)
      *error = err == EEXIST ? "something other than a regular file was put in its place"
                             : WriteFailureAt(dirfd, err);
    return false;
  }

  bool MoveEntryIn(OpenFolder& from_folder, const std::string& from, OpenFolder& to_folder,
                   const std::string& to, std::string* error) override {
    int err = 0;
    if (KindAt(Fd(from_folder), from.c_str()) == EntryKind::kLink) err = EMLINK;
    // RENAME_NOREPLACE: whatever appears at `to` meanwhile is never replaced.
    if (err == 0 &&
        renameat2(Fd(from_folder), from.c_str(), Fd(to_folder), to.c_str(), RENAME_NOREPLACE) != 0)
      err = errno;
    if (err == 0) {
      Sync(Fd(to_folder));
      return true;
    }
    if (error != nullptr)
      *error = err == EMLINK ? "a symbolic link is in its place" : SystemErrorText(err);
    return false;
  }

  bool RenameFile(const std::string& from, const std::string& to) override {
    return rename(from.c_str(), to.c_str()) == 0;
  }

  std::unique_ptr<FileHold> HoldFile(const std::string& path) override {
    const int fd = OpenForHold(path);
    if (fd < 0) return nullptr;
    auto hold = std::make_unique<PosixFileHold>(fd);
    // Only another holder could make this fail, and none has the file yet.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return nullptr;
    return hold;
  }

  bool DeleteAbandonedFile(const std::string& path) override {
    const FileDescriptor fd(OpenForHold(path));
    struct stat st {};
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != geteuid() || st.st_size == 0) {
      return false;
    }
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;  // its owner lives
    // Delete the name only while it still names the file that was checked.
    struct stat now {};
    if (lstat(path.c_str(), &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino)
      return false;
    return unlink(path.c_str()) == 0;
  }

  bool MakePrivateFolder(const std::string& path) override {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
  }

  LockOutcome LockPath(const std::string& path, std::unique_ptr<FileHold>* hold,
                       std::string* error) override {
    return Lock(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600),
                false, hold, error);
  }

  LockOutcome LockOpenFolder(OpenFolder& folder, std::unique_ptr<FileHold>* hold,
                             std::string* error) override {
    // A description of its own, so the lock lives with the hold alone.
    return Lock(openat(Fd(folder), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC), true, hold, error);
  }

  std::optional<std::uint64_t> FreeSpace(const std::string& folder) override {
    struct statvfs fs {};
    if (statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
    return std::uint64_t{fs.f_bavail} * fs.f_frsize;
  }

  std::string ProgramPath() override {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(n));
    return path;
  }

  std::string RuntimeFolder() override {
    const std::string folder = Variable("XDG_RUNTIME_DIR");
    return folder.empty() || folder.front() != '/' ? "" : WithoutTrailingSeparators(folder);
  }

  std::string UserId() override { return std::to_string(geteuid()); }

  std::string TempFolder() override {
    const std::string folder = Variable("TMPDIR");
    return folder.empty() ? "/tmp" : WithoutTrailingSeparators(folder);
  }

  std::string UserDataFolder() override {
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    std::string folder = Variable("XDG_DATA_HOME");
    if (folder.empty() || folder.front() != '/') folder = HomeFolder() + "/.local/share";
    folder = WithoutTrailingSeparators(folder);
    if (!FolderExists(folder)) MakeFolders(folder);
    return folder;
  }

  std::string UserStateFolder() override {
    // A relative XDG_STATE_HOME is invalid and ignored, as the XDG rules say.
    const std::string folder = Variable("XDG_STATE_HOME");
    if (!folder.empty() && folder.front() == '/') return WithoutTrailingSeparators(folder);
    const std::string home = HomeFolder();
    if (home.empty() || home.front() != '/') return "";
    return WithoutTrailingSeparators(home) + "/.local/state";
  }

  std::string CreateUniqueFile(const std::string& folder, std::string_view prefix,
                               std::string_view suffix) override {
    std::string path = folder + "/" + std::string(prefix) + "XXXXXX" + std::string(suffix);
    // mkostemps opens with O_EXCL: an existing file is never taken.
    const int fd = mkostemps(path.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0) throw EFCreateError(path, SystemErrorText(errno));
    close(fd);
    return path;
  }
};

}  // namespace

std::string SystemErrorText(int errnum) {
  char buffer[256];
  // The GNU strerror_r returns the text, which need not be in `buffer`.
  return strerror_r(errnum, buffer, sizeof buffer);
}

Env& Env::Default() {
  static PosixEnv env;
  return env;
}

}  // namespace pagoro
