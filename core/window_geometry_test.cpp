#include "core/window_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace pagoro {
namespace {

struct Case {
  const char* what;
  std::int32_t screenW, screenH, movieW, movieH;
  WindowRect want;
};

TEST(WindowedGeometryTest, CentresTheMovieWithItsMargins) {
  const Case cases[] = {
      {"movie smaller than the screen", 1024, 768, 800, 600, {82, 49, 860, 660}},
      {"-1 div 2 truncates to 0", 1024, 768, 965, 699, {0, 0, 1025, 759}},
      {"movie larger than the screen", 1024, 768, 1281, 1025, {-158, -163, 1341, 1085}},
      {"no header read yet", 1024, 768, 0, 0, {482, 349, 60, 60}},
      {"odd remainders truncate", 1025, 769, 0, 0, {482, 349, 60, 60}},
      {"negative movie size from the header", 1024, 768, -100, -10, {532, 354, -40, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WindowRect r = WindowedGeometry(c.screenW, c.screenH, c.movieW, c.movieH);
    EXPECT_EQ(r.left, c.want.left);
    EXPECT_EQ(r.top, c.want.top);
    EXPECT_EQ(r.width, c.want.width);
    EXPECT_EQ(r.height, c.want.height);
  }
}

// Sizes near the ends of the 32-bit range wrap like the machine's integers
// instead of overflowing (which the sanitizer build would stop on).
TEST(WindowedGeometryTest, ExtremeSizesWrapOnThirtyTwoBits) {
  const WindowRect big = WindowedGeometry(1024, 768, INT_MAX, INT_MAX);
  EXPECT_EQ(big.width, INT_MIN + 59);
  EXPECT_EQ(big.height, INT_MIN + 59);
  EXPECT_EQ(big.left, (1024 - 60 - INT_MAX) / 2);

  const WindowRect small = WindowedGeometry(1024, 768, INT_MIN, INT_MIN);
  EXPECT_EQ(small.width, INT_MIN + 60);
  // 1024 - INT_MIN wraps to INT_MIN + 1024, minus 60.
  EXPECT_EQ(small.left, (INT_MIN + 1024 - 60) / 2);
  EXPECT_EQ(small.top, (INT_MIN + 768 - 70) / 2);
}

}  // namespace
}  // namespace pagoro
