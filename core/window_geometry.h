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

// `wanted` (a windowed-mode rectangle) made to lie within `area`, the part
// of the screen that windows may take (the screen less its panels): a
// rectangle that already lies within stays as it is; one that fits in size
// is moved in by the least; one larger than the area becomes the largest
// window that fits, its movie part (the window less the margin) in the
// movie's aspect ratio, centred in the area. An empty area changes nothing.
WindowRect FitWithin(const WindowRect& wanted, const WindowRect& area, std::int32_t movieWidth,
                     std::int32_t movieHeight);

}  // namespace pagoro
