// Every mode of every drawing primitive at every weight the +-16 hold lets through, on a bitmap
// holding all byte values: under UBSan any overflow in a combine function stops the test. Fills
// pass the weight as the source alpha too, so their alpha channel multiplies weight by weight.
#include <gtest/gtest.h>

#include "pix/PIX_Bezier.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_Polygon.h"
#include "pix/PIX_Shapes.h"

namespace {

void FillRamp(PIX_MemBitmap& bm) {
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++)
      bm.getBits()[y * bm.getRowSpan() + x] = (PIX_Pixel)((y * 16 + x) * 0x01010101u ^ 0x00FF00FFu);
}

TEST(WeightSweep, EveryModeAndPrimitiveAtEveryHeldWeight) {
  PIX_MemBitmap dest(16, 16, 1), src(16, 16, 1);
  FillRamp(src);
  const float xs[4] = {-3, 5, 12, 20}, ys[4] = {2, -4, 19, 9};
  const int px[4] = {1, 14, 12, 2}, py[4] = {0, 3, 15, 11};
  for (int op = 0; op <= 5; op++)
    for (int flags : {0, 0x100, 0x10000, 0x10100}) {
      const int mode = op | flags;
      for (int q = -64; q <= 64; q++) {
        const float w = q / 4.0f;
        const PIX_Pixel c = 0xC08040FFu;
        FillRamp(dest);
        PIX_FillRect(&dest, -2, -2, 20, 20, c, w, mode);
        PIX_PutPixel(&dest, 3, 4, 0xFFFFFFFFu, w, mode);
        PIX_Blit(&dest, &src, 0, 0, nullptr, w, mode);
        PIX_ScaledBlit(&dest, &src, 0, 0, 16, 16, 0.5f, 0.5f, 13.0f, 13.0f, w, mode);
        PIX_ScaledBlit(&dest, &src, 0, 0, 5, 5, 0, 0, 16, 16, w, mode);
        PIX_RotatedBlit(&dest, &src, 0, 0, 16, 16, 0, 0, 16, 16, 0.7, false, w, mode);
        PIX_Line(&dest, -1, 2, 17, 13, c, w, mode, true);
        PIX_FLine(&dest, 0.3f, 15.2f, 14.6f, 0.7f, c, w, mode, true);
        PIX_DashedLine(&dest, 0, 0, 15, 15, c, w, mode, 2, 1);
        PIX_Circle(&dest, 8, 8, 6.5f, c, w, mode, true);
        PIX_FillCircle(&dest, 7.5f, 8, 5, c, w, mode, true);
        PIX_Arc(&dest, 8, 8, 7, -1.0f, 2.5f, c, w, mode, true);
        PIX_FillTrapezoid(&dest, 2, 5, 1, -1, 17, 14, c, w, mode);
        PIX_FillConvexPolygon(&dest, px, py, 4, c, w, mode);
        PIX_RoundRect(&dest, 1, 1, 13, 12, 4, c, w, mode, true);
        PIX_BorderedRect(&dest, 2, 2, 10, 10, c, 0x80FFFFFFu, w, mode);
        PIX_DrawCBezier(&dest, xs, ys, c, w, mode, true);
        PIX_FillCBezier(&dest, xs, ys, 15, c, w, mode);
      }
    }
}

// The widest products: a fill at weight 16 hands 4096 as both weight and source alpha.
TEST(WeightSweep, MultiplyAndOverlayKeepTheirFormulaAtTheHeldExtremes) {
  for (int op : {3, 4})
    for (float w : {16.0f, -16.0f, 11.5f}) {
      PIX_MemBitmap bm(1, 1, 1);
      bm.getBits()[0] = 0xF0C08010u;
      PIX_FillRect(&bm, 0, 0, 1, 1, 0x00FF4000u, w, op);
      const long long iw = (long long)(w * 256);
      const long long d[4] = {0x10, 0x80, 0xC0, 0xF0}, s[4] = {0x00, 0x40, 0xFF, iw};
      PIX_Pixel expect = 0;
      for (int ch = 0; ch < 4; ch++) {
        long long v;
        if (op == 3) {
          v = ((d[ch] * (s[ch] * iw + (256 - iw) * 256)) >> 16) & 0xFF;
        } else {
          const long long k = s[ch] * iw + (256 - iw) * 128;
          v = (((32768 - k) * d[ch] / 256 + k) * d[ch]) >> 15;
          v = v < 0 ? 0 : (v > 255 ? 255 : v);
        }
        expect |= (PIX_Pixel)v << (8 * ch);
      }
      EXPECT_EQ(bm.getBits()[0], expect) << "mode " << op << " weight " << w;
    }
}

}  // namespace
