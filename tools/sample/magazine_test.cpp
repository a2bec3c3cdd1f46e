#include "tools/sample/magazine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "book/format.h"
#include "book/packer.h"
#include "swf/swf_reader.h"
#include "tools/sample/contents.h"
#include "tools/sample/pages.h"

namespace pagoro::sample {
namespace {

std::set<std::string> Names(const std::vector<MagazineFile>& files) {
  std::set<std::string> names;
  for (const MagazineFile& f : files) names.insert(f.name);
  return names;
}

bool Contains(const swf::Bytes& bytes, const std::string& text) {
  const swf::Bytes wanted(text.begin(), text.end());
  return std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end()) != bytes.end();
}

const MagazineFile& FileNamed(const std::vector<MagazineFile>& files, const std::string& name) {
  for (const MagazineFile& f : files) {
    if (f.name == name) return f;
  }
  throw std::runtime_error("no file " + name);
}

std::vector<PackEntry> Entries(const std::vector<MagazineFile>& files) {
  std::vector<PackEntry> entries;
  for (const MagazineFile& f : files)
    entries.push_back({f.name, std::string(f.bytes.begin(), f.bytes.end())});
  SortEntries(entries);
  return entries;
}

TEST(SampleMagazine, EveryBuildWritesTheSameBytes) {
  for (const Edition edition : {Edition::kFiles, Edition::kSingleMovie}) {
    const auto first = EditionFiles(edition);
    const auto second = EditionFiles(edition);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
      EXPECT_EQ(first[i].name, second[i].name);
      EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
    }
  }
}

// A page, picture or contents file that the movies ask for but the book
// doesn't carry would only show as an empty page in the reader.
TEST(SampleMagazine, TheFilesEditionCarriesEverythingItsMoviesLoad) {
  const auto files = EditionFiles(Edition::kFiles);
  const std::set<std::string> names = Names(files);
  EXPECT_EQ(names.size(), files.size()) << "two files of one name";
  EXPECT_TRUE(Contains(FileNamed(files, "main.swf").bytes, kContentsFile));

  const std::vector<Page>& pages = MagazinePages();
  ASSERT_GE(pages.size(), 6u) << "a cover, a contents page and four pages";
  const std::string xml(FileNamed(files, kContentsFile).bytes.begin(),
                        FileNamed(files, kContentsFile).bytes.end());
  std::size_t listed = 0;
  for (const Page& page : pages) {
    EXPECT_TRUE(names.count(page.file)) << page.file;
    EXPECT_NE(xml.find("file=\"" + page.file + "\""), std::string::npos) << page.file;
    listed += 1;
    if (page.picture) {
      EXPECT_TRUE(names.count(page.picture->file)) << page.picture->file;
      EXPECT_TRUE(Contains(FileNamed(files, page.file).bytes, page.picture->file)) << page.file;
    }
  }
  EXPECT_EQ(listed, pages.size());
  // Page movies come in the XML in reading order: the cover first.
  EXPECT_LT(xml.find(pages.front().file), xml.find(pages.back().file));
}

TEST(SampleMagazine, BothEditionsPackInTheirFormats) {
  const auto files = Entries(EditionFiles(Edition::kFiles));
  EXPECT_NO_THROW(
      PackBook("", files, {.format = "2.0", .width = kStageWidth, .height = kStageHeight}));
  // The one-movie edition is what a 1.0 book can hold, and is long enough
  // to be stored rotated.
  const auto single = Entries(EditionFiles(Edition::kSingleMovie));
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].name, "main.swf");
  EXPECT_GT(single[0].bytes.size(), format::kRotationLength);
  EXPECT_NO_THROW(
      PackBook("", single, {.format = "1.0", .width = kStageWidth, .height = kStageHeight}));
}

TEST(SampleMagazine, EveryMovieReadsBackWhole) {
  for (const Edition edition : {Edition::kFiles, Edition::kSingleMovie}) {
    for (const MagazineFile& f : EditionFiles(edition)) {
      if (f.name.size() < 4 || f.name.substr(f.name.size() - 4) != ".swf") continue;
      SCOPED_TRACE(f.name);
      const swf::ReadResult read = swf::ReadMovie(f.bytes);
      ASSERT_TRUE(read.movie) << read.error;
      const swf::ParsedMovie& m = *read.movie;
      EXPECT_TRUE(m.has_end);
      EXPECT_EQ(m.declared_length, f.bytes.size());
      EXPECT_EQ(m.frame_count, 1);
      std::size_t action_blocks = 0;
      for (const swf::TagRecord& tag : m.tags) {
        if (tag.code != static_cast<std::uint16_t>(swf::TagCode::kDoAction)) continue;
        ++action_blocks;
        EXPECT_TRUE(swf::ReadActions(m.Body(tag))) << "an action block that runs past its tag";
      }
      EXPECT_GE(action_blocks, 1u);
    }
  }
}

TEST(SampleMagazine, PicturesArePngFilesOfTheirSpotsSize) {
  for (const Page& page : MagazinePages()) {
    if (!page.picture) continue;
    const swf::Bytes png = PictureFile(*page.picture);
    ASSERT_GT(png.size(), 24u);
    const swf::Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    const auto be32 = [&png](std::size_t at) {
      return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    EXPECT_EQ(be32(16), page.picture->width);
    EXPECT_EQ(be32(20), page.picture->height);
  }
}

// The generator writes only into a folder of its own: a folder that already
// holds something is refused and left as it was.
TEST(SampleMagazine, WritesIntoAnEmptyFolderOnly) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(::testing::TempDir()) / "pagoro-sample-write";
  fs::remove_all(root);
  const std::vector<MagazineFile> files = {{"main.swf", {1, 2, 3}}, {"封面.png", {4}}};
  WriteEdition(files, (root / "new" / "folder").string());
  EXPECT_EQ(fs::file_size(root / "new" / "folder" / "main.swf"), 3u);
  EXPECT_EQ(fs::file_size(root / "new" / "folder" / fs::u8path("封面.png")), 1u);

  fs::create_directories(root / "used");
  std::ofstream(root / "used" / "keep.txt") << "mine";
  EXPECT_THROW(WriteEdition(files, (root / "used").string()), std::runtime_error);
  EXPECT_FALSE(fs::exists(root / "used" / "main.swf"));
  EXPECT_EQ(fs::file_size(root / "used" / "keep.txt"), 4u);
  fs::remove_all(root);
}

TEST(ContentsXml, EscapesWhatWouldBreakTheMarkup) {
  const std::vector<Page> pages = {
      {"a&b.swf", "Tom & \"Jerry\" <1>", 0, {}, std::nullopt, false},
      {"目录.swf", "目录", 0, {}, std::nullopt, false},
  };
  EXPECT_EQ(ContentsXml(pages),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<contents>\n"
            "  <page file=\"a&amp;b.swf\" title=\"Tom &amp; &quot;Jerry&quot; &lt;1&gt;\"/>\n"
            "  <page file=\"目录.swf\" title=\"目录\"/>\n"
            "</contents>\n");
}

}  // namespace
}  // namespace pagoro::sample
