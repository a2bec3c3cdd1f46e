#include "tools/sample/main_movie.h"

#include <string>

#include "swf/movie.h"
#include "swf/shapes.h"
#include "swf/sprites.h"
#include "tools/sample/movie_parts.h"
#include "tools/sample/pages.h"

namespace pagoro::sample {
namespace {

using swf::ActionBuilder;

constexpr std::uint32_t kBarColour = 0x111a33;
constexpr std::uint16_t kPageDepth = 10;
constexpr std::uint16_t kChromeDepth = 100;

// Key codes the movie turns pages with.
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;

ActionBuilder ButtonAction(const std::string& name) {
  ActionBuilder a;
  if (name == "Prev") {
    CallRoot(a, "prev", 0);
  } else if (name == "Contents") {
    a.Push(1);
    CallRoot(a, "go", 1);
  } else if (name == "Next") {
    CallRoot(a, "next", 0);
  } else if (name == "Full screen") {
    a.FsCommand("fullscreen", "true");
  } else if (name == "Window") {
    a.FsCommand("fullscreen", "false");
  } else if (name == "Refresh") {
    SetRootString(a, "status", "Asked the reader to refresh...");
    a.FsCommand("outcommand", "Refresh");
  } else if (name == "Quit") {
    a.FsCommand("quit", "");
  }
  return a;
}

// _root.go(n): shows page n (0 is the cover) when there is such a page.
ActionBuilder GoFunction(Edition edition) {
  ActionBuilder a;
  const auto out = a.NewLabel();
  a.Push("n").GetVariable().Push(0).Less2().If(out);
  a.Push("n").GetVariable();
  GetRoot(a, "pageCount");
  a.Less2().Not().If(out);
  BeginSetRoot(a, "current");
  a.Push("n").GetVariable().SetMember();
  if (edition == Edition::kFiles) {
    GetRoot(a, "TempPath");
    GetRoot(a, "pages");
    a.Push("n").GetVariable().GetMember().Add2();
    GetRoot(a, "page");
    a.CallMethod("loadMovie", 1).Pop();
  } else {
    a.Push("n").GetVariable().Push(1).Add2();
    GetRoot(a, "page");
    a.CallMethod("gotoAndStop", 1).Pop();
  }
  // The counter: "Cover", or "Page n of m".
  const auto inside = a.NewLabel();
  const auto counted = a.NewLabel();
  BeginSetRoot(a, "counter");
  a.Push("n").GetVariable().Push(0).Equals2().Not().If(inside);
  a.Push("Cover").Jump(counted);
  a.Bind(inside);
  a.Push("Page ").Push("n").GetVariable().Add2().Push(" of ").Add2();
  GetRoot(a, "pageCount");
  a.Push(1).Do(swf::Op::kSubtract).Add2();
  a.Bind(counted);
  a.SetMember();
  a.Push("n").GetVariable();
  FsCommandOfValue(a, "pageShown");
  a.Bind(out);
  return a;
}

// Turns pages on the arrow keys, Page Up/Down and Home.
ActionBuilder KeyHandler() {
  ActionBuilder a;
  a.Push("Key").GetVariable().CallMethod("getCode", 0).StoreRegister(0).Pop();
  const auto when = [&a](int code, auto&& then) {
    const auto next = a.NewLabel();
    a.PushRegister(0).Push(code).Equals2().Not().If(next);
    then();
    a.Bind(next);
  };
  const auto next_page = [&a] { CallRoot(a, "next", 0); };
  const auto previous_page = [&a] { CallRoot(a, "prev", 0); };
  when(kKeyRight, next_page);
  when(kKeyPageDown, next_page);
  when(kKeyLeft, previous_page);
  when(kKeyPageUp, previous_page);
  when(kKeyHome, [&a] {
    a.Push(0);
    CallRoot(a, "go", 1);
  });
  return a;
}

// _root.toc.onLoad(ok): fills _root.pages and _root.titles from the table of
// contents and shows the cover.
ActionBuilder ContentsLoaded() {
  ActionBuilder a;
  const auto good = a.NewLabel();
  const auto end = a.NewLabel();
  a.Push("ok").GetVariable().If(good);
  BeginSetRoot(a, "status");
  a.Push("Could not read the table of contents from ");
  GetRoot(a, "TempPath");
  a.Add2().SetMember();
  a.Jump(end);
  a.Bind(good);
  BeginSetRoot(a, "items");
  GetRoot(a, "toc");
  a.Push("firstChild").GetMember().Push("childNodes").GetMember().SetMember();
  BeginSetRoot(a, "pageCount");
  GetRoot(a, "items");
  a.Push("length").GetMember().SetMember();
  a.Push(0).StoreRegister(1).Pop();
  const auto loop = a.NewLabel();
  const auto done = a.NewLabel();
  a.Bind(loop);
  a.PushRegister(1);
  GetRoot(a, "pageCount");
  a.Less2().Not().If(done);
  for (const auto& [list, attribute] : {std::pair{"pages", "file"}, std::pair{"titles", "title"}}) {
    GetRoot(a, list);
    a.PushRegister(1);
    GetRoot(a, "items");
    a.PushRegister(1).GetMember().Push("attributes").GetMember().Push(attribute).GetMember();
    a.SetMember();
  }
  a.PushRegister(1).Do(swf::Op::kIncrement).StoreRegister(1).Pop();
  a.Jump(loop);
  a.Bind(done);
  BeginSetRoot(a, "status");
  a.Push("Pages read from ");
  GetRoot(a, "TempPath");
  a.Add2().SetMember();
  a.Push(0);
  CallRoot(a, "go", 1);
  a.Bind(end);
  return a;
}

// Runs every frame: shows what the reader set in "incommand" (and loads the
// page again on "Refresh"); in the files edition, reads the table of
// contents once TempPath has arrived.
ActionBuilder EveryFrame(Edition edition) {
  ActionBuilder a;
  const auto no_command = a.NewLabel();
  GetRoot(a, "incommand");
  a.PushUndefined().Equals2().If(no_command);
  BeginSetRoot(a, "heard");
  GetRoot(a, "heard");
  a.Push(1).Add2().SetMember();
  BeginSetRoot(a, "status");
  a.Push("The reader said: ");
  GetRoot(a, "incommand");
  a.Add2().Push("  (#").Add2();
  GetRoot(a, "heard");
  a.Add2().Push(")").Add2().SetMember();
  const auto not_refresh = a.NewLabel();
  GetRoot(a, "incommand");
  a.Push("Refresh").Equals2().Not().If(not_refresh);
  GetRoot(a, "current");
  CallRoot(a, "go", 1);
  a.Bind(not_refresh);
  BeginSetRoot(a, "incommand");
  a.PushUndefined().SetMember();
  a.Bind(no_command);

  if (edition == Edition::kFiles) {
    const auto done = a.NewLabel();
    GetRoot(a, "tocRequested");
    a.If(done);
    GetRoot(a, "TempPath");
    a.PushUndefined().Equals2().If(done);
    BeginSetRoot(a, "tocRequested");
    a.PushBool(true).SetMember();
    BeginSetRoot(a, "toc");
    a.NewObject("XML", 0).SetMember();
    GetRoot(a, "toc");
    a.Push("ignoreWhite").PushBool(true).SetMember();
    GetRoot(a, "toc");
    a.Push("onLoad").DefineFunction("", {"ok"}, ContentsLoaded()).SetMember();
    SetRootString(a, "status", "Reading the table of contents...");
    GetRoot(a, "TempPath");
    a.Push(kContentsFile).Add2();
    GetRoot(a, "toc");
    a.CallMethod("load", 1).Pop();
    a.Bind(done);
  }
  return a;
}

ActionBuilder FirstFrame(Edition edition, int page_count) {
  ActionBuilder a;
  BeginSetRoot(a, "heard");
  a.Push(0).SetMember();
  BeginSetRoot(a, "current");
  a.Push(0).SetMember();
  BeginSetRoot(a, "pages");
  a.NewObject("Array", 0).SetMember();
  BeginSetRoot(a, "titles");
  a.NewObject("Array", 0).SetMember();
  BeginSetRoot(a, "go");
  a.DefineFunction("", {"n"}, GoFunction(edition)).SetMember();

  ActionBuilder next;
  GetRoot(next, "current");
  next.Push(1).Add2();
  CallRoot(next, "go", 1);
  BeginSetRoot(a, "next");
  a.DefineFunction("", {}, next).SetMember();
  ActionBuilder previous;
  GetRoot(previous, "current");
  previous.Push(1).Do(swf::Op::kSubtract);
  CallRoot(previous, "go", 1);
  BeginSetRoot(a, "prev");
  a.DefineFunction("", {}, previous).SetMember();

  BeginSetRoot(a, "keys");
  a.NewObject("Object", 0).SetMember();
  GetRoot(a, "keys");
  a.Push("onKeyDown").DefineFunction("", {}, KeyHandler()).SetMember();
  GetRoot(a, "keys");
  a.Push("Key").GetVariable().CallMethod("addListener", 1).Pop();

  BeginSetRoot(a, "onEnterFrame");
  a.DefineFunction("", {}, EveryFrame(edition)).SetMember();

  if (edition == Edition::kFiles) {
    SetRootString(a, "status", "Asking the reader where the magazine's files are...");
    a.FsCommand("outcommand", "SetTempPath");
  } else {
    BeginSetRoot(a, "pageCount");
    a.Push(page_count).SetMember();
    SetRootString(a, "status", "All pages are inside this one movie.");
    a.Push(0);
    CallRoot(a, "go", 1);
  }
  a.Stop();
  return a;
}

// The page area: an empty clip the page movies are loaded into, or a sprite
// with one page per frame.
void AddPageArea(Edition edition, const std::vector<Page>& pages, IdSource& ids, const Fonts& fonts,
                 Parts& parts) {
  if (edition == Edition::kFiles) {
    const std::uint16_t id = ids.Take();
    swf::SpriteBuilder empty(id);
    empty.Add(swf::ShowFrame());
    parts.definitions.push_back(empty.Finish());
    parts.Place(id, kPageDepth, 0, kBarHeight, "page");
    return;
  }
  std::vector<std::uint16_t> page_sprites;
  for (std::size_t n = 0; n < pages.size(); ++n) {
    PageParts page = BuildPage(pages, n, ids, fonts, PictureSource::kEmbedded);
    parts.definitions.insert(parts.definitions.end(), page.parts.definitions.begin(),
                             page.parts.definitions.end());
    const std::uint16_t id = ids.Take();
    swf::SpriteBuilder sprite(id);
    for (const swf::Tag& tag : page.parts.display) sprite.Add(tag);
    if (!page.actions.empty()) sprite.Add(swf::DoAction(page.actions));
    sprite.Add(swf::ShowFrame());
    parts.definitions.push_back(sprite.Finish());
    page_sprites.push_back(id);
  }
  // One page per frame, stopped on the first.
  const std::uint16_t book_id = ids.Take();
  swf::SpriteBuilder book(book_id);
  for (std::size_t n = 0; n < page_sprites.size(); ++n) {
    if (n == 0) {
      book.Add(swf::DoAction(ActionBuilder().Stop().Finish()));
    } else {
      book.Add(swf::RemoveObject2(1));
    }
    swf::PlaceObject place;
    place.depth = 1;
    place.character_id = page_sprites[n];
    book.Add(swf::PlaceObject2(place));
    book.Add(swf::ShowFrame());
  }
  parts.definitions.push_back(book.Finish());
  parts.Place(book_id, kPageDepth, 0, kBarHeight, "page");
}

}  // namespace

const std::vector<ButtonSpot>& MainButtons() {
  static const std::vector<ButtonSpot> spots = {
      {"Full screen", 420, 10, 96, 28}, {"Window", 522, 10, 80, 28}, {"Refresh", 608, 10, 86, 28},
      {"Quit", 700, 10, 88, 28},        {"Prev", 10, 562, 80, 28},   {"Contents", 96, 562, 96, 28},
      {"Next", 198, 562, 80, 28},
  };
  return spots;
}

ButtonSpot StatusLine() { return {"status", 432, kStageHeight - kBarHeight + 6, 360, 36}; }

swf::Bytes MainMovie(Edition edition, const std::vector<Page>& pages) {
  swf::MovieBuilder movie(
      {.version = 8, .width = kStageWidth, .height = kStageHeight, .frame_rate = 24});
  movie.Add(swf::SetBackgroundColor({0x0b, 0x13, 0x2b}));
  IdSource ids;
  Parts parts;
  const Fonts fonts = DefineFonts(ids, parts);

  AddPageArea(edition, pages, ids, fonts, parts);

  std::uint16_t depth = kChromeDepth;
  for (const int top : {0, kStageHeight - kBarHeight}) {
    const std::uint16_t bar = ids.Take();
    parts.definitions.push_back(swf::RectangleShape(
        bar, swf::PixelRect(0, 0, kStageWidth, kBarHeight), Colour(kBarColour)));
    parts.Place(bar, depth++, 0, top);
  }
  AddField(ids, parts, fonts,
           {12, 11, 400, 28, 20, 0xffd166, true, 0, "pagoro 样刊 · Sample Magazine", ""}, depth++);
  for (const ButtonSpot& b : MainButtons()) {
    AddButton(ids, parts, fonts, b.name, b.x, b.y, b.width, b.height, {},
              ButtonAction(b.name).Finish(), depth++);
  }
  const int bottom = kStageHeight - kBarHeight;
  AddField(ids, parts, fonts, {286, bottom + 14, 140, 22, 15, 0xffffff, true, 2, "", "counter"},
           depth++);
  const ButtonSpot status = StatusLine();
  AddField(ids, parts, fonts,
           {status.x, status.y, status.width, status.height, 12, 0xcfd8ff, false, 1, "", "status"},
           depth++);

  movie.Add(parts.definitions).Add(parts.display);
  movie.Add(swf::DoAction(FirstFrame(edition, static_cast<int>(pages.size())).Finish()));
  movie.Add(swf::ShowFrame());
  return movie.Finish();
}

}  // namespace pagoro::sample
