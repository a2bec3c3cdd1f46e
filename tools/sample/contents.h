// What the sample magazine says: its pages in reading order (cover first,
// then the contents page, then the articles), the texts and pictures on
// each, and the table of contents file the main movie reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/sample/pictures.h"

namespace pagoro::sample {

// Pages are movies of this size, shown below the magazine's title bar.
inline constexpr int kStageWidth = 800;
inline constexpr int kStageHeight = 600;
inline constexpr int kBarHeight = 48;
inline constexpr int kPageWidth = kStageWidth;
inline constexpr int kPageHeight = kStageHeight - 2 * kBarHeight;

// The table of contents file, read by the main movie from the cache folder.
inline constexpr const char* kContentsFile = "目录.xml";

struct TextBlock {
  int x = 0, y = 0, width = 0, height = 0;  // pixels, on the page
  int size = 16;                            // font height, pixels
  std::uint32_t colour = 0x202020;          // 0xRRGGBB
  bool bold = false;
  int align = 0;  // 0 left, 1 right, 2 centre
  std::string text;
};

struct PictureSpot {
  std::string file;  // the picture file's name in the book
  PictureKind kind;
  int x = 0, y = 0, width = 0, height = 0;
};

struct Page {
  std::string file;   // the page movie's name in the book
  std::string title;  // as the table of contents lists it
  std::uint32_t background = 0xffffff;
  std::vector<TextBlock> texts;
  std::optional<PictureSpot> picture;
  bool is_contents = false;  // lists the other pages, each a link
};

// Every page, the cover first.
const std::vector<Page>& MagazinePages();

// The table of contents as an XML file (UTF-8): one <page file= title=/>
// element per page, in reading order.
std::string ContentsXml(const std::vector<Page>& pages);

// The first page the contents page lists: the one after itself.
inline constexpr int kFirstListedPage = 2;

// Where the contents page shows the row of page `n` (kFirstListedPage and
// later), pixels on the page.
struct Row {
  int x, y, width, height;
};
Row ContentsRow(int n);

}  // namespace pagoro::sample
