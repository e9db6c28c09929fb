// An 8-bit coverage map over a box of canvas pixels: the shape or glyph that a fill paints through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Coverage {
  int x0 = 0, y0 = 0;  // canvas pixel of the first entry
  int w = 0, h = 0;
  std::vector<uint8_t> a;

  Coverage() = default;
  Coverage(int x, int y, int width, int height);

  // 0 outside the box; x and y are canvas pixels.
  int at(int x, int y) const {
    x -= x0;
    y -= y0;
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    return a[(size_t)y * w + x];
  }
  bool empty() const { return w <= 0 || h <= 0; }
};

// Keeps only what both cover (the product of the two coverages), in the box of a.
Coverage Intersect(const Coverage& a, const Coverage& b);
// a where b does not cover.
Coverage Subtract(const Coverage& a, const Coverage& b);
// Moved by whole canvas pixels.
Coverage Shifted(Coverage c, int dx, int dy);
// Soft edges for shadows and glows: three box passes of the given radius (canvas pixels), with
// the box grown so nothing is cut off.
Coverage Blurred(const Coverage& c, int radius);
// Every entry times k (clamped).
Coverage Scaled(Coverage c, float k);
