#include <gtest/gtest.h>

#include <stdexcept>

#include "core/app_title.h"
#include "core/error_text.h"
#include "player/player_error.h"

namespace pagoro {
namespace {

TEST(TitleFromPathTest, RemovesEveryOccurrenceOfTheOwnExtension) {
  struct Case {
    const char* path;
    const char* want;
  } const cases[] = {
      {"/books/Spring.exe", "Spring"},
      {"/books/Copy of Spring.exe", "Copy of Spring"},
      {"/books/Spring.EXE", "Spring"},  // its own extension, whatever the case
      {"/books/a.exe.b.exe", "a.b"},
      {"/books/a.exe.b.EXE", "a.exe.b"},
      {"/books/pagoro", "pagoro"},    // no extension: the whole name
      {"/books.d/pagoro", "pagoro"},  // a dot in the folder is no extension
      {"/books/春天.exe", "春天"},
      {"/books/x.exex.exe", "xx"},
      {"/books/.exe", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(TitleFromPath(c.path), c.want);
  }
}

TEST(MagazineTitleTest, FileNameWithoutItsLastExtension) {
  EXPECT_EQ(MagazineTitle("/cd/MAGAZINE.EXE"), "MAGAZINE");
  EXPECT_EQ(MagazineTitle("/m/intro.swf"), "intro");
  EXPECT_EQ(MagazineTitle("/m/a.b.exe"), "a.b");
  EXPECT_EQ(MagazineTitle("/m.d/notes"), "notes");
  // A name in code page 936 bytes reads as its characters.
  EXPECT_EQ(MagazineTitle("/m/\xB4\xBA\xCC\xEC.exe"), "春天");
}

TEST(RemoveEveryTest, LeftToRightWithoutOverlap) {
  EXPECT_EQ(RemoveEvery("aaaa", "aa"), "");
  EXPECT_EQ(RemoveEvery("aaa", "aa"), "a");
  EXPECT_EQ(RemoveEvery("abc", ""), "abc");
  EXPECT_EQ(RemoveEvery("", ".x"), "");
}

TEST(WithPeriodTest, AppendsAPeriodByTheLastByte) {
  struct Case {
    std::string message;
    std::string want;
  } const cases[] = {
      {"Stream write error", "Stream write error."},
      {"Already done.", "Already done."},
      {"List index out of bounds (1)", "List index out of bounds (1)"},  // ")" is below "."
      {"'x' is not a valid integer value", "'x' is not a valid integer value."},
      {"ends in a dash-", "ends in a dash-"},
      {"ends in a slash/", "ends in a slash/."},  // "/" is 0x2F
      {"ends in 7", "ends in 7."},
      {"创建内存映射时发生错误！", "创建内存映射时发生错误！."},
      {"", ""},
      {std::string("nul\0", 4), std::string("nul\0", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(WithPeriod(c.message), c.want);
  }
}

TEST(FatalErrorTextTest, NamesClassModuleAndMessage) {
  const PlayerError error("Ruffle is missing");
  const std::string text = FatalErrorText(error, "Spring.exe");
  EXPECT_EQ(text.rfind("Exception PlayerError in module Spring.exe at ", 0), 0u) << text;
  EXPECT_NE(text.find(".\nRuffle is missing"), std::string::npos) << text;
  EXPECT_EQ(ExceptionClassName(std::runtime_error("x")), "runtime_error");
}

}  // namespace
}  // namespace pagoro
