// The source-alpha copy at full weight takes whole-block shortcuts; every pixel must still come out
// exactly as the per-pixel combine function makes it, whatever mix of alphas a block holds.
#include <gtest/gtest.h>

#include <random>

#include "pix/PIX_Blit.h"
#include "pix/PIX_Combine.h"
#include "pix/PIX_MemBitmap.h"

TEST(SourceAlphaRow, BlocksAndTailsMatchThePerPixelCombine) {
  std::mt19937 rng(7);
  auto byte = [&] { return (int)(rng() & 255); };
  for (int w = 1; w <= 41; w++) {
    PIX_MemBitmap src(w, 8), dst(w, 8), expect(w, 8);
    for (int y = 0; y < 8; y++) {
      // Runs of opaque, clear and partial alphas, so blocks see every mixture.
      int a = 0;
      for (int x = 0; x < w; x++) {
        if (rng() % 3 == 0) {
          const int kind = (int)(rng() % 3);
          a = kind == 0 ? 0 : (kind == 1 ? 255 : -1);
        }
        const int alpha = a < 0 ? byte() : a;
        src.getBits()[y * src.getRowSpan() + x] = PIX_MAKEPIXEL(alpha, byte(), byte(), byte());
        const PIX_Pixel d = PIX_MAKEPIXEL(byte(), byte(), byte(), byte());
        dst.getBits()[y * dst.getRowSpan() + x] = d;
        expect.getBits()[y * expect.getRowSpan() + x] = d;
      }
    }
    PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY);
    for (int y = 0; y < 8; y++)
      for (int x = 0; x < w; x++) {
        const PIX_Pixel p = src.getBits()[y * src.getRowSpan() + x];
        PIX_Pixel* e = &expect.getBits()[y * expect.getRowSpan() + x];
        _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp(e, PIX_GetR(p), PIX_GetG(p), PIX_GetB(p),
                                                                PIX_GetA(p), 256);
        ASSERT_EQ(dst.getBits()[y * dst.getRowSpan() + x], *e) << "width " << w << " at " << x << "," << y;
      }
  }
}
