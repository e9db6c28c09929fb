// Lines. Each pixel of a line is a function of the end points alone, so a line clipped by the
// bitmap keeps exactly the pixels it has unclipped; only the visible part is walked.
#include "pix/PIX_Line.h"

#include <cmath>

#include "pix/PIX_Plotter.h"

namespace {
long long FloorShift16(long long v) { return v >= 0 ? (v >> 16) : -((-v + 65535) >> 16); }
long long Abs(long long v) { return v < 0 ? -v : v; }

// Sloped lines combine each pixel with the weight; only straight runs take the quarter-step mixes.
void Plot(const PIX_Plotter& pl, bool xMajor, long long m, long long n) {
  if (xMajor)
    pl.plotWeighted(m, n);
  else
    pl.plotWeighted(n, m);
}

void PlotCoverage(const PIX_Plotter& pl, bool xMajor, long long m, long long n, int k) {
  if (xMajor)
    pl.plotCoverage(m, n, k);
  else
    pl.plotCoverage(n, m, k);
}

// One pixel at major coordinate m with the minor position pos (16.16).
void Step(const PIX_Plotter& pl, bool xMajor, long long m, long long pos, bool aa, bool endPoint) {
  if (!aa) {
    Plot(pl, xMajor, m, FloorShift16(pos + 0x8000));
  } else if (endPoint) {
    Plot(pl, xMajor, m, FloorShift16(pos + 0x8000));
  } else {
    const long long base = FloorShift16(pos);
    const int f = (int)((pos >> 8) & 0xFF);
    PlotCoverage(pl, xMajor, m, base, 255 - f);
    PlotCoverage(pl, xMajor, m, base + 1, f);
  }
}

// k in [0, steps) with lo <= m0 + k * sgn <= hi; false when empty.
bool VisibleSteps(long long m0, int sgn, long long lo, long long hi, long long steps, long long& k0,
                  long long& k1) {
  if (sgn > 0) {
    k0 = lo - m0;
    k1 = hi - m0;
  } else {
    k0 = m0 - hi;
    k1 = m0 - lo;
  }
  if (k0 < 0) k0 = 0;
  if (k1 > steps - 1) k1 = steps - 1;
  return k0 <= k1;
}

// Walks from both ends toward the middle: (len + 1) / 2 steps from each end along the major axis,
// the minor position in 16.16 fixed point from its own end; an even length leaves the middle
// pixel, which is drawn last.
void Walk(const PIX_Plotter& pl, bool xMajor, long long mA, long long mB, long long posA, long long posB,
          long long slope, bool aa) {
  const int sgn = mB >= mA ? 1 : -1;
  const long long len = Abs(mB - mA);
  const long long steps = (len + 1) / 2;
  const long long lo = xMajor ? pl.left() : pl.top();
  const long long hi = (xMajor ? pl.right() : pl.bottom()) - 1;
  long long k0, k1;
  if (VisibleSteps(mA, sgn, lo, hi, steps, k0, k1))
    for (long long k = k0; k <= k1; k++) Step(pl, xMajor, mA + k * sgn, posA + k * slope, aa, k == 0);
  if (VisibleSteps(mB, -sgn, lo, hi, steps, k0, k1))
    for (long long k = k0; k <= k1; k++) Step(pl, xMajor, mB - k * sgn, posB - k * slope, aa, k == 0);
  if ((len & 1) == 0) {
    // Halfway between both ends' positions, so that the line drawn the other way round is the same.
    const long long m = mA + len / 2 * sgn;
    const long long sum = posA + posB;
    const long long mid = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);
    if (m >= lo && m <= hi) Step(pl, xMajor, m, mid, aa, len == 0);
  }
}

void Diagonal(const PIX_Plotter& pl, long long x1, long long y1, long long x2, long long y2, bool aa) {
  const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
  const long long len = Abs(x2 - x1);
  // Only the columns near the bitmap can hold visible pixels (corners reach one further).
  long long k0, k1;
  if (!VisibleSteps(x1, sx, pl.left() - 1, pl.right(), len + 1, k0, k1)) return;
  for (long long k = k0; k <= k1; k++) {
    const long long x = x1 + k * sx, y = y1 + k * sy;
    pl.plotWeighted(x, y);
    // The two pixels in the corner of each step get a quarter, smoothing the stair.
    if (aa && k < len) {
      pl.plotCoverage(x + sx, y, 64);
      pl.plotCoverage(x, y + sy, 64);
    }
  }
}

void DrawLine(const PIX_Plotter& pl, long long x1, long long y1, long long x2, long long y2, bool aa) {
  if (y1 == y2) {
    pl.hspan(x1, x2, y1);
    return;
  }
  if (x1 == x2) {
    pl.vspan(x1, y1, y2);
    return;
  }
  const long long dx = x2 - x1, dy = y2 - y1;
  if (Abs(dx) == Abs(dy)) {
    Diagonal(pl, x1, y1, x2, y2, aa);
    return;
  }
  if (Abs(dx) > Abs(dy))
    Walk(pl, true, x1, x2, y1 * 65536, y2 * 65536, dy * 65536 / Abs(dx), aa);
  else
    Walk(pl, false, y1, y2, x1 * 65536, x2 * 65536, dx * 65536 / Abs(dy), aa);
}

bool ClipParam(double p, double q, double& t0, double& t1) {
  if (p == 0) return q >= 0;
  const double r = q / p;
  if (p < 0) {
    if (r > t1) return false;
    if (r > t0) t0 = r;
  } else {
    if (r < t0) return false;
    if (r < t1) t1 = r;
  }
  return true;
}

// Liang-Barsky on the closed box; false when nothing remains.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double l, double t, double r, double b) {
  if (!(l <= r) || !(t <= b)) return false;
  const double dx = x2 - x1, dy = y2 - y1;
  double t0 = 0.0, t1 = 1.0;
  if (!ClipParam(-dx, x1 - l, t0, t1) || !ClipParam(dx, r - x1, t0, t1) || !ClipParam(-dy, y1 - t, t0, t1) ||
      !ClipParam(dy, b - y1, t0, t1))
    return false;
  const double ox = x1, oy = y1;
  if (t1 < 1.0) {
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
  }
  if (t0 > 0.0) {
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
  }
  return true;
}

bool Finite(float v) { return std::isfinite(v); }
}  // namespace

void PIX_Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_Pixel colour, float weight, int mode,
              bool antialias) {
  PIX_Plotter pl(bm, colour, weight, mode);
  if (!pl.valid()) return;
  DrawLine(pl, x1, y1, x2, y2, antialias);
}

void PIX_FLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_Pixel colour, float weight,
               int mode, bool antialias) {
  if (!Finite(x1) || !Finite(y1) || !Finite(x2) || !Finite(y2)) return;
  PIX_Plotter pl(bm, colour, weight, mode);
  if (!pl.valid()) return;
  double ax = x1, ay = y1, bx = x2, by = y2;
  // A margin keeps the rounding at the edges as it would be unclipped.
  if (!ClipSegment(ax, ay, bx, by, -2.0, -2.0, pl.width() + 1.0, pl.height() + 1.0)) return;
  if (!antialias) {
    DrawLine(pl, (long long)std::floor(ax + 0.5), (long long)std::floor(ay + 0.5),
             (long long)std::floor(bx + 0.5), (long long)std::floor(by + 0.5), false);
    return;
  }
  const bool xMajor = std::fabs(bx - ax) >= std::fabs(by - ay);
  const double ma = xMajor ? ax : ay, mb = xMajor ? bx : by;
  const double na = xMajor ? ay : ax, nb = xMajor ? by : bx;
  const long long mA = (long long)std::floor(ma + 0.5), mB = (long long)std::floor(mb + 0.5);
  if (mA == mB) {
    Plot(pl, xMajor, mA, (long long)std::floor((na + nb) / 2 + 0.5));
    return;
  }
  const double slope = (nb - na) / (mb - ma);
  const double posA = na + (mA - ma) * slope, posB = nb + (mB - mb) * slope;
  Walk(pl, xMajor, mA, mB, (long long)std::floor(posA * 65536.0), (long long)std::floor(posB * 65536.0),
       (long long)std::floor(slope * 65536.0 * (mB > mA ? 1 : -1)), true);
}

bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int left, int top, int right, int bottom) {
  if (!x1 || !y1 || !x2 || !y2) return false;
  double ax = *x1, ay = *y1, bx = *x2, by = *y2;
  if (!ClipSegment(ax, ay, bx, by, left, top, (double)right - 1, (double)bottom - 1)) return false;
  *x1 = (int)std::floor(ax + 0.5);
  *y1 = (int)std::floor(ay + 0.5);
  *x2 = (int)std::floor(bx + 0.5);
  *y2 = (int)std::floor(by + 0.5);
  return true;
}

bool PIX_ClipFLine(float* x1, float* y1, float* x2, float* y2, float left, float top, float right,
                   float bottom) {
  if (!x1 || !y1 || !x2 || !y2) return false;
  if (!Finite(*x1) || !Finite(*y1) || !Finite(*x2) || !Finite(*y2)) return false;
  double ax = *x1, ay = *y1, bx = *x2, by = *y2;
  if (!ClipSegment(ax, ay, bx, by, left, top, right, bottom)) return false;
  *x1 = (float)ax;
  *y1 = (float)ay;
  *x2 = (float)bx;
  *y2 = (float)by;
  return true;
}

void PIX_DashedLine(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_Pixel colour, float weight, int mode,
                    int pixelsOn, int pixelsOff) {
  if (pixelsOn <= 0) return;
  if (pixelsOff <= 0) {
    PIX_Line(bm, x1, y1, x2, y2, colour, weight, mode, false);
    return;
  }
  PIX_Plotter pl(bm, colour, weight, mode);
  if (!pl.valid()) return;
  const long long dx = (long long)x2 - x1, dy = (long long)y2 - y1;
  const long long len = Abs(dx) > Abs(dy) ? Abs(dx) : Abs(dy);
  const long long period = (long long)pixelsOn + pixelsOff;
  // Walk only as far as the line can still be inside the bitmap.
  const long long reach = (long long)pl.width() + pl.height() + 2;
  long long k0 = 0, k1 = len;
  if (len > 0) {
    const long long ax = x1, ay = y1;
    const long long start =
        Abs(dx) > Abs(dy) ? (dx > 0 ? -ax : ax - (pl.width() - 1)) : (dy > 0 ? -ay : ay - (pl.height() - 1));
    if (start > k0) k0 = start - 1;
    if (k1 > k0 + reach) k1 = k0 + reach;
  }
  for (long long k = k0; k <= k1; k++) {
    if (k % period >= pixelsOn) continue;
    const long long x = len ? x1 + FloorShift16((long long)((__int128)dx * k * 65536 / len) + 0x8000) : x1;
    const long long y = len ? y1 + FloorShift16((long long)((__int128)dy * k * 65536 / len) + 0x8000) : y1;
    pl.plot(x, y);
  }
}
