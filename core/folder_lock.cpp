#include "core/folder_lock.h"

#include <cstdint>
#include <cstdio>

#include "book/errors.h"
#include "book/texts.h"
#include "core/cache_folder.h"

namespace pagoro {
namespace {

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

std::string WithoutTrailingSlash(std::string path) {
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string FolderLock::LockFolder(Env& env) {
  // A link, another owner or open permissions make a folder unusable:
  // anyone who can write there could hold or break the locks.
  const std::string runtime = env.RuntimeFolder();
  const std::string folder =
      !runtime.empty() ? runtime + "/pagoro" : env.TempFolder() + "/pagoro-" + env.UserId();
  return env.MakePrivateFolder(folder) ? folder : "";
}

void FolderLock::Settle(Env::LockOutcome outcome, const std::string& path, const std::string& why) {
  switch (outcome) {
    case Env::LockOutcome::kTaken: state_ = State::kTaken; break;
    case Env::LockOutcome::kHeldElsewhere: state_ = State::kHeldElsewhere; break;
    case Env::LockOutcome::kFailed:
      state_ = State::kUnavailable;
      error_ = "\"" + path + "\": " + why;
      return;
  }
  path_ = path;
}

FolderLock::FolderLock(Env& env, const std::string& folder) : env_(env) {
  const std::string locks = LockFolder(env);
  if (!locks.empty()) {
    const std::string file = locks + "/" + NameOf(folder);
    std::string why;
    Settle(env.LockPath(file, &hold_, &why), file, why);
    if (state_ != State::kUnavailable) return;
  } else {
    error_ = Tr("Reader", "no private folder for the readers' locks");
  }
  // The fallback: the book folder itself, made and opened through the
  // product folder opened once (the user's own, closed to others, never
  // through a link), so that a link swapped in for either between the
  // steps makes no folder elsewhere and locks none.
  const std::string reason = error_;
  const std::string book = WithoutTrailingSlash(folder);
  std::unique_ptr<OpenFolder> opened;
  try {
    opened = ProductFolder(env).OpenBookFolder(folder);
  } catch (const Exception& e) {
    state_ = State::kUnavailable;
    error_ = e.what();
    return;
  }
  std::string why;
  Settle(env.LockOpenFolder(*opened, &hold_, &why), book, why);
  in_book_folder_ = state_ != State::kUnavailable;
  if (in_book_folder_) error_ = reason;
}

FolderLock::~FolderLock() = default;

void FolderLock::NameBook(const std::string& bookPath) {
  if (state_ != State::kTaken || in_book_folder_) return;
  env_.ReplaceFile(path_ + ".book", bookPath, false, nullptr);
}

std::string FolderLock::HolderBook(Env& env, const std::string& folder) {
  const std::string locks = LockFolder(env);
  std::string book;
  if (locks.empty() || !env.ReadFile(locks + "/" + NameOf(folder) + ".book", &book, nullptr))
    return {};
  return book;
}

}  // namespace pagoro
