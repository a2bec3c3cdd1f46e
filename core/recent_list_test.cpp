#include "core/recent_list.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

RecentEntry Entry(const std::string& path, std::int64_t when, const std::string& cover = "",
                  const std::string& identity = "") {
  return RecentEntry{path, when, cover, identity};
}

TEST(RecentListTest, NewestFirstOneEntryPerFileBounded) {
  RecentList list;
  EXPECT_TRUE(list.Add(Entry("/m/a.exe", 1, "a.png")).empty());
  list.Add(Entry("/m/b.swf", 2));
  // Opened again: to the front, its old cover no longer named.
  const std::vector<std::string> unused = list.Add(Entry("/m/a.exe", 3, "a2.png"));
  EXPECT_EQ(unused, std::vector<std::string>{"a.png"});
  ASSERT_EQ(list.entries().size(), 2U);
  EXPECT_EQ(list.entries()[0], Entry("/m/a.exe", 3, "a2.png"));
  EXPECT_EQ(list.entries()[1].path, "/m/b.swf");

  for (int i = 0; i < 40; ++i)
    list.Add(Entry("/m/" + std::to_string(i), 10 + i, "c" + std::to_string(i)));
  ASSERT_EQ(list.entries().size(), RecentList::kMaxEntries);
  EXPECT_EQ(list.entries().front().path, "/m/39");
  EXPECT_EQ(list.entries().back().path, "/m/10");

  EXPECT_TRUE(list.SetCover("/m/20", "new.png"));
  EXPECT_EQ(list.entries()[19], Entry("/m/20", 30, "new.png"));  // where it stood
  EXPECT_FALSE(list.SetCover("/m/none", "x.png"));

  EXPECT_EQ(list.Forget("/m/39"), std::optional<std::string>("c39"));
  EXPECT_EQ(list.Forget("/m/39"), std::nullopt);
  EXPECT_EQ(list.entries().front().path, "/m/38");
}

TEST(RecentListTest, RoundTripKeepsBytesThatAreNoText) {
  RecentList list;
  list.set_last_folder("/home/u/\xD0\xC2 folder");
  list.Add(Entry("/m/50% off\n.exe", -5));
  list.Add(Entry("/m/\xD4\xD3\xD6\xBE.exe", 1733000000, "cover 1.png"));
  const std::string text = list.Serialise();
  const std::optional<RecentList> back = RecentList::Parse(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->entries(), list.entries());
  EXPECT_EQ(back->last_folder(), list.last_folder());
  EXPECT_EQ(RecentList::Parse(RecentList().Serialise())->entries().size(), 0U);
}

TEST(RecentListTest, DamagedTextIsRefusedWhole) {
  RecentList list;
  list.Add(Entry("/m/a.exe", 1, "a.png"));
  const std::string good = list.Serialise();
  const char* const bad[] = {
      "",
      "pagoro recent 3\n",
      "something else\nentry 1 /m/a.exe -\n",
      "pagoro recent 1\nentry x /m/a.exe -\n",
      "pagoro recent 1\nentry 1 m/a.exe -\n",          // not a full path
      "pagoro recent 1\nentry 1 /m/a%4.exe -\n",       // a cut escape
      "pagoro recent 1\nentry 1 /m/a.exe ../x.png\n",  // a cover elsewhere
      "pagoro recent 1\nentry 1 /m/a.exe %2Fetc%2Fx\n",
      "pagoro recent 1\nentry 1 /m/a.exe\n",
      "pagoro recent 1\nfolder\n",
      "pagoro recent 1\nentry 1 /m/a.exe - 0123abcd\n",  // version 1 had no identity
      "pagoro recent 2\nentry 1 /m/a.exe -\n",
      "pagoro recent 2\nentry 1 /m/a.exe - 0123ABCD\n",
      "pagoro recent 2\nentry 1 /m/a.exe - 01../x\n",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(RecentList::Parse(text));
  }
  // Cut short anywhere: refused, not half read.
  EXPECT_FALSE(RecentList::Parse(good.substr(0, good.size() - 1)));
  // More entries than the bound (another version wrote them): the first ones.
  std::string many = "pagoro recent 1\n";
  for (int i = 0; i < 50; ++i)
    many += "entry " + std::to_string(i) + " /m/" + std::to_string(i) + " -\n";
  const std::optional<RecentList> read = RecentList::Parse(many);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->entries().size(), RecentList::kMaxEntries);
  EXPECT_EQ(read->entries().front().path, "/m/0");
}

// Same-named issues are two magazines; one magazine moved or copied is one.
TEST(RecentListTest, OneEntryPerMagazineByWhatItHolds) {
  RecentList list;
  list.Add(Entry("/disc1/MAGAZINE.EXE", 1, "aaaa.png", "aaaa"));
  list.Add(Entry("/disc2/MAGAZINE.EXE", 2, "bbbb.png", "bbbb"));
  ASSERT_EQ(list.entries().size(), 2U);

  // Issue 1 copied elsewhere and opened from there: its entry moves along.
  EXPECT_TRUE(list.Add(Entry("/home/u/MAGAZINE.EXE", 3, "aaaa.png", "aaaa")).empty());
  ASSERT_EQ(list.entries().size(), 2U);
  EXPECT_EQ(list.entries()[0], Entry("/home/u/MAGAZINE.EXE", 3, "aaaa.png", "aaaa"));
  EXPECT_EQ(list.entries()[1].path, "/disc2/MAGAZINE.EXE");
  EXPECT_EQ(list.Find("/disc1/MAGAZINE.EXE"), nullptr);

  // Another issue put in the place of one: the place's entry is its now.
  EXPECT_EQ(list.Add(Entry("/disc2/MAGAZINE.EXE", 4, "", "cccc")),
            std::vector<std::string>{"bbbb.png"});
  ASSERT_EQ(list.entries().size(), 2U);
  EXPECT_EQ(list.Find("/disc2/MAGAZINE.EXE")->identity, "cccc");

  // An entry kept before identities gets one when opened again, whatever
  // its identity; entries without one are never taken for each other.
  list.Add(Entry("/old/a.exe", 5, "1234.png"));
  list.Add(Entry("/old/b.exe", 6));
  EXPECT_EQ(list.entries().size(), 4U);
  EXPECT_TRUE(list.Add(Entry("/old/a.exe", 7, "1234.png", "dddd")).empty());
  EXPECT_EQ(list.entries().size(), 4U);
  EXPECT_EQ(list.entries()[0], Entry("/old/a.exe", 7, "1234.png", "dddd"));
}

// A list written before identities reads as it did; written again, it
// keeps them.
TEST(RecentListTest, ListsWithoutIdentitiesAreReadAndIdentitiesKept) {
  const std::optional<RecentList> old = RecentList::Parse(
      "pagoro recent 1\nfolder /m/\nentry 5 /m/a.exe a.png\nentry 4 /m/b.exe -\n");
  ASSERT_TRUE(old);
  EXPECT_EQ(old->entries(),
            (std::vector<RecentEntry>{Entry("/m/a.exe", 5, "a.png"), Entry("/m/b.exe", 4)}));
  EXPECT_EQ(old->last_folder(), "/m/");

  RecentList list = *old;
  list.Add(Entry("/m/c.exe", 6, "", "0123456789abcdef0123456789abcdef"));
  const std::optional<RecentList> back = RecentList::Parse(list.Serialise());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->entries(), list.entries());
}

TEST(RecentListTest, EncodedBytes) {
  EXPECT_EQ(EncodeBytes("a b%\xFF~"), "a%20b%25%FF~");
  EXPECT_EQ(DecodeBytes("a%20b%25%ff~"), std::optional<std::string>("a b%\xFF~"));
  EXPECT_FALSE(DecodeBytes("%G0"));
  EXPECT_FALSE(DecodeBytes("abc%"));
}

}  // namespace
}  // namespace pagoro
