#include "book/format.h"

#include <gtest/gtest.h>

namespace pagoro::format {
namespace {

TEST(FormatTest, HeaderLineNamesItsFirstSizeFieldThatIsNoNumber) {
  const Header good = ReadHeaderLine("version|2.0|1| 640|$1E0|more|text");
  EXPECT_EQ(good.version, "2.0");
  EXPECT_EQ(good.width, 640);
  EXPECT_EQ(good.height, 480);
  EXPECT_EQ(good.bad_number, std::nullopt);

  const Header noHeight = ReadHeaderLine("version|1.0|1|640|480");  // no closing "|"
  EXPECT_EQ(noHeight.version, "1.0");
  EXPECT_EQ(noHeight.width, 640);
  EXPECT_EQ(noHeight.bad_number, "");
  EXPECT_EQ(ReadHeaderLine("version|2.0|1|64 0|x|").bad_number, "64 0");
  EXPECT_EQ(ReadHeaderLine("").version, "");
}

TEST(FormatTest, EntryLineFaultsInTheOrderTheyAreFound) {
  struct Case {
    const char* line;
    EntryLayout layout;
    EntryFault fault;
  };
  constexpr std::uint64_t kFile = 100;
  for (const Case& c : {
           Case{"a|0|97|FWS", EntryLayout::kHeadered, EntryFault::kNone},
           Case{"a|0|100", EntryLayout::kRotated, EntryFault::kNone},
           Case{"a|x|y|FWS", EntryLayout::kHeadered, EntryFault::kBadOffset},
           Case{"a|0|1|2", EntryLayout::kRotated, EntryFault::kBadSize},  // size is the rest
           Case{"a|0|1", EntryLayout::kHeadered, EntryFault::kBadSize},   // no closing "|"
           Case{"", EntryLayout::kHeadered, EntryFault::kBadOffset},
           Case{"a|0|101", EntryLayout::kRotated, EntryFault::kOutsideFile},
           Case{"a|-1|2|FWS", EntryLayout::kHeadered, EntryFault::kOutsideFile},
           Case{"a|2|-1|FWS", EntryLayout::kHeadered, EntryFault::kOutsideFile},
           Case{"a|2147483647|2147483647|FWS", EntryLayout::kHeadered, EntryFault::kOutsideFile},
           Case{"a|0|200|", EntryLayout::kHeadered, EntryFault::kOutsideFile},
           Case{"a|0|1|FW", EntryLayout::kHeadered, EntryFault::kNoHeaderBytes},
       }) {
    EXPECT_EQ(ReadEntryLine(c.line, c.layout, kFile).fault, c.fault) << c.line;
  }
  const Entry entry = ReadEntryLine("p|q.xml|10| 20|<|x|", EntryLayout::kHeadered, kFile);
  EXPECT_EQ(entry.name, "p");
  EXPECT_EQ(entry.offset_text, "q.xml");
  EXPECT_EQ(entry.fault, EntryFault::kBadOffset);
  const Entry headered = ReadEntryLine("p.xml|10| 20|<|x|", EntryLayout::kHeadered, kFile);
  EXPECT_EQ(headered.fault, EntryFault::kNone);
  EXPECT_EQ(headered.size, 20);
  EXPECT_EQ(headered.header, "<|x");  // the header bytes may hold the separator
}

}  // namespace
}  // namespace pagoro::format
