#include "app/drop_target.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>

namespace pagoro {
namespace {

TEST(FirstDroppedPathTest, OnlyTheFirstLocalPathWhole) {
  QMimeData two;
  two.setUrls({QUrl::fromLocalFile("/books/First.exe"), QUrl::fromLocalFile("/books/Second.exe")});
  EXPECT_EQ(FirstDroppedPath(&two), "/books/First.exe");

  // Far longer than the 255 bytes some systems cut a dropped path to.
  const QString deep = "/books/" + QString(300, QChar('d')) + "/春天 Spring #1 50%.exe";
  QMimeData long_path;
  long_path.setUrls({QUrl::fromLocalFile(deep)});
  EXPECT_EQ(FirstDroppedPath(&long_path), deep.toStdString());

  // A name in code page 936 bytes (杂志.exe) arrives escaped byte by byte.
  QMimeData gbk;
  gbk.setData("text/uri-list", "file:///books/%D4%D3%D6%BE.exe\r\n");
  EXPECT_EQ(FirstDroppedPath(&gbk), "/books/\xD4\xD3\xD6\xBE.exe");

  // A first URL that is no local file opens nothing, even when others are.
  QMimeData remote_first;
  remote_first.setUrls({QUrl("https://example.org/Book.exe"), QUrl::fromLocalFile("/books/B.exe")});
  EXPECT_EQ(FirstDroppedPath(&remote_first), "");

  QMimeData text_only;
  text_only.setText("/books/Book.exe");
  EXPECT_EQ(FirstDroppedPath(&text_only), "");
  EXPECT_EQ(FirstDroppedPath(nullptr), "");
}

}  // namespace
}  // namespace pagoro
