#include "book/cp936.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

TEST(Cp936Test, TrailBytesAreFoundFromTheStart) {
  // "\x81\x5C" is one character; the 0x5C after it is a backslash of its own.
  const std::string text = "a\x81\x5C\x5C\xD6\xD0";
  EXPECT_FALSE(IsTrailByte(text, 0));
  EXPECT_FALSE(IsTrailByte(text, 1));
  EXPECT_TRUE(IsTrailByte(text, 2));
  EXPECT_FALSE(IsTrailByte(text, 3));
  EXPECT_FALSE(IsTrailByte(text, 4));
  EXPECT_TRUE(IsTrailByte(text, 5));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0xFE));
  EXPECT_FALSE(IsLeadByte(0xFF));
}

TEST(Cp936Test, ConvertsToAndFromUtf8) {
  EXPECT_EQ(Cp936ToUtf8("page1.xml"), "page1.xml");
  EXPECT_EQ(Cp936ToUtf8("\xD6\xD0\xCE\xC4.txt"), "中文.txt");
  EXPECT_EQ(Cp936ToUtf8("\x81\x5C"), "乗");  // trail byte 0x5C
  std::string back;
  ASSERT_TRUE(Utf8ToCp936("中文.txt", &back));
  EXPECT_EQ(back, "\xD6\xD0\xCE\xC4.txt");
  EXPECT_FALSE(Utf8ToCp936("\xF0\x9F\x98\x80", &back));  // no such character in the code page
  EXPECT_FALSE(Utf8ToCp936("\xFF", &back));
}

TEST(Cp936Test, InvalidBytesBecomeReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(Cp936ToUtf8("a\xFF"), "a" + r);
  EXPECT_EQ(Cp936ToUtf8("a\x81"), "a" + r);      // lead byte at the end
  EXPECT_EQ(Cp936ToUtf8("\xA1\x5Cx"), r + "x");  // a pair that is no character
  EXPECT_EQ(Cp936ToUtf8("\x81/"), r);            // the pair is taken whole
  EXPECT_EQ(Cp936ToUtf8("\x80"), "€");
}

}  // namespace
}  // namespace pagoro
