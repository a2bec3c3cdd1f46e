#include "book/string_list.h"

#include "book/errors.h"

namespace pagoro {

StringList StringList::FromText(std::string_view text) {
  // Everything from a NUL byte on is not text.
  text = text.substr(0, text.find('\0'));
  StringList list;
  std::size_t p = 0;
  while (p < text.size()) {
    const std::size_t start = p;
    while (p < text.size() && text[p] != '\r' && text[p] != '\n') ++p;
    list.Add(std::string(text.substr(start, p - start)));
    // CR LF, CR alone and LF alone each end one line; LF CR ends two.
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
  }
  return list;
}

const std::string& StringList::operator[](int i) const {
  if (i < 0 || i >= Count()) throw EListError(i);
  return lines_[static_cast<std::size_t>(i)];
}

}  // namespace pagoro
