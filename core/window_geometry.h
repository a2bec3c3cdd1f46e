// Where the window stands in windowed mode: centred on the screen, sized from
// the movie plus a margin. A pure function so that it can be checked without
// a window.
#pragma once

#include <cstdint>

namespace pagoro {

struct WindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;  // outer size == client size: the window has no border
  std::int32_t height = 0;
};

// Margin added to the movie's width and height for the window's size.
inline constexpr std::int32_t kWindowedMargin = 60;
// Margin taken off for the vertical position (the window stands 5 pixels
// above the centre).
inline constexpr std::int32_t kWindowedTopMargin = 70;

// The windowed-mode rectangle for a movie of movieWidth x movieHeight on a
// screen of screenWidth x screenHeight. 32-bit signed arithmetic that wraps
// like the machine's, division truncating toward zero, nothing clamped: a
// movie larger than the screen gives negative edges.
WindowRect WindowedGeometry(std::int32_t screenWidth, std::int32_t screenHeight,
                            std::int32_t movieWidth, std::int32_t movieHeight);

}  // namespace pagoro
