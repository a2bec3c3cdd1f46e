// Where a book leaves files on disk: the per-user cache folder of each book
// (<data>/pagoro/<book name>/) and the temporary movie files (tem*.tmp).
#pragma once

#include <string>

#include "book/env.h"

namespace pagoro {

// The product folder's name inside the per-user data folder.
inline constexpr const char* kProductFolderName = "pagoro";

// The per-user persistent data folder, without a trailing separator.
std::string AppDataFolder(Env& env);

// The book name of a book executable's file name: every ".exe" removed.
std::string BookNameOf(const std::string& fileName);

// The book folder of `fileName` (a file name without folder), with a trailing
// "/", after creating the product folder and the book folder where missing.
std::string CacheFolderFor(Env& env, const std::string& fileName);

// Deletes every file directly inside `folder` (ending in "/"); subfolders
// are not entered and failures are ignored.
void ClearFolder(Env& env, const std::string& folder);

// A new, empty, unique file "tem....tmp" in the temporary-files folder.
std::string NewTempFileName(Env& env);

}  // namespace pagoro
