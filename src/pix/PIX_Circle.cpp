// Circles: a midpoint walk over one octant mirrored eight ways, or for anti-aliasing a coverage
// taken from each pixel's distance to the ideal circle. Every pixel is combined once, so
// translucent circles have no darker seams where the octants meet.
#include "pix/PIX_Circle.h"

#include <cmath>
#include <vector>

#include "pix/PIX_Plotter.h"

namespace {
const double kPi = 3.14159265358979323846;

struct Rect {
  long long l, t, r, b;  // right and bottom exclusive
};

struct Circle {
  long long cx, cy, r;
};

// Rounds by adding 0.5 and truncating; false for a negative radius, values too large to matter
// or a circle more than 2 pixels outside the bitmap.
bool Setup(const PIX_Plotter& pl, float fcx, float fcy, float fr, Circle& c) {
  if (!std::isfinite(fcx) || !std::isfinite(fcy) || !std::isfinite(fr) || fr < 0) return false;
  if (std::fabs(fcx) > 1e8f || std::fabs(fcy) > 1e8f || fr > 1e6f) return false;
  c.cx = (long long)(fcx + 0.5f);
  c.cy = (long long)(fcy + 0.5f);
  c.r = (long long)(fr + 0.5f);
  if (c.cx + c.r < -2 || c.cy + c.r < -2 || c.cx - c.r > pl.width() + 1 || c.cy - c.r > pl.height() + 1)
    return false;
  return true;
}

// The midpoint walk over one octant, from (0, r) to the diagonal: visit(x, y) with x <= y.
template <class Visit>
void MidpointOctant(long long r, Visit visit) {
  long long x = 0, y = r, d = 1 - r;
  while (x <= y) {
    visit(x, y);
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      y--;
    }
    x++;
  }
}

// Emits every pixel of the outline once, with its coverage (256 = full), relative to the centre.
template <class Emit>
void Outline(long long r, bool aa, Emit emit) {
  auto mirror4 = [&](long long x, long long y, int k) {
    emit(x, y, k);
    if (x) emit(-x, y, k);
    if (y) emit(x, -y, k);
    if (x && y) emit(-x, -y, k);
  };
  if (!aa) {
    MidpointOctant(r, [&](long long x, long long y) {
      mirror4(x, y, 256);
      if (x != y) mirror4(y, x, 256);
    });
    return;
  }
  // Coverage falls linearly from 1 on the ideal circle to 0 one pixel away.
  const double rr = (double)r;
  for (long long y = 0; y <= r + 1; y++) {
    const double inner = (rr - 1) * (rr - 1) - (double)y * y;
    long long x0 = (rr > 1 && inner > 0) ? (long long)std::sqrt(inner) : 0;
    const double outer = (rr + 1) * (rr + 1) - (double)y * y;
    if (outer < 0) break;
    const long long x1 = (long long)std::sqrt(outer);
    for (long long x = x0; x <= x1; x++) {
      const double dist = std::sqrt((double)x * x + (double)y * y);
      const int k = (int)((1.0 - std::fabs(dist - rr)) * 256.0);
      if (k > 0) mirror4(x, y, k);
    }
  }
}

void DrawOutline(const PIX_Plotter& pl, const Circle& c, bool aa, const std::vector<Rect>* clips) {
  Outline(c.r, aa, [&](long long dx, long long dy, int k) {
    const long long x = c.cx + dx, y = c.cy + dy;
    if (clips) {
      bool in = false;
      for (const Rect& q : *clips)
        if (x >= q.l && x < q.r && y >= q.t && y < q.b) {
          in = true;
          break;
        }
      if (!in) return;
    }
    pl.plotCoverage(x, y, k);
  });
}
}  // namespace

void PIX_Circle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_Pixel colour, float weight, int mode,
                bool antialias) {
  PIX_Plotter pl(bm, colour, weight, mode);
  Circle c;
  if (!pl.valid() || !Setup(pl, cx, cy, r, c)) return;
  DrawOutline(pl, c, antialias, nullptr);
}

void PIX_FillCircle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_Pixel colour, float weight, int mode,
                    bool antialias) {
  PIX_Plotter pl(bm, colour, weight, mode);
  Circle c;
  if (!pl.valid() || !Setup(pl, cx, cy, r, c)) return;
  // Each row once: half-widths first, then one span per row (and the edge pixels when smoothing).
  if (!antialias) {
    std::vector<long long> half((size_t)c.r + 1, -1);
    MidpointOctant(c.r, [&](long long x, long long y) {
      if (half[y] < x) half[y] = x;
      if (half[x] < y) half[x] = y;
    });
    for (long long dy = 0; dy <= c.r; dy++) {
      if (half[dy] < 0) continue;
      pl.hspan(c.cx - half[dy], c.cx + half[dy], c.cy + dy);
      if (dy) pl.hspan(c.cx - half[dy], c.cx + half[dy], c.cy - dy);
    }
    return;
  }
  const double rr = (double)c.r;
  for (long long dy = 0; dy <= c.r + 1; dy++) {
    const double in2 = (rr - 0.5) * (rr - 0.5) - (double)dy * dy;
    const long long inner = in2 >= 0 ? (long long)std::sqrt(in2) : -1;
    const double out2 = (rr + 0.5) * (rr + 0.5) - (double)dy * dy;
    const long long outer = out2 >= 0 ? (long long)std::sqrt(out2) : -1;
    if (inner >= 0) {
      pl.hspan(c.cx - inner, c.cx + inner, c.cy + dy);
      if (dy) pl.hspan(c.cx - inner, c.cx + inner, c.cy - dy);
    }
    for (long long x = inner + 1; x <= outer; x++) {
      const double dist = std::sqrt((double)x * x + (double)dy * dy);
      const int k = (int)((rr + 0.5 - dist) * 256.0);
      if (k <= 0) continue;
      pl.plotCoverage(c.cx + x, c.cy + dy, k);
      if (x) pl.plotCoverage(c.cx - x, c.cy + dy, k);
      if (dy) {
        pl.plotCoverage(c.cx + x, c.cy - dy, k);
        if (x) pl.plotCoverage(c.cx - x, c.cy - dy, k);
      }
    }
  }
}

void PIX_Arc(PIX_IBitmap* bm, float cx, float cy, float r, float minAngle, float maxAngle, PIX_Pixel colour,
             float weight, int mode, bool antialias) {
  if (!std::isfinite(minAngle) || !std::isfinite(maxAngle)) return;
  double a0 = minAngle, a1 = maxAngle;
  if (a0 > a1) {
    const double t = a0;
    a0 = a1;
    a1 = t;
  }
  const double span = a1 - a0;
  if (span >= 2 * kPi) {
    PIX_Circle(bm, cx, cy, r, colour, weight, mode, antialias);
    return;
  }
  PIX_Plotter pl(bm, colour, weight, mode);
  Circle c;
  if (!pl.valid() || !Setup(pl, cx, cy, r, c)) return;
  if (a0 <= -2 * kPi || a0 >= 2 * kPi) a0 = std::fmod(a0, 2 * kPi);
  a1 = a0 + span;

  // One clip box per piece between multiples of a quarter turn: the box of its rounded end
  // points. A pixel is drawn once if it lies in any of them.
  std::vector<Rect> clips;
  const double quarter = kPi / 2;
  double from = a0;
  while (from < a1 || clips.empty()) {
    double to = (std::floor(from / quarter + 1e-9) + 1) * quarter;
    if (to > a1) to = a1;
    const double px0 = std::floor(c.cx + c.r * std::sin(from) + 0.5);
    const double py0 = std::floor(c.cy - c.r * std::cos(from) + 0.5);
    const double px1 = std::floor(c.cx + c.r * std::sin(to) + 0.5);
    const double py1 = std::floor(c.cy - c.r * std::cos(to) + 0.5);
    Rect q;
    q.l = (long long)std::fmin(px0, px1);
    q.t = (long long)std::fmin(py0, py1);
    q.r = (long long)std::fmax(px0, px1) + 1;
    q.b = (long long)std::fmax(py0, py1) + 1;
    clips.push_back(q);
    if (to <= from) break;
    from = to;
  }
  DrawOutline(pl, c, antialias, &clips);
}
