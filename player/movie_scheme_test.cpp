#include "player/movie_scheme.h"

#include <gtest/gtest.h>

#include "player/requested_file.h"

namespace pagoro {
namespace {

// A file's address keeps its path's bytes, whatever they are, and spells a
// UTF-8 path as before (the page keys of kept shared objects are spelled
// so).
TEST(MovieSchemeTest, AFilesAddressDecodesToItsPathsBytes) {
  const std::string paths[] = {"/tmp/\xD4\xD3\xD6\xBE/main.swf",
                               "/tmp/杂志/main.swf",
                               "/tmp/50%20off/a b#c?d.swf",
                               "/x/%zz/%",
                               "/x/\x01\x7F\xFF.swf",
                               "/"};
  for (const std::string& path : paths) {
    const QUrl url = MovieScheme::FileUrl(path);
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    EXPECT_EQ(PercentDecoded(
                  std::string_view(encoded.constData(), static_cast<std::size_t>(encoded.size()))),
              path);
    EXPECT_FALSE(url.hasQuery() || url.hasFragment()) << path;
    EXPECT_EQ(url.host(), "reader");
  }
  QUrl before;
  before.setPath(QStringLiteral("/tmp/杂志/50%20off/a b#c?d.swf"), QUrl::DecodedMode);
  EXPECT_EQ(MovieScheme::FileUrl("/tmp/杂志/50%20off/a b#c?d.swf").path(QUrl::FullyEncoded),
            before.path(QUrl::FullyEncoded));
}

}  // namespace
}  // namespace pagoro
