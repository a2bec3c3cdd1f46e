// An ordered list of 8-bit strings numbered from 0, as the container index
// is held: split into lines at CR LF, CR or LF, stopping at a NUL byte.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pagoro {

class StringList {
 public:
  StringList() = default;
  // Splits `text` into lines: a line ends at CR LF, CR alone or LF alone; a
  // line end at the very end adds no empty line; a NUL byte ends the text.
  static StringList FromText(std::string_view text);

  int Count() const { return static_cast<int>(lines_.size()); }
  // Throws EListError "List index out of bounds (i)" for a line it lacks.
  const std::string& operator[](int i) const;
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace pagoro
