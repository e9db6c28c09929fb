// Lines, circles, arcs, rounded rectangles and polygon fills.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "pix/PIX_Bezier.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_Polygon.h"
#include "pix/PIX_Shapes.h"

namespace {
const PIX_Pixel kBg = 0xFF000000, kInk = 0xFFFFFFFF;
const float kPi = 3.14159265f;

struct Canvas {
  PIX_MemBitmap bm;
  explicit Canvas(int w = 40, int h = 40) : bm(w, h) { PIX_Clear(&bm, kBg); }
  PIX_Pixel at(int x, int y) { return PIX_GetPixel(&bm, x, y); }
  std::set<std::pair<int, int>> changed() {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < bm.getHeight(); y++)
      for (int x = 0; x < bm.getWidth(); x++)
        if (at(x, y) != kBg) s.insert({x, y});
    return s;
  }
  bool operator==(Canvas& o) {
    for (int y = 0; y < bm.getHeight(); y++)
      for (int x = 0; x < bm.getWidth(); x++)
        if (at(x, y) != o.at(x, y)) return false;
    return true;
  }
};
}  // namespace

TEST(Line, SinglePointAndStraightRuns) {
  Canvas c;
  PIX_Line(&c.bm, 5, 5, 5, 5, kInk, 1.0f, 0, false);
  EXPECT_EQ(c.changed(), (std::set<std::pair<int, int>>{{5, 5}}));
  Canvas h;
  PIX_Line(&h.bm, 7, 3, 2, 3, kInk, 1.0f, 0, true);
  EXPECT_EQ(h.changed().size(), 6u);
  EXPECT_EQ(h.at(2, 3), kInk);
  EXPECT_EQ(h.at(7, 3), kInk);
  // Quarter weight in copy mode: a quarter colour plus three quarters destination.
  Canvas v;
  PIX_Line(&v.bm, 4, 1, 4, 3, 0xFF808080, 0.25f, 0, false);
  EXPECT_EQ(v.at(4, 2),
            ((0xFF808080u >> 2) & 0x3F3F3F3F) + ((kBg >> 2) & 0x3F3F3F3F) + ((kBg >> 1) & 0x7F7F7F7F));
  // The colour's alpha is combined like a colour byte; the source-alpha flag has no effect.
  Canvas a;
  PIX_Line(&a.bm, 0, 0, 3, 0, 0x00FFFFFF, 1.0f, 0x10000, false);
  EXPECT_EQ(a.at(1, 0), 0x00FFFFFFu);
  // Half weight: straight runs take the half mix (255 over 255 gives 254), sloped and diagonal
  // lines the weighted copy (255 stays 255).
  Canvas half(10, 10);
  PIX_Clear(&half.bm, kInk);
  PIX_Line(&half.bm, 0, 0, 9, 0, kInk, 0.5f, 0, false);
  PIX_Line(&half.bm, 0, 2, 9, 5, kInk, 0.5f, 0, false);
  PIX_Line(&half.bm, 0, 6, 3, 9, kInk, 0.5f, 0, false);
  EXPECT_EQ(half.at(4, 0), 0xFEFEFEFEu);
  EXPECT_EQ(half.at(0, 2), kInk);
  EXPECT_EQ(half.at(9, 5), kInk);
  EXPECT_EQ(half.at(1, 7), kInk);
}

TEST(Line, WalkIsSymmetricAndSurvivesClipping) {
  const int ends[][4] = {{2, 3, 30, 11}, {1, 1, 12, 38}, {35, 2, 4, 20}, {3, 30, 33, 31}, {0, 0, 39, 20}};
  for (const auto& e : ends) {
    for (bool aa : {false, true}) {
      Canvas ab, ba;
      PIX_Line(&ab.bm, e[0], e[1], e[2], e[3], kInk, 1.0f, 0, aa);
      PIX_Line(&ba.bm, e[2], e[3], e[0], e[1], kInk, 1.0f, 0, aa);
      EXPECT_TRUE(ab == ba) << e[0] << "," << e[1] << " aa " << aa;
      // End points are drawn at full weight; without smoothing one pixel per major step.
      EXPECT_EQ(ab.at(e[0], e[1]), kInk);
      EXPECT_EQ(ab.at(e[2], e[3]), kInk);
      if (!aa) {
        const int major = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
        EXPECT_EQ(ab.changed().size(), (size_t)major + 1);
      }
      // The same line through a bitmap a quarter of the size, offset, keeps the same pixels.
      PIX_MemBitmap part(20, 20);
      PIX_Clear(&part, kBg);
      PIX_Line(&part, e[0] - 10, e[1] - 10, e[2] - 10, e[3] - 10, kInk, 1.0f, 0, aa);
      for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++)
          ASSERT_EQ(PIX_GetPixel(&part, x, y), ab.at(x + 10, y + 10)) << x << "," << y;
    }
  }
  // Lines far outside, or with extreme end points, draw only their visible part.
  Canvas c;
  PIX_Line(&c.bm, -2000000000, 5, 2000000000, 5, kInk, 1.0f, 0, false);
  PIX_Line(&c.bm, -2000000000, -2000000000, 2000000000, 2000000000, kInk, 1.0f, 0, true);
  PIX_Line(&c.bm, -2000000000, 7, 2000000000, 9, kInk, 1.0f, 0, true);
  PIX_Line(&c.bm, 100, 100, 200, 300, kInk, 1.0f, 0, false);
  EXPECT_EQ(c.at(39, 5), kInk);
  EXPECT_EQ(c.at(20, 20), kInk);
  PIX_FLine(&c.bm, NAN, 0, 3, 3, kInk, 1.0f, 0, true);
  PIX_FLine(&c.bm, -1e30f, 30, 1e30f, 30, kInk, 1.0f, 0, false);
  EXPECT_EQ(c.at(0, 30), kInk);
}

TEST(Line, WuWeightsSplitBetweenNeighbours) {
  // Slope 1/4: the minor position of each step is an exact quarter, so the pair on each column
  // is blended by (255 - f) / 256 and f / 256 through the weighted copy d = s + (d - s)(256 - k)/256.
  auto blend = [](int d, int s, int k) { return s + (d - s) * (256 - k) / 256; };
  Canvas c;
  PIX_Line(&c.bm, 0, 0, 8, 2, kInk, 1.0f, 0, true);
  const int f = 0x40;  // x = 1: position 0.25
  EXPECT_EQ(PIX_GetR(c.at(1, 0)), blend(0, 255, 255 - f));
  EXPECT_EQ(PIX_GetR(c.at(1, 1)), blend(0, 255, f));
  EXPECT_EQ(PIX_GetA(c.at(1, 1)), 255);
  // Weights below 1.0 scale both.
  Canvas h;
  PIX_Line(&h.bm, 0, 0, 8, 2, kInk, 0.5f, 0, true);
  EXPECT_EQ(PIX_GetR(h.at(1, 0)), blend(0, 255, 128 * (255 - f) / 256));
  EXPECT_EQ(PIX_GetR(h.at(1, 1)), blend(0, 255, 128 * f / 256));
}

TEST(Circle, ArcOfAFullTurnIsTheCircle) {
  for (bool aa : {false, true}) {
    Canvas circle, arc, arcs;
    PIX_Circle(&circle.bm, 20, 20, 12, kInk, 1.0f, 0, aa);
    PIX_Arc(&arc.bm, 20, 20, 12, 0, 2 * kPi, kInk, 1.0f, 0, aa);
    EXPECT_TRUE(circle == arc);
    // Four quarters drawn as one arc just short of the full turn still give the whole outline.
    PIX_Arc(&arcs.bm, 20, 20, 12, -0.0001f, 2 * kPi - 0.001f, kInk, 1.0f, 0, false);
    if (!aa) {
      EXPECT_TRUE(circle == arcs);
    }
  }
  // A quarter arc stays in its quadrant's box; the circle is symmetric.
  Canvas q;
  PIX_Arc(&q.bm, 20, 20, 10, 0, kPi / 2, kInk, 1.0f, 0, false);
  for (auto p : q.changed()) {
    EXPECT_GE(p.first, 20);
    EXPECT_LE(p.second, 20);
  }
  EXPECT_EQ(q.at(20, 10), kInk);
  EXPECT_EQ(q.at(30, 20), kInk);
  Canvas s;
  PIX_Circle(&s.bm, 20, 20, 9, kInk, 1.0f, 0, false);
  for (auto p : s.changed()) {
    EXPECT_EQ(s.at(40 - p.first, p.second), kInk);
    EXPECT_EQ(s.at(p.second, p.first), kInk);
  }
  // Nothing for a negative radius or a circle well outside.
  Canvas n;
  PIX_Circle(&n.bm, 20, 20, -1, kInk, 1.0f, 0, false);
  PIX_FillCircle(&n.bm, -30, 20, 5, kInk, 1.0f, 0, true);
  EXPECT_TRUE(n.changed().empty());
}

TEST(Circle, TranslucentShapesCombineEachPixelOnce) {
  // At weight 0.5 every covered pixel of a plain disc, polygon or circle must be exactly the
  // half mix: a pixel combined twice would come out brighter.
  const PIX_Pixel half = ((kInk >> 1) & 0x7F7F7F7F) + ((kBg >> 1) & 0x7F7F7F7F);
  Canvas disc, poly, ring;
  PIX_FillCircle(&disc.bm, 20, 20, 11, kInk, 0.5f, 0, false);
  const int xs[] = {5, 30, 36, 20, 3}, ys[] = {4, 2, 20, 37, 25};
  PIX_FillConvexPolygon(&poly.bm, xs, ys, 5, kInk, 0.5f, 0);
  PIX_Circle(&ring.bm, 20, 20, 15, kInk, 0.5f, 0, false);
  for (Canvas* c : {&disc, &poly, &ring}) {
    ASSERT_FALSE(c->changed().empty());
    for (auto p : c->changed()) ASSERT_EQ(c->at(p.first, p.second), half) << p.first << "," << p.second;
  }
  // The disc is solid: its centre row spans the full diameter.
  EXPECT_EQ(disc.at(9, 20), half);
  EXPECT_EQ(disc.at(31, 20), half);
  EXPECT_EQ(disc.at(8, 20), kBg);
}

TEST(Shapes, RoundRectAndRectangles) {
  Canvas plain, round;
  PIX_DrawRect(&plain.bm, 3, 4, 20, 10, kInk, 1.0f, 0);
  PIX_RoundRect(&round.bm, 3, 4, 20, 10, 1, kInk, 1.0f, 0, true);
  EXPECT_TRUE(plain == round);
  EXPECT_EQ(plain.changed().size(), (size_t)(2 * 21 + 2 * 9));
  // A real radius rounds the corners off but keeps the straight runs.
  Canvas r;
  PIX_RoundRect(&r.bm, 3, 4, 20, 16, 5, kInk, 1.0f, 0, false);
  EXPECT_EQ(r.at(3, 4), kBg);
  EXPECT_EQ(r.at(13, 4), kInk);
  EXPECT_EQ(r.at(3, 12), kInk);
  EXPECT_EQ(r.at(23, 12), kInk);
  EXPECT_EQ(r.at(13, 20), kInk);
  // Bordered: the fill inside, the border around.
  Canvas b;
  PIX_BorderedRect(&b.bm, 2, 2, 6, 6, 0xFF00FF00, kInk, 1.0f, 0);
  EXPECT_EQ(b.at(2, 2), kInk);
  EXPECT_EQ(b.at(4, 4), 0xFF00FF00u);
  EXPECT_EQ(b.at(8, 8), kInk);
}

TEST(Polygon, FlatAndTriangleFills) {
  Canvas flat;
  const int xs[] = {12, 3, 25, 9}, ys[] = {7, 7, 7, 7};
  PIX_FillConvexPolygon(&flat.bm, xs, ys, 4, kInk, 1.0f, 0);
  std::set<std::pair<int, int>> row;
  for (int x = 3; x <= 25; x++) row.insert({x, 7});
  EXPECT_EQ(flat.changed(), row);
  // Triangles cover their corners and are independent of the vertex order.
  Canvas t1, t2;
  PIX_FillTriangle(&t1.bm, 2, 2, 30, 10, 8, 35, kInk, 1.0f, 0);
  PIX_FillTriangle(&t2.bm, 8, 35, 2, 2, 30, 10, kInk, 1.0f, 0);
  EXPECT_TRUE(t1 == t2);
  EXPECT_EQ(t1.at(2, 2), kInk);
  EXPECT_EQ(t1.at(30, 10), kInk);
  EXPECT_EQ(t1.at(8, 35), kInk);
  EXPECT_EQ(t1.at(12, 14), kInk);
  EXPECT_EQ(t1.at(30, 30), kBg);
  // Trapezoids include both end pixels of every span; fewer than 3 points draw nothing.
  Canvas z;
  PIX_FillTrapezoid(&z.bm, 10, 12, 5, 4, 20, 9, kInk, 1.0f, 0);
  EXPECT_EQ(z.at(10, 5), kInk);
  EXPECT_EQ(z.at(12, 5), kInk);
  EXPECT_EQ(z.at(13, 5), kBg);
  EXPECT_EQ(z.at(4, 9), kInk);
  EXPECT_EQ(z.at(20, 9), kInk);
  PIX_FillConvexPolygon(&z.bm, xs, ys, 2, kInk, 1.0f, 0);
  PIX_FillConvexPolygon(&z.bm, nullptr, ys, 4, kInk, 1.0f, 0);
  const int big[] = {-2000000000, 2000000000, 0}, bigy[] = {-2000000000, -2000000000, 2000000000};
  PIX_FillConvexPolygon(&z.bm, big, bigy, 3, kInk, 1.0f, 0);
  EXPECT_EQ(z.at(20, 20), kInk);
}

TEST(Curves, DashesAndBeziers) {
  Canvas d;
  PIX_DashedLine(&d.bm, 0, 3, 19, 3, kInk, 1.0f, 0, 3, 2);
  for (int x = 0; x < 20; x++) EXPECT_EQ(d.at(x, 3), x % 5 < 3 ? kInk : kBg) << x;
  // A straight cubic drawn as segments ends exactly at its end points.
  Canvas b;
  const float xs[] = {2, 12, 22, 32}, ys[] = {30, 20, 10, 0};
  PIX_DrawCBezier(&b.bm, xs, ys, kInk, 1.0f, 0, false);
  EXPECT_EQ(b.at(2, 30), kInk);
  EXPECT_EQ(b.at(32, 0), kInk);
  // The filled cubic covers each column whose centre it passes, from the curve to the base row, once.
  Canvas f;
  const float fx[] = {0, 13, 26, 39}, fy[] = {10, 10, 10, 10};
  PIX_FillCBezier(&f.bm, fx, fy, 20, kInk, 0.5f, 0);
  EXPECT_EQ(f.changed().size(), 39u * 11u);
  const PIX_Pixel half = ((kInk >> 1) & 0x7F7F7F7F) + ((kBg >> 1) & 0x7F7F7F7F);
  for (auto p : f.changed()) ASSERT_EQ(f.at(p.first, p.second), half);
}
