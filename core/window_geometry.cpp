#include "core/window_geometry.h"

#include <algorithm>

namespace pagoro {
namespace {

// Two's-complement arithmetic on 32 bits, without signed overflow.
std::int32_t Wrap(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}
std::int32_t Sub(std::int32_t a, std::int32_t b) { return Wrap(std::int64_t{a} - b); }
std::int32_t Add(std::int32_t a, std::int32_t b) { return Wrap(std::int64_t{a} + b); }

// Moves the span [start, start + size) into [from, from + room) by the least.
std::int32_t Into(std::int32_t start, std::int32_t size, std::int32_t from, std::int32_t room) {
  const std::int64_t last = std::int64_t{from} + room - size;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(start, from, last));
}

}  // namespace

WindowRect FitWithin(const WindowRect& wanted, const WindowRect& area, std::int32_t movieWidth,
                     std::int32_t movieHeight) {
  if (area.width <= 0 || area.height <= 0) return wanted;
  if (wanted.width > 0 && wanted.height > 0 && wanted.width <= area.width &&
      wanted.height <= area.height) {
    WindowRect r = wanted;
    r.left = Into(wanted.left, wanted.width, area.left, area.width);
    r.top = Into(wanted.top, wanted.height, area.top, area.height);
    return r;
  }
  // The largest movie part that fits beside the margin, in the movie's shape;
  // without a usable shape or room for a margin, the whole area.
  const bool roomForMargin = area.width > kWindowedMargin && area.height > kWindowedMargin;
  const std::int64_t roomW = std::int64_t{area.width} - kWindowedMargin;
  const std::int64_t roomH = std::int64_t{area.height} - kWindowedMargin;
  std::int64_t width = area.width;
  std::int64_t height = area.height;
  if (movieWidth > 0 && movieHeight > 0 && roomForMargin) {
    if (roomW * movieHeight <= roomH * movieWidth) {
      width = roomW;
      height = roomW * movieHeight / movieWidth;
    } else {
      height = roomH;
      width = roomH * movieWidth / movieHeight;
    }
    width += kWindowedMargin;
    height += kWindowedMargin;
  }
  WindowRect r;
  r.width = static_cast<std::int32_t>(width);
  r.height = static_cast<std::int32_t>(height);
  r.left = static_cast<std::int32_t>(area.left + (area.width - width) / 2);
  r.top = static_cast<std::int32_t>(area.top + (area.height - height) / 2);
  return r;
}

WindowRect WindowedGeometry(std::int32_t screenWidth, std::int32_t screenHeight,
                            std::int32_t movieWidth, std::int32_t movieHeight) {
  WindowRect r;
  // C++ division truncates toward zero (-317 / 2 == -158): the placement
  // rounds that way, where a flooring division would put a window larger
  // than the screen one pixel further out.
  r.left = Sub(Sub(screenWidth, movieWidth), kWindowedMargin) / 2;
  r.top = Sub(Sub(screenHeight, movieHeight), kWindowedTopMargin) / 2;
  r.height = Add(movieHeight, kWindowedMargin);
  r.width = Add(movieWidth, kWindowedMargin);
  return r;
}

}  // namespace pagoro
