// The narrow interface through which pagoro touches the operating system:
// mapping a file, plain file and folder operations, the temporary-files and
// per-user data folders. Env::Default() is the POSIX implementation; a Windows
// one would implement the same calls with the Win32 API.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagoro {

// A read-only view of a whole file. The bytes stay valid while it lives.
class MappedFile {
 public:
  virtual ~MappedFile() = default;
  virtual const unsigned char* data() const = 0;
  virtual std::size_t size() const = 0;
  // Copies `size` bytes from `offset` (a range inside size()) into `out`
  // by reading the file rather than touching its mapped pages, so that a
  // file that shrank or whose medium went away since it was mapped is a
  // failure, not a fault: false then, with the reason in `error` (if given).
  virtual bool CopyOut(std::size_t offset, std::size_t size, unsigned char* out,
                       std::string* error) const = 0;
};

// A file this process holds: other processes can tell (Env::DeleteAbandonedFile)
// that its owner is alive. The hold ends when the object goes, or with the
// process however it ends (a kill included).
class FileHold {
 public:
  virtual ~FileHold() = default;
};

// A folder opened once, by descriptor: the Env's ...In calls work on the
// folder itself, so swapping its path for a link between steps reaches
// nothing else. Closed when the object goes.
class OpenFolder {
 public:
  virtual ~OpenFolder() = default;
  // The path it was opened by, for messages only: what it names now may
  // be another folder.
  virtual const std::string& shown_path() const = 0;
};

// What a name in an opened folder is, the name itself judged (a link is a
// link, whatever it points to).
enum class EntryKind { kMissing, kFile, kFolder, kLink, kOther };

class Env {
 public:
  virtual ~Env() = default;

  // The process-wide POSIX environment. Never deleted.
  static Env& Default();

  // Maps the regular file at `path` read-only, whole. Returns null when the
  // file cannot be opened or mapped; `error` (if given) then receives the
  // system's reason. An empty file maps to a view of size 0.
  virtual std::unique_ptr<MappedFile> MapReadOnly(const std::string& path, std::string* error) = 0;

  // True when a regular file (not a folder) exists at `path`.
  virtual bool FileExists(const std::string& path) = 0;
  // True when a folder exists at `path`.
  virtual bool FolderExists(const std::string& path) = 0;
  // True when `path` itself is a symbolic link, whatever it points to (the
  // link is not followed, unlike FileExists and FolderExists).
  virtual bool IsSymbolicLink(const std::string& path) = 0;
  // Creates one folder level. False on failure (it exists, or its parent is
  // missing), with the system's reason in `error` (if given).
  virtual bool CreateFolder(const std::string& path, std::string* error = nullptr) = 0;
  // Creates `path` and every folder above it that is missing, for this
  // user alone (0700); what exists is left as it is. Whether it worked shows
  // when the folder is opened.
  virtual void CreateFolders(const std::string& path) = 0;
  // Deletes one file (not a folder). False on failure.
  virtual bool DeleteFile(const std::string& path) = 0;
  // Removes an empty folder. False on failure (not empty, missing).
  virtual bool RemoveFolder(const std::string& path) = 0;
  // Names of the entries directly inside `folder` ("." and ".." excluded),
  // files and folders alike, in no particular order. Empty when it can't be read.
  virtual std::vector<std::string> ListFolder(const std::string& folder) = 0;

  // Creates or replaces the file at `path` with `size` bytes, written in one
  // piece. A symbolic link at `path` is not written through. Throws EFCreateError when the file
  // can't be created and EWriteError when fewer bytes were written.
  virtual void WriteFile(const std::string& path, const unsigned char* bytes, std::size_t size) = 0;

  // Reads the whole regular file at `path` into `bytes`. The file is opened
  // without waiting (a FIFO or a device in its place is refused, never
  // waited on) and judged by what was opened. False with the reason in
  // `error` (if given).
  virtual bool ReadFile(const std::string& path, std::string* bytes, std::string* error) = 0;
  // Puts `bytes` at `path` whole or not at all: written into a new file
  // beside it, then renamed over it; `executable` makes it a program. False
  // with the reason in `error` (if given), and nothing left behind.
  virtual bool ReplaceFile(const std::string& path, const std::string& bytes, bool executable,
                           std::string* error) = 0;
  // True when both paths name the same existing file.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;

  // Opens the folder at `path`, not following a link at its last step;
  // null (the reason in `error`, if given) when it can't be opened.
  virtual std::unique_ptr<OpenFolder> OpenFolderNoFollow(const std::string& path,
                                                         std::string* error) = 0;
  // ListFolder, DeleteFile and WriteFile on a name in an opened folder; a
  // link is neither followed nor written through. EntryExistsIn: something
  // other than a folder (a link too) has that name.
  virtual std::vector<std::string> ListFolderIn(OpenFolder& folder) = 0;
  virtual bool DeleteFileIn(OpenFolder& folder, const std::string& name) = 0;
  virtual bool EntryExistsIn(OpenFolder& folder, const std::string& name) = 0;
  virtual void WriteFileIn(OpenFolder& folder, const std::string& name, const unsigned char* bytes,
                           std::size_t size) = 0;

  // Opens the folder at `path` as a folder of this user's own files: not
  // through a link at its last step, owned by this user and closed to
  // writing by others. Null, with the reason in `error` (if given), when it
  // can't be opened or is not such a folder.
  virtual std::unique_ptr<OpenFolder> OpenOwnFolder(const std::string& path,
                                                    std::string* error) = 0;
  // Opens the folder `name` inside an opened folder, first creating it
  // (for this user) when `create` and it is missing; never through a link.
  // Null, with the reason in `error` (if given), when it can't be.
  virtual std::unique_ptr<OpenFolder> OpenFolderIn(OpenFolder& folder, const std::string& name,
                                                   bool create, std::string* error) = 0;
  // RemoveFolder on a name in an opened folder; a link is not removed.
  virtual bool RemoveFolderIn(OpenFolder& folder, const std::string& name) = 0;
  // What `name` in the opened folder is; kMissing also when it can't be told.
  virtual EntryKind KindOfEntryIn(OpenFolder& folder, const std::string& name) = 0;

  // Reads the regular file `name` of an opened folder, at most `limit`
  // bytes: opened without waiting and never through a link (a FIFO, a
  // device, a folder or a link in its place is refused), judged by what
  // was opened, and refused when it holds more than `limit` bytes. False
  // with the reason in `error` (if given).
  virtual bool ReadFileIn(OpenFolder& folder, const std::string& name, std::size_t limit,
                          std::string* bytes, std::string* error) = 0;
  // Keeps `bytes` as the file `name` of an opened folder, whole or not at
  // all: written into a new file beside it (readable by this user only),
  // flushed to the disk, renamed over the old one, and the folder flushed.
  // Anything but a regular file in its place (a link, a folder, a FIFO) is
  // refused and left alone. On any failure (no room, no inodes, a quota,
  // an I/O error) the old file stays as it was, byte for byte, nothing is
  // left behind, and `error` (if given) gets the reason.
  virtual bool ReplaceFileIn(OpenFolder& folder, const std::string& name, std::string_view bytes,
                             std::string* error) = 0;
  // Renames `from` in one opened folder to `to` in another (or the same),
  // never through a link at either end: `to` must not exist yet. False with
  // the reason in `error` (if given).
  virtual bool MoveEntryIn(OpenFolder& from_folder, const std::string& from, OpenFolder& to_folder,
                           const std::string& to, std::string* error) = 0;

  // Moves a file within one file system (the command-line tool moves the
  // extracted movie). False on failure.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;

  // Holds the regular file at `path` (not followed if it is a link); null when
  // it can't be opened.
  virtual std::unique_ptr<FileHold> HoldFile(const std::string& path) = 0;
  // Deletes the file at `path` if it was left by a process that has ended: a
  // regular file (not a link) of this user, not empty, that no process holds.
  // (An empty one may have been made a moment ago by a process that is about
  // to hold it; files are held before anything is written into them.) True
  // when it was deleted.
  virtual bool DeleteAbandonedFile(const std::string& path) = 0;

  // Makes `path` a folder only this user can enter, created (0700) when
  // missing. True when it is one: a folder, not a link, of this user, closed
  // to the group and to others.
  virtual bool MakePrivateFolder(const std::string& path) = 0;

  enum class LockOutcome { kTaken, kHeldElsewhere, kFailed };
  // Takes, without waiting, an exclusive lock on the file at `path`
  // (created, readable by this user only, when missing), this user's own;
  // never through a link, never on anything else. While taken, `hold`
  // holds it (the lock ends with the hold or with the process); kFailed
  // leaves the system's reason in `error` (if given).
  virtual LockOutcome LockPath(const std::string& path, std::unique_ptr<FileHold>* hold,
                               std::string* error) = 0;
  // The same on an opened folder, this user's own: the lock is on the
  // folder that was opened, whatever its path names by now.
  virtual LockOutcome LockOpenFolder(OpenFolder& folder, std::unique_ptr<FileHold>* hold,
                                     std::string* error) = 0;

  // The bytes an unprivileged user may still write in the file system of
  // `folder`; nullopt when the system can't tell.
  virtual std::optional<std::uint64_t> FreeSpace(const std::string& folder) = 0;

  // The full path of the running program's own file, byte for byte as the
  // file system has it (a name need not be valid text in any encoding).
  virtual std::string ProgramPath() = 0;

  // The per-user runtime folder ($XDG_RUNTIME_DIR when it is an absolute
  // path), with no trailing separator; "" when there is none.
  virtual std::string RuntimeFolder() = 0;
  // This user's number, as text.
  virtual std::string UserId() = 0;
  // The system's temporary-files folder ($TMPDIR, else /tmp), with no trailing separator.
  virtual std::string TempFolder() = 0;
  // The per-user persistent data folder ($XDG_DATA_HOME, else ~/.local/share),
  // created when missing, with no trailing separator.
  virtual std::string UserDataFolder() = 0;
  // The per-user state folder ($XDG_STATE_HOME, else ~/.local/state), where
  // what the reader keeps between runs lies (the shelf, shared objects);
  // not created; with no trailing separator; "" when no home is known.
  virtual std::string UserStateFolder() = 0;
  // Creates a new empty file named prefix + unique part + suffix in `folder`,
  // never one that exists already, and returns its full path. Throws
  // EFCreateError when no such file can be made.
  virtual std::string CreateUniqueFile(const std::string& folder, std::string_view prefix,
                                       std::string_view suffix) = 0;
};

}  // namespace pagoro
