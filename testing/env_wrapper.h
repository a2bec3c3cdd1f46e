// An Env that passes every call to another one. A test derives from it and
// overrides only the call it wants to fail or change, so that everything
// else still touches real files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/env.h"

namespace pagoro::testing {

class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target = Env::Default()) : target_(target) {}

  Env& target() const { return target_; }

  std::unique_ptr<MappedFile> MapReadOnly(const std::string& path, std::string* error) override {
    return target_.MapReadOnly(path, error);
  }
  bool FileExists(const std::string& path) override { return target_.FileExists(path); }
  bool FolderExists(const std::string& path) override { return target_.FolderExists(path); }
  bool IsSymbolicLink(const std::string& path) override { return target_.IsSymbolicLink(path); }
  bool CreateFolder(const std::string& path, std::string* error = nullptr) override {
    return target_.CreateFolder(path, error);
  }
  void CreateFolders(const std::string& path) override { target_.CreateFolders(path); }
  bool ReadFile(const std::string& path, std::string* bytes, std::string* error) override {
    return target_.ReadFile(path, bytes, error);
  }
  bool ReplaceFile(const std::string& path, const std::string& bytes, bool executable,
                   std::string* error) override {
    return target_.ReplaceFile(path, bytes, executable, error);
  }
  bool SameFile(const std::string& a, const std::string& b) override {
    return target_.SameFile(a, b);
  }
  bool DeleteFile(const std::string& path) override { return target_.DeleteFile(path); }
  bool RemoveFolder(const std::string& path) override { return target_.RemoveFolder(path); }
  std::vector<std::string> ListFolder(const std::string& folder) override {
    return target_.ListFolder(folder);
  }
  void WriteFile(const std::string& path, const unsigned char* bytes, std::size_t size) override {
    target_.WriteFile(path, bytes, size);
  }
  std::unique_ptr<OpenFolder> OpenFolderNoFollow(const std::string& path,
                                                 std::string* error) override {
    return target_.OpenFolderNoFollow(path, error);
  }
  std::vector<std::string> ListFolderIn(OpenFolder& folder) override {
    return target_.ListFolderIn(folder);
  }
  bool DeleteFileIn(OpenFolder& folder, const std::string& name) override {
    return target_.DeleteFileIn(folder, name);
  }
  bool EntryExistsIn(OpenFolder& folder, const std::string& name) override {
    return target_.EntryExistsIn(folder, name);
  }
  void WriteFileIn(OpenFolder& folder, const std::string& name, const unsigned char* bytes,
                   std::size_t size) override {
    target_.WriteFileIn(folder, name, bytes, size);
  }
  std::unique_ptr<OpenFolder> OpenOwnFolder(const std::string& path, std::string* error) override {
    return target_.OpenOwnFolder(path, error);
  }
  std::unique_ptr<OpenFolder> OpenFolderIn(OpenFolder& folder, const std::string& name, bool create,
                                           std::string* error) override {
    return target_.OpenFolderIn(folder, name, create, error);
  }
  bool RemoveFolderIn(OpenFolder& folder, const std::string& name) override {
    return target_.RemoveFolderIn(folder, name);
  }
  EntryKind KindOfEntryIn(OpenFolder& folder, const std::string& name) override {
    return target_.KindOfEntryIn(folder, name);
  }
  bool ReadFileIn(OpenFolder& folder, const std::string& name, std::size_t limit,
                  std::string* bytes, std::string* error) override {
    return target_.ReadFileIn(folder, name, limit, bytes, error);
  }
  bool ReplaceFileIn(OpenFolder& folder, const std::string& name, std::string_view bytes,
                     std::string* error) override {
    return target_.ReplaceFileIn(folder, name, bytes, error);
  }
  bool MoveEntryIn(OpenFolder& from_folder, const std::string& from, OpenFolder& to_folder,
                   const std::string& to, std::string* error) override {
    return target_.MoveEntryIn(from_folder, from, to_folder, to, error);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return target_.RenameFile(from, to);
  }
  std::unique_ptr<FileHold> HoldFile(const std::string& path) override {
    return target_.HoldFile(path);
  }
  bool DeleteAbandonedFile(const std::string& path) override {
    return target_.DeleteAbandonedFile(path);
  }
  bool MakePrivateFolder(const std::string& path) override {
    return target_.MakePrivateFolder(path);
  }
  LockOutcome LockPath(const std::string& path, std::unique_ptr<FileHold>* hold,
                       std::string* error) override {
    return target_.LockPath(path, hold, error);
  }
  LockOutcome LockOpenFolder(OpenFolder& folder, std::unique_ptr<FileHold>* hold,
                             std::string* error) override {
    return target_.LockOpenFolder(folder, hold, error);
  }
  std::string RuntimeFolder() override { return target_.RuntimeFolder(); }
  std::string UserId() override { return target_.UserId(); }
  std::optional<std::uint64_t> FreeSpace(const std::string& folder) override {
    return target_.FreeSpace(folder);
  }
  std::string ProgramPath() override { return target_.ProgramPath(); }
  std::string TempFolder() override { return target_.TempFolder(); }
  std::string UserDataFolder() override { return target_.UserDataFolder(); }
  std::string UserStateFolder() override { return target_.UserStateFolder(); }
  std::string CreateUniqueFile(const std::string& folder, std::string_view prefix,
                               std::string_view suffix) override {
    return target_.CreateUniqueFile(folder, prefix, suffix);
  }

 private:
  Env& target_;
};

}  // namespace pagoro::testing
