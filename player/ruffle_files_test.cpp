#include "player/ruffle_files.h"

#include <gtest/gtest.h>

#include <QFile>

namespace pagoro {
namespace {

QByteArray Original(const QString& name) {
  QFile file(QStringLiteral(PAGORO_RUFFLE_DIR "/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(RuffleFilesTest, TheCoreStoredAsADifferenceComesBackByteExact) {
  const QString rebuilt = QStringLiteral(PAGORO_RUFFLE_REBUILT);
  if (rebuilt.isEmpty()) GTEST_SKIP() << "both cores are compiled in whole";
  const QString core = QStringLiteral(PAGORO_RUFFLE_CORE);
  EXPECT_FALSE(RuffleResource(core).isEmpty());
  EXPECT_TRUE(RuffleResource(rebuilt).isEmpty());

  QByteArray bytes;
  ASSERT_TRUE(RebuildRuffleFile(rebuilt, &bytes));
  const QByteArray original = Original(rebuilt);
  ASSERT_FALSE(original.isEmpty());
  EXPECT_TRUE(bytes == original) << bytes.size() << " bytes, want " << original.size();
  // The whole core has no difference to rebuild from.
  EXPECT_FALSE(RebuildRuffleFile(core, &bytes));
}

TEST(RuffleFilesTest, NamesOutsideRufflesFolderAreNone) {
  QByteArray bytes = "untouched";
  for (const char* name :
       {"", "..", "../player/host.html", "x/ruffle.js", "ruffle.js.from.a.zst", "nothing.wasm"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(RuffleResource(QString::fromUtf8(name)).isEmpty());
    EXPECT_FALSE(RebuildRuffleFile(QString::fromUtf8(name), &bytes));
  }
  EXPECT_EQ(bytes, "untouched");
  EXPECT_FALSE(RuffleResource(QStringLiteral("ruffle.js")).isEmpty());
}

}  // namespace
}  // namespace pagoro
