#include "book/string_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/errors.h"

namespace pagoro {
namespace {

using Lines = std::vector<std::string>;

TEST(StringListTest, SplitsLinesAsTheIndexIsRead) {
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string("\0a", 2), {}},
      {"x|y\x81\r\n", {"x|y\x81"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StringList::FromText(c.text).lines(), c.lines) << testing::PrintToString(c.text);
  }
}

TEST(StringListTest, MissingLineRaisesListErrorWithItsNumber) {
  const StringList list = StringList::FromText("buildexe\r\n");
  EXPECT_EQ(list[0], "buildexe");
  for (int i : {1, -1, 7}) {
    try {
      (void)list[i];
      FAIL() << "no error for line " << i;
    } catch (const EListError& e) {
      EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(i) + ")");
    }
  }
}

}  // namespace
}  // namespace pagoro
