#include "translations/translations.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

Catalogue For(std::initializer_list<const char*> languages) {
  QStringList list;
  for (const char* language : languages) list << QString::fromLatin1(language);
  return CatalogueFor(list);
}

TEST(CatalogueForTest, ChineseByRegionAndScript) {
  for (const char* simplified : {"zh", "zh-CN", "zh_CN", "zh-SG", "zh-Hans-CN", "ZH-cn"})
    EXPECT_EQ(For({simplified}), Catalogue::kSimplifiedChinese) << simplified;
  for (const char* traditional : {"zh-TW", "zh_TW", "zh-HK", "zh-MO", "zh-Hant", "zh-Hant-HK"})
    EXPECT_EQ(For({traditional}), Catalogue::kTraditionalChinese) << traditional;
}

TEST(CatalogueForTest, TheFirstChineseOrEnglishLanguageDecides) {
  EXPECT_EQ(For({"fr-FR", "zh-TW", "en"}), Catalogue::kTraditionalChinese);
  EXPECT_EQ(For({"en-GB", "zh-CN"}), Catalogue::kEnglish);
  EXPECT_EQ(For({"de", "fr"}), Catalogue::kEnglish);
  EXPECT_EQ(For({"C"}), Catalogue::kEnglish);
  EXPECT_EQ(For({}), Catalogue::kEnglish);
  // "zhx" is another language, not Chinese.
  EXPECT_EQ(For({"zhx", "zh-TW"}), Catalogue::kTraditionalChinese);
}

}  // namespace
}  // namespace pagoro
