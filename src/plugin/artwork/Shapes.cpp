// Supersampled shape masks on the raster library's fills and its shrinking box filter.
#include "plugin/artwork/Shapes.h"

#include "pix/PIX_Blit.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Polygon.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSuper = 4;
constexpr PIX_Pixel kOn = 0xFFFFFFFF, kOff = 0xFF000000;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

Pt Polar(double cx, double cy, double r, double angle) {
  return Pt{cx + r * std::sin(angle), cy - r * std::cos(angle)};
}

ShapeBuilder::ShapeBuilder(double scale, double left, double top, double right, double bottom)
    : m_scale(scale) {
  m_px0 = (int)std::floor(left * scale) - 1;
  m_py0 = (int)std::floor(top * scale) - 1;
  m_w = (int)std::ceil(right * scale) + 1 - m_px0;
  m_h = (int)std::ceil(bottom * scale) + 1 - m_py0;
  m_big.resize(m_w * kSuper, m_h * kSuper);
  PIX_Clear(&m_big, kOff);
}

// The box filter averages the block centred half a fine pixel left of the coarse pixel's centre,
// so the fine grid is shifted by that half pixel.
double ShapeBuilder::mx(double x) const { return (x * m_scale - m_px0) * kSuper - 0.5; }
double ShapeBuilder::my(double y) const { return (y * m_scale - m_py0) * kSuper - 0.5; }

void ShapeBuilder::disc(double cx, double cy, double r, bool add) {
  // The circle walk works on pixel indices: centre and radius in fine pixels.
  PIX_FillCircle(&m_big, (float)(mx(cx) - 0.5), (float)(my(cy) - 0.5), (float)(r * m_scale * kSuper - 0.5),
                 add ? kOn : kOff, 1.0f, PIX_BLIT_MODE_COPY, false);
}

void ShapeBuilder::ring(double cx, double cy, double inner, double outer) {
  arcBand(cx, cy, inner, outer, 0.0, 2.0 * kPi, true);
}

void ShapeBuilder::polygonPx(const std::vector<double>& xs, const std::vector<double>& ys, bool add) {
  // A fine pixel is inside when its centre is; the fills include both end pixels of every span,
  // so each vertex moves half a fine pixel inward on top of the shift to pixel centres.
  double cx = 0, cy = 0;
  for (size_t i = 0; i < xs.size(); i++) {
    cx += xs[i];
    cy += ys[i];
  }
  cx /= (double)xs.size();
  cy /= (double)ys.size();
  auto inward = [](double d) { return d > 1e-9 ? 0.5 : (d < -1e-9 ? -0.5 : 0.0); };
  std::vector<int> ix(xs.size()), iy(ys.size());
  for (size_t i = 0; i < xs.size(); i++) {
    ix[i] = (int)std::lround(xs[i] - 0.5 - inward(xs[i] - cx));
    iy[i] = (int)std::lround(ys[i] - 0.5 - inward(ys[i] - cy));
  }
  PIX_FillConvexPolygon(&m_big, ix.data(), iy.data(), (int)ix.size(), add ? kOn : kOff, 1.0f,
                        PIX_BLIT_MODE_COPY);
}

void ShapeBuilder::convex(const std::vector<Pt>& pts, bool add) {
  std::vector<double> xs, ys;
  for (const Pt& p : pts) {
    xs.push_back(mx(p.x));
    ys.push_back(my(p.y));
  }
  polygonPx(xs, ys, add);
}

void ShapeBuilder::rect(double x, double y, double w, double h, bool add) {
  convex({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, add);
}

void ShapeBuilder::roundRect(double x, double y, double w, double h, double radius, bool add) {
  radius = std::min(radius, std::min(w, h) / 2);
  // The corners as part of one convex outline, so nothing is filled twice at an edge.
  std::vector<Pt> pts;
  const Pt centres[4] = {{x + w - radius, y + radius},
                         {x + w - radius, y + h - radius},
                         {x + radius, y + h - radius},
                         {x + radius, y + radius}};
  const int steps = 12;
  for (int c = 0; c < 4; c++)
    for (int i = 0; i <= steps; i++) {
      const double a = kPi / 2 * c + kPi / 2 * i / steps;
      pts.push_back(Polar(centres[c].x, centres[c].y, radius, a));
    }
  convex(pts, add);
}

void ShapeBuilder::segment(Pt a, Pt b, double width, bool roundCaps, bool add) {
  taper(a, b, width, width, add);
  if (roundCaps) {
    // A polygon cap keeps sub-pixel precision where a small disc would round to whole pixels.
    const double ang = std::atan2(b.x - a.x, -(b.y - a.y));
    std::vector<Pt> capA, capB;
    for (int i = 0; i <= 12; i++) {
      capA.push_back(Polar(a.x, a.y, width / 2, ang + kPi / 2 + kPi * i / 12));
      capB.push_back(Polar(b.x, b.y, width / 2, ang - kPi / 2 + kPi * i / 12));
    }
    convex(capA, add);
    convex(capB, add);
  }
}

void ShapeBuilder::taper(Pt a, Pt b, double w0, double w1, bool add) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len = std::sqrt(dx * dx + dy * dy);
  if (len <= 0) return;
  const double nx = -dy / len, ny = dx / len;
  convex({{a.x + nx * w0 / 2, a.y + ny * w0 / 2},
          {b.x + nx * w1 / 2, b.y + ny * w1 / 2},
          {b.x - nx * w1 / 2, b.y - ny * w1 / 2},
          {a.x - nx * w0 / 2, a.y - ny * w0 / 2}},
         add);
}

void ShapeBuilder::arcBand(double cx, double cy, double inner, double outer, double a0, double a1, bool add) {
  if (a1 < a0) std::swap(a0, a1);
  // Pieces of at most two degrees are convex and follow the circle closely.
  const int pieces = std::max(1, (int)std::ceil((a1 - a0) / (kPi / 90)));
  for (int i = 0; i < pieces; i++) {
    const double s = a0 + (a1 - a0) * i / pieces, e = a0 + (a1 - a0) * (i + 1) / pieces;
    convex(
        {Polar(cx, cy, inner, s), Polar(cx, cy, outer, s), Polar(cx, cy, outer, e), Polar(cx, cy, inner, e)},
        add);
  }
}

void ShapeBuilder::radial(double cx, double cy, const std::function<double(double)>& radius, int steps,
                          bool add) {
  // Thin wedges from the centre: each is convex even where the outline is not.
  for (int i = 0; i < steps; i++) {
    const double s = 2 * kPi * i / steps, e = 2 * kPi * (i + 1) / steps;
    convex({{cx, cy}, Polar(cx, cy, radius(s), s), Polar(cx, cy, radius(e), e)}, add);
  }
}

Coverage ShapeBuilder::resolve() {
  PIX_MemBitmap small(m_w, m_h);
  PIX_ScaledBlit(&small, &m_big, 0, 0, m_w, m_h, 1.5f, 1.5f, (float)(m_w * kSuper), (float)(m_h * kSuper),
                 1.0f, PIX_BLIT_MODE_COPY | PIX_BLIT_FILTER_BILINEAR);
  Coverage out(m_px0, m_py0, m_w, m_h);
  const PIX_Pixel* bits = small.getBits();
  const int span = small.getRowSpan();
  for (int y = 0; y < m_h; y++)
    for (int x = 0; x < m_w; x++) out.a[(size_t)y * m_w + x] = (uint8_t)PIX_GetR(bits[(size_t)y * span + x]);
  return out;
}
