// The application title the reader shows: its own file name without folder,
// with every occurrence of the file's extension removed.
#pragma once

#include <string>

namespace pagoro {

// The title before the own file is known.
inline constexpr const char* kInitialTitle = "pagoro我的杂志";

// `text` with every non-overlapping occurrence of `what` removed, scanning
// from the left; `what` empty removes nothing.
std::string RemoveEvery(const std::string& text, const std::string& what);

// The title for the program file at `fullPath`: Spring.exe gives Spring,
// Copy of Spring.exe gives Copy of Spring, a.x.y gives a.x, a file name
// without extension stays whole. The title is UTF-8: a file name in code
// page 936 bytes is converted.
std::string TitleFromPath(const std::string& fullPath);

// The title of a magazine the reader opened (by name, from its start screen,
// by a drop): its file name without the last extension, as UTF-8 (as its
// book folder is named). MAGAZINE.EXE gives MAGAZINE, intro.swf intro.
std::string MagazineTitle(const std::string& path);

}  // namespace pagoro
