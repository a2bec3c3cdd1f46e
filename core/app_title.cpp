#include "core/app_title.h"

#include "book/cp936.h"
#include "core/book_opener.h"

namespace pagoro {

std::string RemoveEvery(const std::string& text, const std::string& what) {
  if (what.empty()) return text;
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
    out.append(text, from, at - from);
    from = at + what.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

std::string TitleFromPath(const std::string& fullPath) {
  // The extension is taken from the full path, then removed wherever it
  // stands in the file name (a.exe.b.exe gives a.b).
  return FileNameAsUtf8(RemoveEvery(FileNameOf(fullPath), ExtensionOf(fullPath)));
}

std::string MagazineTitle(const std::string& path) {
  return NameWithoutExtension(FileNameAsUtf8(FileNameOf(path)));
}

}  // namespace pagoro
