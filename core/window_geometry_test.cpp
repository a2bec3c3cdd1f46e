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

void ExpectRect(const WindowRect& got, const WindowRect& want) {
  EXPECT_EQ(got.left, want.left);
  EXPECT_EQ(got.top, want.top);
  EXPECT_EQ(got.width, want.width);
  EXPECT_EQ(got.height, want.height);
}

TEST(FitWithinTest, KeepsWhatLiesWithinAndMovesInWhatFits) {
  const WindowRect screen{0, 0, 1024, 768};
  // The 800x600 movie's window at its usual place lies within: unchanged.
  ExpectRect(FitWithin(WindowedGeometry(1024, 768, 800, 600), screen, 800, 600),
             {82, 49, 860, 660});
  // A panel at the top: the same window moved down just below it.
  ExpectRect(FitWithin({82, 49, 860, 660}, {0, 100, 1024, 668}, 800, 600), {82, 100, 860, 660});
  // Out on the left and bottom, the same size fits: moved in by the least.
  ExpectRect(FitWithin({-5, 300, 400, 500}, screen, 340, 440), {0, 268, 400, 500});
  // An area that is not at the origin (a second screen).
  ExpectRect(FitWithin({0, 0, 100, 100}, {1024, 0, 800, 600}, 40, 40), {1024, 0, 100, 100});
}

TEST(FitWithinTest, ShrinksWhatIsLargerKeepingTheMovieShape) {
  // 1024x768 on 1280x800 (the window would be 1084x828): the movie part
  // becomes 986x740, the window 1046x800, centred.
  ExpectRect(FitWithin(WindowedGeometry(1280, 800, 1024, 768), {0, 0, 1280, 800}, 1024, 768),
             {117, 0, 1046, 800});
  // 1281x1025 on 1024x768: 708 high, 884 wide.
  ExpectRect(FitWithin(WindowedGeometry(1024, 768, 1281, 1025), {0, 0, 1024, 768}, 1281, 1025),
             {40, 0, 944, 768});
  // A wide movie is limited by the width.
  ExpectRect(FitWithin(WindowedGeometry(1024, 768, 4000, 1000), {0, 0, 1024, 768}, 4000, 1000),
             {0, 233, 1024, 301});
  // Sizes from a hostile header: wrapped, negative, zero.
  ExpectRect(
      FitWithin(WindowedGeometry(1024, 768, INT_MAX, INT_MAX), {0, 0, 1024, 768}, INT_MAX, INT_MAX),
      {128, 0, 768, 768});
  ExpectRect(FitWithin(WindowedGeometry(1024, 768, -100, -10), {0, 0, 1024, 768}, -100, -10),
             {0, 0, 1024, 768});
  // An area too small for the margin: the whole area.
  ExpectRect(FitWithin({0, 0, 860, 660}, {0, 0, 50, 40}, 800, 600), {0, 0, 50, 40});
  // No area known: nothing changes.
  ExpectRect(FitWithin({-158, -163, 1341, 1085}, {0, 0, 0, 0}, 1281, 1025),
             {-158, -163, 1341, 1085});
}

}  // namespace
}  // namespace pagoro
