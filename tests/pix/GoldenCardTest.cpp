// The test card: one image exercising every blit kind and every primitive, compared pixel for
// pixel with the committed reference. Set QV_UPDATE_GOLDEN=1 to rewrite the reference after an
// intended change (and look at it before committing).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "pix/PIX_Bezier.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"
#include "pix/PIX_PNGWrite.h"
#include "pix/PIX_Polygon.h"
#include "pix/PIX_Shapes.h"

namespace {
const char* kReference = "pix/data/golden_card.png";
const float kPi = 3.14159265f;

// A 32 x 32 sprite: colour ramps, an alpha ramp from left to right and an opaque ring.
void Sprite(PIX_MemBitmap& s) {
  for (int y = 0; y < 32; y++)
    for (int x = 0; x < 32; x++) {
      const int dx = x - 16, dy = y - 16, d2 = dx * dx + dy * dy;
      const int a = (d2 >= 100 && d2 < 196) ? 255 : x * 8;
      s.getBits()[y * s.getRowSpan() + x] = PIX_MAKEPIXEL(a, x * 8, y * 8, 255 - x * 4 - y * 3);
    }
}

void Render(PIX_MemBitmap& card) {
  PIX_Clear(&card, 0xFF203040);
  // Background bands: fills in every mode and the shift-and-mask weights.
  const int modes[] = {0, 1, 2, 3, 4, 5};
  for (int i = 0; i < 6; i++) PIX_FillRect(&card, i * 53, 0, 53, 24, 0xC0A07050, 0.6f, modes[i]);
  const float weights[] = {1.0f, 0.75f, 0.5f, 0.25f, 0.1f};
  for (int i = 0; i < 5; i++) PIX_FillRect(&card, i * 64, 24, 64, 8, 0xFFE0E0E0, weights[i], 0);
  PIX_FillRect(&card, 0, 32, 320, 4, 0x80FF0000, 1.0f, 0x10000);
  PIX_ClearRect(&card, 300, 0, 20, 36, 0xFF00FFFF, 0x00800000);

  PIX_MemBitmap sprite(32, 32);
  Sprite(sprite);
  // Row 1: plain blits in every mode.
  const struct {
    float weight;
    int mode;
  } blits[] = {{1.0f, 0},
               {0.5f, 0},
               {0.3f, 0},
               {1.0f, 0x10000},
               {0.6f, 0x10000},
               {1.0f, 0x10001},
               {1.0f, 0x10002},
               {0.8f, 3},
               {0.8f, 4},
               {0.7f, 5},
               {0.5f, 0x10003},
               {0.9f, 0x10004},
               {1.0f, 0xF0 | (1 << 2) | 2}};
  for (int i = 0; i < 13; i++) {
    const int x = 2 + (i % 9) * 35, y = 40 + (i / 9) * 35;
    PIX_Blit(&card, &sprite, x, y, nullptr, blits[i].weight, blits[i].mode);
  }
  RECT part = {8, 8, 24, 24};
  PIX_Blit(&card, &sprite, 150, 80, &part, 1.0f, 0x10000);
  PIX_Blit(&card, &sprite, -10, 100, nullptr, 1.0f, 0);  // clipped at the left edge

  // Row 2: scaled blits: nearest, bilinear, shrinking box filter, mirrored, half weight.
  PIX_ScaledBlit(&card, &sprite, 180, 75, 48, 40, 0, 0, 32, 32, 1.0f, 0);
  PIX_ScaledBlit(&card, &sprite, 232, 75, 48, 40, 0, 0, 32, 32, 1.0f, 0x10100);
  PIX_ScaledBlit(&card, &sprite, 284, 75, 13, 13, 0, 0, 32, 32, 1.0f, 0x100);
  PIX_ScaledBlit(&card, &sprite, 300, 75, 7, 7, 0, 0, 32, 32, 1.0f, 0x100);
  PIX_ScaledBlit(&card, &sprite, 284 + 32, 90, -32, 24, 0, 0, 32, 32, 1.0f, 0x10000);
  PIX_ScaledBlit(&card, &sprite, 10, 118, 60, 30, 4.5f, 2.25f, 20.0f, 10.0f, 0.5f, 0);
  PIX_ScaledBlit(&card, &sprite, 75, 118, 60, 30, 4.5f, 2.25f, 20.0f, 10.0f, 1.0f, 0x101);

  // Rotated blits: nearest and bilinear, one clipped to a source corner, one mirrored.
  PIX_RotatedBlit(&card, &sprite, 140, 118, 32, 32, 0, 0, 32, 32, 0.6, false, 1.0f, 0x10000);
  PIX_RotatedBlit(&card, &sprite, 178, 118, 32, 32, 0, 0, 32, 32, 0.6, false, 1.0f, 0x10100);
  PIX_RotatedBlit(&card, &sprite, 216, 118, 32, 32, 0, 0, 16, 16, -1.1, true, 1.0f, 0x100, 2.0, -3.0);
  PIX_RotatedBlit(&card, &sprite, 254 + 40, 118, -40, 32, 0, 0, 32, 32, 2.5, false, 0.8f, 0x10101);

  // Lines: a fan of plain and smoothed lines, weights and modes, float and dashed lines.
  for (int i = 0; i < 16; i++) {
    const double a = i * kPi / 16;
    const int ex = (int)std::lround(40 * std::cos(a)), ey = (int)std::lround(40 * std::sin(a));
    PIX_Line(&card, 50, 200, 50 + ex, 200 - ey, 0xFFFFFF80, 1.0f, 0, false);
    PIX_Line(&card, 140, 200, 140 + ex, 200 - ey, 0xFF80FFFF, i % 2 ? 0.5f : 1.0f, 0, true);
  }
  PIX_Line(&card, 190, 160, 230, 200, 0xFFFF8080, 1.0f, 0, true);
  PIX_Line(&card, 190, 200, 230, 165, 0xFF8080FF, 0.7f, 1, false);
  PIX_FLine(&card, 235.3f, 160.7f, 270.8f, 199.2f, 0xFFFFFFFF, 1.0f, 0, true);
  PIX_FLine(&card, 235.5f, 199.5f, 300.25f, 181.75f, 0xFF40FF40, 1.0f, 0, true);
  PIX_DashedLine(&card, 240, 205, 315, 170, 0xFFFFFF00, 1.0f, 0, 4, 3);
  PIX_Line(&card, -100, 238, 400, 236, 0xFFFF00FF, 1.0f, 0, true);

  // Rectangles, round rectangles, circles, discs and arcs.
  PIX_DrawRect(&card, 5, 245, 30, 20, 0xFFFFFFFF, 1.0f, 0);
  PIX_BorderedRect(&card, 40, 245, 30, 20, 0xFF3060A0, 0xFFFFC000, 1.0f, 0);
  PIX_RoundRect(&card, 75, 245, 40, 30, 8, 0xFFFFFFFF, 1.0f, 0, false);
  PIX_RoundRect(&card, 120, 245, 40, 30, 12, 0xFFFFFFFF, 1.0f, 0, true);
  PIX_RoundRect(&card, 165, 245, 30, 30, 1, 0xFF00FFFF, 1.0f, 0, true);
  PIX_Circle(&card, 220, 262, 14, 0xFFFFFFFF, 1.0f, 0, false);
  PIX_Circle(&card, 255, 262, 14, 0xFFFFFFFF, 1.0f, 0, true);
  PIX_FillCircle(&card, 290, 262, 14, 0xFFFF6040, 1.0f, 0, true);
  PIX_FillCircle(&card, 305, 275, 10, 0xFF4060FF, 0.5f, 0, false);
  PIX_Arc(&card, 30, 300, 18, -kPi / 3, kPi * 0.9f, 0xFFFFFF00, 1.0f, 0, false);
  PIX_Arc(&card, 75, 300, 18, kPi / 2, kPi * 1.75f, 0xFF00FF00, 1.0f, 0, true);
  PIX_Circle(&card, 316, 300, 9, 0xFFFFFFFF, 1.0f, 0, true);  // clipped by the right edge

  // Polygons, trapezoids, triangles and curves.
  const int xs[] = {110, 140, 150, 128, 102}, ys[] = {285, 282, 300, 318, 305};
  PIX_FillConvexPolygon(&card, xs, ys, 5, 0xFF60C060, 1.0f, 0);
  PIX_FillTriangle(&card, 160, 285, 195, 300, 165, 318, 0xFFC06060, 0.75f, 0);
  PIX_FillTrapezoid(&card, 205, 215, 285, 198, 232, 318, 0xFF6060C0, 0.5f, 0);
  const int flatx[] = {240, 250, 262}, flaty[] = {286, 286, 286};
  PIX_FillConvexPolygon(&card, flatx, flaty, 3, 0xFFFFFFFF, 1.0f, 0);
  const float qx[] = {240, 255, 270}, qy[] = {318, 285, 318};
  PIX_DrawQBezier(&card, qx, qy, 0xFFFFA0A0, 1.0f, 0, true);
  const float cx[] = {272, 280, 290, 300}, cy[] = {318, 280, 318, 290};
  PIX_FillCBezier(&card, cx, cy, 318, 0xFF5080C0, 0.5f, 0);
  PIX_DrawCBezier(&card, cx, cy, 0xFFFFFFFF, 1.0f, 0, false);
  PIX_PutPixel(&card, 319, 0, 0xFF00FF00, 1.0f, 0);
}

bool WritePng(const char* path, PIX_IBitmap& bm) {
  return PIX_WriteFile(path, PIX_EncodePNG(&bm, PIX_PNGAlpha::kKeep));
}
}  // namespace

TEST(GoldenCard, MatchesTheReference) {
  PIX_MemBitmap card(320, 320);
  Render(card);
  const char* update = getenv("QV_UPDATE_GOLDEN");
  if (update && *update && *update != '0') {
    ASSERT_TRUE(WritePng(kReference, card));
    GTEST_SKIP() << "reference rewritten: " << kReference;
  }
  std::unique_ptr<PIX_IBitmap> ref(PIX_LoadPNG(kReference));
  ASSERT_TRUE(ref) << "missing " << kReference << " (run with QV_UPDATE_GOLDEN=1 from tests/)";
  ASSERT_EQ(ref->getWidth(), 320);
  ASSERT_EQ(ref->getHeight(), 320);
  int diffs = 0;
  for (int y = 0; y < 320; y++)
    for (int x = 0; x < 320; x++) {
      const PIX_Pixel got = PIX_GetPixel(&card, x, y), want = PIX_GetPixel(ref.get(), x, y);
      if (got != want && diffs++ < 10)
        ADD_FAILURE() << x << "," << y << std::hex << " got " << got << " want " << want;
    }
  EXPECT_EQ(diffs, 0);
}
