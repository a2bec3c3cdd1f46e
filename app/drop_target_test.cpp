#include "app/drop_target.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <string>
#include <vector>

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

// Data that counts how often it is read: each read of a real drag's data
// is a round trip to the drag source.
class CountedData : public QMimeData {
 public:
  mutable int reads = 0;

 protected:
  QVariant retrieveData(const QString& type, QMetaType meta) const override {
    ++reads;
    return QMimeData::retrieveData(type, meta);
  }
};

TEST(DropTargetTest, TheDropTakesThePathReadAsTheDragCameIn) {
  // Drag events ask the application for the pointing device.
  int argc = 3;
  char name[] = "drop_target_test";
  char platform[] = "-platform";
  char offscreen[] = "offscreen";
  char* argv[] = {name, platform, offscreen, nullptr};
  const QGuiApplication app(argc, argv);
  std::vector<std::string> opened;
  DropTarget target([&](const std::string& path) { opened.push_back(path); });
  QObject window;
  CountedData data;
  data.setUrls({QUrl::fromLocalFile("/books/Dropped.exe")});

  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(target.eventFilter(&window, &enter));
  EXPECT_TRUE(enter.isAccepted());
  const int readsAtEnter = data.reads;
  EXPECT_GT(readsAtEnter, 0);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  EXPECT_TRUE(target.eventFilter(&window, &drop));
  EXPECT_EQ(data.reads, readsAtEnter) << "the source was asked again at the drop";
  EXPECT_TRUE(opened.empty()) << "opened within the drop, holding up its source";
  QCoreApplication::processEvents();
  EXPECT_EQ(opened, std::vector<std::string>{"/books/Dropped.exe"});

  // After a leave, a drop without an enter of its own reads the data then.
  QDragEnterEvent again(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  target.eventFilter(&window, &again);
  QDragLeaveEvent leave;
  target.eventFilter(&window, &leave);
  const int readsBefore = data.reads;
  QDropEvent late(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  target.eventFilter(&window, &late);
  EXPECT_GT(data.reads, readsBefore);
  QCoreApplication::processEvents();
  EXPECT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened.back(), "/books/Dropped.exe");
}

}  // namespace
}  // namespace pagoro
