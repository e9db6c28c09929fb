// Polygon fills: a convex polygon is split into trapezoid bands between consecutive vertex rows.
// Bands own their top row but not their bottom row (except the last), so a translucent fill
// combines every pixel once.
#include "pix/PIX_Polygon.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "pix/PIX_Plotter.h"

namespace {
const long long kMaxSlope = 1LL << 29;

long long ClampSlope(long long s) { return s > kMaxSlope ? kMaxSlope : (s < -kMaxSlope ? -kMaxSlope : s); }

// Edges stepped in 16.16 fixed point from row y1 (ends rounded to the nearest pixel).
void Trapezoid(const PIX_Plotter& pl, long long x1a, long long x1b, long long y1, long long x2a,
               long long x2b, long long y2, bool includeLast) {
  if (y1 > y2) {
    std::swap(x1a, x2a);
    std::swap(x1b, x2b);
    std::swap(y1, y2);
  }
  if (y1 == y2) {
    pl.hspan(std::min(std::min(x1a, x1b), std::min(x2a, x2b)),
             std::max(std::max(x1a, x1b), std::max(x2a, x2b)), y1);
    return;
  }
  const long long dy = y2 - y1;
  const long long sa = ClampSlope((x2a - x1a) * 65536 / dy), sb = ClampSlope((x2b - x1b) * 65536 / dy);
  long long first = y1 > pl.top() ? y1 : pl.top();
  long long last = includeLast ? y2 : y2 - 1;
  if (last > pl.bottom() - 1) last = pl.bottom() - 1;
  long long pa = x1a * 65536 + 0x8000 + (first - y1) * sa;
  long long pb = x1b * 65536 + 0x8000 + (first - y1) * sb;
  for (long long y = first; y <= last; y++, pa += sa, pb += sb) {
    const long long a = pa >= 0 ? pa >> 16 : -((-pa + 65535) >> 16);
    const long long b = pb >= 0 ? pb >> 16 : -((-pb + 65535) >> 16);
    pl.hspan(a, b, y);
  }
}

struct Pt {
  long long x, y;
};

// x of the chain at row y, on the segment starting at the last vertex at or above y.
long long ChainX(const std::vector<Pt>& chain, long long y) {
  size_t i = 0;
  while (i + 1 < chain.size() && chain[i + 1].y <= y) i++;
  if (i + 1 >= chain.size()) {
    // y is the chain's last row: the last vertex, unless a flat edge leads into it.
    return chain.back().x;
  }
  const Pt& a = chain[i];
  const Pt& b = chain[i + 1];
  if (b.y == a.y) return b.x;
  return a.x + (long long)std::floor((double)(b.x - a.x) * (double)(y - a.y) / (double)(b.y - a.y) + 0.5);
}

// x of the chain at row y, on the segment ending at the first vertex at or below y.
long long ChainXFromAbove(const std::vector<Pt>& chain, long long y) {
  size_t i = chain.size() - 1;
  while (i > 0 && chain[i - 1].y >= y) i--;
  if (i == 0) return chain[0].x;
  const Pt& a = chain[i - 1];
  const Pt& b = chain[i];
  if (b.y == a.y) return a.x;
  return a.x + (long long)std::floor((double)(b.x - a.x) * (double)(y - a.y) / (double)(b.y - a.y) + 0.5);
}
}  // namespace

void PIX_FillTrapezoid(PIX_IBitmap* bm, int x1a, int x1b, int y1, int x2a, int x2b, int y2, PIX_Pixel colour,
                       float weight, int mode) {
  PIX_Plotter pl(bm, colour, weight, mode);
  if (!pl.valid()) return;
  Trapezoid(pl, x1a, x1b, y1, x2a, x2b, y2, true);
}

void PIX_FillConvexPolygon(PIX_IBitmap* bm, const int* xs, const int* ys, int n, PIX_Pixel colour,
                           float weight, int mode) {
  if (!xs || !ys || n < 3) return;
  PIX_Plotter pl(bm, colour, weight, mode);
  if (!pl.valid()) return;
  std::vector<Pt> pts((size_t)n);
  for (int i = 0; i < n; i++) pts[i] = Pt{xs[i], ys[i]};
  std::sort(pts.begin(), pts.end(),
            [](const Pt& a, const Pt& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  const Pt top = pts.front(), bottom = pts.back();
  if (top.y == bottom.y) {
    pl.hspan(top.x, bottom.x, top.y);
    return;
  }
  // Each vertex belongs to the chain on its side of the line from the top to the bottom vertex.
  std::vector<Pt> left{top}, right{top};
  std::vector<long long> rows{top.y};
  for (int i = 1; i + 1 < n; i++) {
    const Pt& p = pts[i];
    const double cross = (double)(bottom.x - top.x) * (double)(p.y - top.y) -
                         (double)(bottom.y - top.y) * (double)(p.x - top.x);
    (cross > 0 ? left : right).push_back(p);
    if (p.y != rows.back()) rows.push_back(p.y);
  }
  left.push_back(bottom);
  right.push_back(bottom);
  if (bottom.y != rows.back()) rows.push_back(bottom.y);

  for (size_t k = 0; k + 1 < rows.size(); k++) {
    const long long ya = rows[k], yb = rows[k + 1];
    if (yb < pl.top() || ya >= pl.bottom()) continue;
    Trapezoid(pl, ChainX(left, ya), ChainX(right, ya), ya, ChainXFromAbove(left, yb),
              ChainXFromAbove(right, yb), yb, k + 2 == rows.size());
  }
}

void PIX_FillTriangle(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, PIX_Pixel colour,
                      float weight, int mode) {
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  PIX_FillConvexPolygon(bm, xs, ys, 3, colour, weight, mode);
}
