#include "tools/sample/pages.h"

#include <string>

#include "swf/bitmaps.h"
#include "swf/movie.h"
#include "swf/shapes.h"
#include "tools/sample/png.h"

namespace pagoro::sample {
namespace {

// Depths on a page.
constexpr std::uint16_t kBackgroundDepth = 1;
constexpr std::uint16_t kFrameDepth = 2;
constexpr std::uint16_t kPictureDepth = 3;
constexpr std::uint16_t kTextDepth = 10;
constexpr std::uint16_t kRowDepth = 40;

constexpr int kFrameWidth = 4;  // the dark frame around a picture

void AddRect(IdSource& ids, Parts& parts, int x, int y, int width, int height, std::uint32_t rgb,
             std::uint16_t depth) {
  const std::uint16_t id = ids.Take();
  parts.definitions.push_back(
      swf::RectangleShape(id, swf::PixelRect(0, 0, width, height), Colour(rgb)));
  parts.Place(id, depth, x, y);
}

// this.createEmptyMovieClip("picture", depth) at the spot, then
// picture.loadMovie(_root.TempPath + file).
void LoadPictureActions(swf::ActionBuilder& a, const PictureSpot& spot) {
  a.Push(kPictureDepth)
      .Push("picture")
      .Push("this")
      .GetVariable()
      .CallMethod("createEmptyMovieClip", 2)
      .Pop();
  a.Push("picture").GetVariable().Push("_x").Push(spot.x).SetMember();
  a.Push("picture").GetVariable().Push("_y").Push(spot.y).SetMember();
  GetRoot(a, "TempPath");
  a.Push(spot.file).Add2();
  a.Push("picture").GetVariable().CallMethod("loadMovie", 1).Pop();
}

// Rows of the contents page: one link per page after it. In the
// files edition each row shows the title the table of contents file gave
// (_root.titles[n], into the row's variable); otherwise the title is fixed.
void AddContentsRows(const std::vector<Page>& pages, IdSource& ids, const Fonts& fonts,
                     PictureSource source, Parts& parts, swf::ActionBuilder& a) {
  for (std::size_t n = kFirstListedPage; n < pages.size(); ++n) {
    const int number = static_cast<int>(n);
    const Row row = ContentsRow(number);
    swf::ActionBuilder go;
    go.Push(number);
    CallRoot(go, "go", 1);
    ButtonLook look;
    look.over = 0xdde6f5;
    look.down = 0xb8c7e6;
    look.transparent_up = true;
    const auto depth = static_cast<std::uint16_t>(kRowDepth + 2 * n);
    AddButton(ids, parts, fonts, "", row.x, row.y, row.width, row.height, look, go.Finish(), depth);

    Field f{row.x + 12, row.y + 8, row.width - 24, 30, 22, 0x1c2541, false, 0, "", ""};
    const std::string number_text = std::to_string(number) + "    ";
    if (source == PictureSource::kCacheFile) {
      f.variable = "row" + std::to_string(number);
      a.Push(f.variable).Push(number_text);
      GetRoot(a, "titles");
      a.Push(number).GetMember().Add2().SetVariable();
    } else {
      f.text = number_text + pages[n].title;
    }
    AddField(ids, parts, fonts, f, static_cast<std::uint16_t>(depth + 1));
  }
}

}  // namespace

swf::Bytes PictureFile(const PictureSpot& spot) {
  const Picture p = DrawPicture(spot.kind, spot.width, spot.height);
  return EncodePng(p.width, p.height, p.rgba);
}

PageParts BuildPage(const std::vector<Page>& pages, std::size_t index, IdSource& ids,
                    const Fonts& fonts, PictureSource source) {
  const Page& page = pages.at(index);
  PageParts out;
  swf::ActionBuilder a;
  AddRect(ids, out.parts, 0, 0, kPageWidth, kPageHeight, page.background, kBackgroundDepth);
  if (page.picture) {
    const PictureSpot& spot = *page.picture;
    AddRect(ids, out.parts, spot.x - kFrameWidth, spot.y - kFrameWidth,
            spot.width + 2 * kFrameWidth, spot.height + 2 * kFrameWidth, 0x303030, kFrameDepth);
    if (source == PictureSource::kCacheFile) {
      LoadPictureActions(a, spot);
    } else {
      const Picture p = DrawPicture(spot.kind, spot.width, spot.height);
      const std::uint16_t bitmap = ids.Take();
      out.parts.definitions.push_back(swf::LosslessBitmap(bitmap, p.width, p.height, p.rgba));
      const std::uint16_t shape = ids.Take();
      out.parts.definitions.push_back(swf::BitmapShape(shape, bitmap, p.width, p.height));
      out.parts.Place(shape, kPictureDepth, spot.x, spot.y);
    }
  }
  std::uint16_t depth = kTextDepth;
  for (const TextBlock& t : page.texts) {
    AddField(ids, out.parts, fonts,
             Field{t.x, t.y, t.width, t.height, t.size, t.colour, t.bold, t.align, t.text, ""},
             depth++);
  }
  if (page.is_contents) AddContentsRows(pages, ids, fonts, source, out.parts, a);
  if (a.Finish().size() > 1) out.actions = a.Finish();
  return out;
}

swf::Bytes PageMovie(const std::vector<Page>& pages, std::size_t index) {
  swf::MovieBuilder movie(
      {.version = 8, .width = kPageWidth, .height = kPageHeight, .frame_rate = 24});
  IdSource ids;
  Parts fonts_parts;
  const Fonts fonts = DefineFonts(ids, fonts_parts);
  const PageParts page = BuildPage(pages, index, ids, fonts, PictureSource::kCacheFile);
  movie.Add(swf::SetBackgroundColor({255, 255, 255}));
  movie.Add(fonts_parts.definitions).Add(page.parts.definitions).Add(page.parts.display);
  if (!page.actions.empty()) movie.Add(swf::DoAction(page.actions));
  // One frame that stays.
  movie.Add(swf::DoAction(swf::ActionBuilder().Stop().Finish()));
  movie.Add(swf::ShowFrame());
  return movie.Finish();
}

}  // namespace pagoro::sample
