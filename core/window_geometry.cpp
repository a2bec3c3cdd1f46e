#include "core/window_geometry.h"

namespace pagoro {
namespace {

// Two's-complement arithmetic on 32 bits, without signed overflow.
std::int32_t Wrap(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}
std::int32_t Sub(std::int32_t a, std::int32_t b) { return Wrap(std::int64_t{a} - b); }
std::int32_t Add(std::int32_t a, std::int32_t b) { return Wrap(std::int64_t{a} + b); }

}  // namespace

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
