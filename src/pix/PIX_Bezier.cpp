// Bezier curves, flattened into segments about four pixels long.
#include "pix/PIX_Bezier.h"

#include <cmath>
#include <vector>

#include "pix/PIX_Line.h"
#include "pix/PIX_Plotter.h"

namespace {
struct P {
  double x, y;
};

bool Load(const float* xs, const float* ys, int n, P* out) {
  if (!xs || !ys) return false;
  for (int i = 0; i < n; i++) {
    if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]) || std::fabs(xs[i]) > 1e7f || std::fabs(ys[i]) > 1e7f)
      return false;
    out[i] = P{xs[i], ys[i]};
  }
  return true;
}

int Segments(const P* p, int n) {
  double len = 0;
  for (int i = 1; i < n; i++) len += std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
  int segs = (int)(len / 4);
  return segs < 4 ? 4 : (segs > 512 ? 512 : segs);
}

P Cubic(const P* p, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return P{a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x,
           a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y};
}

P Quadratic(const P* p, double t) {
  const double u = 1 - t;
  return P{u * u * p[0].x + 2 * u * t * p[1].x + t * t * p[2].x,
           u * u * p[0].y + 2 * u * t * p[1].y + t * t * p[2].y};
}

template <class Curve>
void Stroke(PIX_IBitmap* bm, const P* p, int n, Curve curve, PIX_Pixel colour, float weight, int mode,
            bool aa) {
  const int segs = Segments(p, n);
  P prev = p[0];
  for (int i = 1; i <= segs; i++) {
    const P next = curve(p, (double)i / segs);
    PIX_FLine(bm, (float)prev.x, (float)prev.y, (float)next.x, (float)next.y, colour, weight, mode, aa);
    prev = next;
  }
}
}  // namespace

void PIX_DrawQBezier(PIX_IBitmap* bm, const float* xs, const float* ys, PIX_Pixel colour, float weight,
                     int mode, bool antialias) {
  P p[3];
  if (Load(xs, ys, 3, p)) Stroke(bm, p, 3, Quadratic, colour, weight, mode, antialias);
}

void PIX_DrawCBezier(PIX_IBitmap* bm, const float* xs, const float* ys, PIX_Pixel colour, float weight,
                     int mode, bool antialias) {
  P p[4];
  if (Load(xs, ys, 4, p)) Stroke(bm, p, 4, Cubic, colour, weight, mode, antialias);
}

void PIX_FillCBezier(PIX_IBitmap* bm, const float* xs, const float* ys, int baseY, PIX_Pixel colour,
                     float weight, int mode) {
  P p[4];
  PIX_Plotter pl(bm, colour, weight, mode);
  if (!pl.valid() || !Load(xs, ys, 4, p)) return;
  // One span per column: the curve's row where it first crosses that column's centre.
  const int w = pl.width();
  std::vector<long long> rowAt((size_t)w, 0);
  std::vector<char> seen((size_t)w, 0);
  const int segs = Segments(p, 4) * 2;
  P prev = p[0];
  for (int i = 1; i <= segs; i++) {
    const P next = Cubic(p, (double)i / segs);
    double x0 = prev.x, x1 = next.x, y0 = prev.y, y1 = next.y;
    if (x1 < x0) {
      std::swap(x0, x1);
      std::swap(y0, y1);
    }
    long long c0 = (long long)std::ceil(x0 - 0.5), c1 = (long long)std::floor(x1 - 0.5);
    if (c0 < 0) c0 = 0;
    if (c1 > w - 1) c1 = w - 1;
    for (long long c = c0; c <= c1; c++) {
      if (seen[c]) continue;
      const double t = x1 > x0 ? (c + 0.5 - x0) / (x1 - x0) : 0.0;
      rowAt[c] = (long long)std::floor(y0 + (y1 - y0) * t + 0.5);
      seen[c] = 1;
    }
    prev = next;
  }
  for (int c = 0; c < w; c++)
    if (seen[c]) pl.vspan(c, rowAt[c], baseY);
}
