#include "tools/sample/pictures.h"

#include <algorithm>
#include <cmath>

namespace pagoro::sample {
namespace {

struct Colour {
  double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A small fixed grain, the same on every run, so that the pictures look
// printed rather than flat (and do not shrink to nothing when compressed).
double Grain(int x, int y) {
  std::uint32_t h =
      static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<double>(h & 0xff) / 255.0 - 0.5;
}

Colour Sunrise(double u, double v, int x, int y) {
  Colour c = Mix({255, 190, 120}, {60, 40, 110}, v * 1.4);
  const double dx = u - 0.62, dy = v - 0.55;
  const double sun = std::sqrt(dx * dx + dy * dy);
  if (sun < 0.12) c = Mix({255, 250, 210}, {255, 200, 90}, sun / 0.12);
  const double hill = 0.70 + 0.06 * std::sin(u * 9.0) + 0.03 * std::sin(u * 23.0 + 1.0);
  if (v > hill) c = Mix({70, 50, 90}, {30, 20, 50}, (v - hill) * 3);
  const double g = Grain(x, y) * 14;
  return {c.r + g, c.g + g, c.b + g};
}

Colour Hills(double u, double v, int x, int y) {
  Colour c = Mix({120, 180, 240}, {220, 235, 250}, v * 1.8);
  const double far = 0.45 + 0.08 * std::sin(u * 5.0 + 0.5);
  const double near = 0.62 + 0.10 * std::sin(u * 3.0 + 2.0);
  if (v > far) c = Mix({90, 150, 90}, {60, 120, 70}, (v - far) * 4);
  if (v > near) c = Mix({110, 170, 60}, {50, 110, 40}, (v - near) * 3);
  if (v > 0.82 && std::abs(u - 0.3) < 0.25 - (v - 0.82))
    c = Mix({70, 130, 200}, {40, 90, 160}, (v - 0.82) * 5);
  const double g = Grain(x, y) * 12;
  return {c.r + g, c.g + g, c.b + g};
}

Colour Tiles(double u, double v, int x, int y) {
  const int tile = 24;
  const int tx = x / tile, ty = y / tile;
  const bool odd = ((tx + ty) & 1) != 0;
  Colour c = odd ? Colour{230, 120, 60} : Colour{250, 210, 120};
  const int fx = x % tile, fy = y % tile;
  if (fx < 2 || fy < 2) c = {120, 60, 40};
  const double ring = std::hypot(fx - tile / 2.0, fy - tile / 2.0);
  if (ring > 5 && ring < 7) c = Mix(c, {255, 255, 255}, 0.6);
  c = Mix(c, {150, 40, 80}, u * v * 0.6);
  const double g = Grain(x, y) * 10;
  return {c.r + g, c.g + g, c.b + g};
}

std::uint8_t Channel(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Picture DrawPicture(PictureKind kind, int width, int height) {
  Picture p{width, height, {}};
  p.rgba.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      const double v = static_cast<double>(y) / height;
      Colour c{};
      switch (kind) {
        case PictureKind::kSunrise: c = Sunrise(u, v, x, y); break;
        case PictureKind::kHills: c = Hills(u, v, x, y); break;
        case PictureKind::kTiles: c = Tiles(u, v, x, y); break;
      }
      p.rgba.push_back(Channel(c.r));
      p.rgba.push_back(Channel(c.g));
      p.rgba.push_back(Channel(c.b));
      p.rgba.push_back(255);
    }
  }
  return p;
}

}  // namespace pagoro::sample
