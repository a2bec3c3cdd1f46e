#include "book/texts.h"

#include <gtest/gtest.h>

#include <string>

namespace pagoro {
namespace {

TEST(ArgsTest, PlaceholdersInAnyOrderOnePass) {
  EXPECT_EQ(Args("%2 然后 %1", {"a", "b"}), "b 然后 a");
  // A value holding a placeholder is not filled in again.
  EXPECT_EQ(Args("%1 and %2", {"%2", "x"}), "%2 and x");
  // A "%" that is no placeholder of a given value stays.
  EXPECT_EQ(Args("100% %3 %", {"a"}), "100% %3 %");
  EXPECT_EQ(Args("%1%1", {"ab"}), "abab");
}

std::string Reversed(const char* context, const char* text, const char*, int count) {
  if (std::string(context) != "Test") return {};
  if (count >= 0) return count == 1 ? "one thing" : "%n things";
  return std::string(text).rfind("Known", 0) == 0 ? "已知" : "";
}

TEST(TrTest, TranslatorOrTheTextAsWritten) {
  EXPECT_EQ(Tr("Test", "Known text"), "Known text");
  EXPECT_EQ(TrN("Test", "%n files", nullptr, 3), "3 files");
  SetTranslator(&Reversed);
  EXPECT_EQ(Tr("Test", "Known text"), "已知");
  EXPECT_EQ(Tr("Test", "Unknown text"), "Unknown text");
  EXPECT_EQ(Tr("Other", "Known text"), "Known text");
  EXPECT_EQ(TrN("Test", "%n files", nullptr, 1), "one thing");
  EXPECT_EQ(TrN("Test", "%n files", nullptr, 12), "12 things");
  SetTranslator(nullptr);
  EXPECT_EQ(Tr("Test", "Known text"), "Known text");
}

}  // namespace
}  // namespace pagoro
