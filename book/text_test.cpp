#include "book/text.h"

#include <gtest/gtest.h>

#include <optional>

#include "book/errors.h"

namespace pagoro {
namespace {

TEST(CutFieldTest, CutsFieldsAndReadsMissingOnesAsEmpty) {
  std::string line = "a|b";
  EXPECT_EQ(CutField(line, "|"), "a");
  EXPECT_EQ(CutField(line, "|"), "");
  EXPECT_EQ(CutField(line, "|"), "");
  EXPECT_EQ(line, "b");

  line = "||x|y|";
  EXPECT_EQ(CutField(line, "|"), "");
  EXPECT_EQ(CutField(line, "|"), "");
  EXPECT_EQ(CutField(line, "|"), "x");
  EXPECT_EQ(line, "y|");
}

TEST(StrToIntTest, FollowsTheFrameworkRules) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"0", 0},
      {"640", 640},
      {" 640", 640},
      {"   +640", 640},
      {"-17", -17},
      {"-0", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$10", 16},
      {"x1f", 31},
      {"X1F", 31},
      {"0x7fffffff", INT32_MAX},
      {"0XaBc", 0xABC},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$000000001", 1},
      // failures
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"640 ", std::nullopt},
      {"\t640", std::nullopt},
      {"6 40", std::nullopt},
      {"1.0", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$100000000", std::nullopt},
      {"$-1", std::nullopt},
      {"0x0x1", std::nullopt},
      {"$g", std::nullopt},
      {"+-1", std::nullopt},
      {"1e3", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TryStrToInt(c.text), c.value) << "'" << c.text << "'";
}

TEST(StrToIntTest, FailureNamesTheText) {
  try {
    StrToInt("640 ");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'640 ' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt(" 480"), 480);
}

}  // namespace
}  // namespace pagoro
