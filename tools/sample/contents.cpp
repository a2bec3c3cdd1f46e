#include "tools/sample/contents.h"

namespace pagoro::sample {
namespace {

std::vector<Page> BuildPages() {
  std::vector<Page> pages;

  Page cover{"cover.swf", "封面 · Cover", 0x26365f, {}, std::nullopt, false};
  cover.texts = {
      {40, 28, 720, 64, 52, 0xffd166, true, 2, "PAGORO"},
      {40, 92, 720, 32, 22, 0xffffff, false, 2, "样刊 · The Sample Magazine · Issue 1"},
      {40, 432, 720, 26, 16, 0xcfd8ff, false, 2,
       "Turn the page with Next, the → key or Page Down; go back with Prev, ← or Page Up."},
  };
  cover.picture = PictureSpot{"封面.png", PictureKind::kSunrise, 220, 140, 360, 270};
  pages.push_back(cover);

  Page contents{"contents.swf", "目录 · Contents", 0xf4f1ea, {}, std::nullopt, true};
  contents.texts = {
      {40, 24, 720, 44, 32, 0x1c2541, true, 0, "目录 · Contents"},
      {40, 420, 720, 40, 14, 0x555555, false, 0,
       "Click a title to go there. The list is read from the magazine's own "
       "table of contents file, 目录.xml, in the folder the reader wrote the files to."},
  };
  pages.push_back(contents);

  Page welcome{"welcome.swf", "Welcome", 0xffffff, {}, std::nullopt, false};
  welcome.texts = {
      {40, 24, 720, 44, 30, 0x1c2541, true, 0, "Welcome to pagoro"},
      {40, 80, 400, 300, 16, 0x202020, false, 0,
       "This magazine is a single program: the reader with the magazine's files "
       "packed onto its end.\n\n"
       "When it starts, the reader writes the pages, the pictures and the table "
       "of contents into a folder of its own and plays the main movie. The main "
       "movie asks where that folder is, then loads each page from it as you "
       "turn the pages.\n\n"
       "The picture on the right is a file of the magazine, loaded by this page."},
  };
  welcome.picture = PictureSpot{"hills.png", PictureKind::kHills, 460, 90, 300, 220};
  pages.push_back(welcome);

  Page chinese{"chinese.swf", "中文版面 · In Chinese", 0xfff8e7, {}, std::nullopt, false};
  chinese.texts = {
      {40, 24, 720, 44, 30, 0x8b1e3f, true, 0, "中文版面"},
      {40, 84, 720, 330, 20, 0x202020, false, 0,
       "欢迎阅读本刊！\n\n"
       "这本电子杂志是一个独立的程序：阅读器加上附在其后的杂志文件。"
       "启动时，阅读器把页面、图片和目录写入自己的缓存文件夹，然后播放主影片。\n\n"
       "按“全屏”进入全屏模式，按“窗口”或 Esc 键回到窗口模式。"
       "单击鼠标右键，主影片会显示阅读器发来的消息。\n\n"
       "本页文字使用系统字体显示。"},
  };
  pages.push_back(chinese);

  Page controls{"controls.swf", "Buttons and keys", 0xeef6ff, {}, std::nullopt, false};
  controls.texts = {
      {40, 24, 720, 44, 30, 0x1c2541, true, 0, "Buttons and keys"},
      {40, 80, 720, 340, 16, 0x202020, false, 0,
       "Full screen and Window switch the reader between its two window modes. "
       "Escape also leaves full screen: the reader tells the magazine "
       "\"restore\", and the line at the bottom right shows it.\n\n"
       "The right mouse button belongs to the magazine too: the reader tells it "
       "\"restorePage\" instead of opening a menu.\n\n"
       "Refresh asks the reader to answer \"Refresh\"; the magazine shows the "
       "answer and loads the page again.\n\n"
       "Quit closes the reader, which then removes the magazine's files from "
       "its folder.\n\n"
       "Keys: → or Page Down for the next page, ← or Page Up for the previous "
       "one, Home for the cover."},
  };
  pages.push_back(controls);

  Page make{"make-your-own.swf", "Make your own", 0xf3fff0, {}, std::nullopt, false};
  make.texts = {
      {40, 24, 720, 44, 30, 0x1c2541, true, 0, "Make your own"},
      {40, 80, 400, 330, 16, 0x202020, false, 0,
       "Put main.swf and the files it loads into one folder, then:\n\n"
       "pagoro-book pack FOLDER -o Book.exe\n\n"
       "Started, Book.exe shows your movie. The movie learns where its files "
       "are with fscommand(\"outcommand\", \"SetTempPath\"): the reader sets "
       "the variable TempPath to that folder.\n\n"
       "pagoro-book list Book.exe shows what is inside; pagoro-book extract "
       "gives the files back."},
  };
  make.picture = PictureSpot{"tiles.png", PictureKind::kTiles, 460, 90, 300, 220};
  pages.push_back(make);
  return pages;
}

void AppendEscaped(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

}  // namespace

const std::vector<Page>& MagazinePages() {
  static const std::vector<Page> pages = BuildPages();
  return pages;
}

std::string ContentsXml(const std::vector<Page>& pages) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<contents>\n";
  for (const Page& page : pages) {
    xml += "  <page file=\"";
    AppendEscaped(xml, page.file);
    xml += "\" title=\"";
    AppendEscaped(xml, page.title);
    xml += "\"/>\n";
  }
  xml += "</contents>\n";
  return xml;
}

Row ContentsRow(int n) { return {60, 80 + (n - kFirstListedPage) * 56, 680, 44}; }

}  // namespace pagoro::sample
