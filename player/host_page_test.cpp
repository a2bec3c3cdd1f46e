#include "player/host_page.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

TEST(OpensInBrowserTest, WebAndMailLinksOnly) {
  EXPECT_TRUE(OpensInBrowser(QUrl("http://example.com/")));
  EXPECT_TRUE(OpensInBrowser(QUrl("https://example.com/a?b")));
  EXPECT_TRUE(OpensInBrowser(QUrl("mailto:editors@example.com?subject=Hi")));
  EXPECT_FALSE(OpensInBrowser(QUrl("mailto:")));
  EXPECT_FALSE(OpensInBrowser(QUrl("http:///nohost")));
  for (const char* other : {"javascript:alert(1)", "file:///etc/passwd", "gopher://example.com/",
                            "pagoro://reader/x.swf", "data:text/html,x", "ftp://example.com/"}) {
    EXPECT_FALSE(OpensInBrowser(QUrl(other))) << other;
  }
}

}  // namespace
}  // namespace pagoro
