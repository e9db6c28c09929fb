// Plain, scaled and rotated blits: shortcuts, clipping, mirroring, filtering and the modes.
#include <gtest/gtest.h>

#include <cmath>

#include "pix/PIX_Blit.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"

namespace {
// A bitmap whose every pixel is distinct: 0xFF, x, y, x ^ y.
void Pattern(PIX_MemBitmap& bm) {
  for (int y = 0; y < bm.getHeight(); y++)
    for (int x = 0; x < bm.getWidth(); x++)
      bm.getBits()[y * bm.getRowSpan() + x] = PIX_MAKEPIXEL(255, x, y, x ^ y);
}

bool Same(PIX_IBitmap& a, PIX_IBitmap& b) {
  if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return false;
  for (int y = 0; y < a.getHeight(); y++)
    for (int x = 0; x < a.getWidth(); x++)
      if (PIX_GetPixel(&a, x, y) != PIX_GetPixel(&b, x, y)) return false;
  return true;
}
}  // namespace

TEST(Blit, HalfWeightCopyShiftsEachChannel) {
  PIX_MemBitmap dst(2, 2), src(2, 2);
  PIX_Clear(&dst, 0xFFFFFFFF);
  PIX_Clear(&src, 0xFFFFFFFF);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 0.5f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 1, 1), 0xFEFEFEFEu);
  // Other weights go through the weighted copy; alpha is a fourth channel.
  PIX_Clear(&dst, 0x00000000);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 0.25f, 0);
  const int v = 255 + (0 - 255) * (256 - 64) / 256;
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), PIX_MAKEPIXEL(v, v, v, v));
}

TEST(Blit, OpaqueCopyClipsAgainstBothBitmaps) {
  PIX_MemBitmap src(8, 6), dst(5, 4, 4);
  Pattern(src);
  PIX_Clear(&dst, 0);
  dst.getBits()[5] = 0xDEADBEEF;
  // A negative source left moves the destination point by the same amount.
  RECT r = {-2, 1, 4, 3};
  PIX_Blit(&dst, &src, 0, 0, &r, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 1, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(&dst, 2, 0), PIX_GetPixel(&src, 0, 1));
  EXPECT_EQ(PIX_GetPixel(&dst, 4, 1), PIX_GetPixel(&src, 2, 2));
  EXPECT_EQ(PIX_GetPixel(&dst, 2, 2), 0u);
  // A negative destination cuts the source; the far edges clip to the destination.
  PIX_Clear(&dst, 0);
  PIX_Blit(&dst, &src, -3, -1, 0, 0, 100, 100, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), PIX_GetPixel(&src, 3, 1));
  EXPECT_EQ(PIX_GetPixel(&dst, 4, 3), PIX_GetPixel(&src, 7, 4));
  EXPECT_EQ(dst.getBits()[5], 0xDEADBEEFu);  // row padding untouched
  // Nothing for empty or far-away areas, null bitmaps, zero weight; no overflow at the extremes.
  PIX_Clear(&dst, 0);
  PIX_Blit(&dst, &src, 5, 0, nullptr, 1.0f, 0);
  PIX_Blit(&dst, &src, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 1.0f, 0);
  PIX_Blit(&dst, &src, -0x7FFFFFFF, 0, 0, 0, 0x7FFFFFFF, 4, 1.0f, 0);
  PIX_Blit(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 0.0f, 0);
  PIX_MemBitmap empty;
  PIX_Blit(&dst, &empty, 0, 0, nullptr, 1.0f, 0);
  PIX_Blit(&empty, &src, 0, 0, nullptr, 1.0f, 0);
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 5; x++) EXPECT_EQ(PIX_GetPixel(&dst, x, y), 0u);
}

TEST(Blit, ModesAndSourceAlpha) {
  PIX_MemBitmap dst(1, 1), src(1, 1);
  // Copy with source alpha: alpha 0 leaves the destination, 255 replaces colour and makes it opaque.
  PIX_Clear(&dst, 0x40102030);
  PIX_Clear(&src, 0x00FFFFFF);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0x10000);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0x40102030u);
  PIX_Clear(&src, 0xFFABCDEF);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0x10000);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0xFFABCDEFu);
  // Add saturates per channel.
  PIX_Clear(&dst, 0x80F00010);
  PIX_Clear(&src, 0xA0200010);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 1);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0xFFFF0020u);
  // Negative weights draw nothing in copy mode; unknown combinations draw nothing at all.
  PIX_Clear(&dst, 0x01020304);
  PIX_Blit(&dst, &src, 0, 0, nullptr, -1.0f, 0);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 6);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0x10006);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0x01020304u);
  // Channel copy: source red (2) into destination alpha (3), whatever the weight.
  PIX_Clear(&src, 0x00AB0000);
  PIX_Blit(&dst, &src, 0, 0, nullptr, 0.0001f, 0xF0 | (3 << 2) | 2);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0xAB020304u);
}

TEST(Blit, OverlappingSelfBlitReadsTheOriginal) {
  PIX_MemBitmap bm(6, 6), ref(6, 6), orig(6, 6);
  Pattern(bm);
  PIX_Copy(&orig, &bm);
  PIX_Copy(&ref, &bm);
  PIX_Blit(&ref, &orig, 1, 2, 0, 0, 4, 3, 0.7f, 0);
  PIX_Blit(&bm, &bm, 1, 2, 0, 0, 4, 3, 0.7f, 0);
  EXPECT_TRUE(Same(bm, ref));
  PIX_Copy(&ref, &orig);
  PIX_Copy(&bm, &orig);
  PIX_Blit(&ref, &orig, 0, 0, 1, 1, 5, 5, 1.0f, 0);
  PIX_Blit(&bm, &bm, 0, 0, 1, 1, 5, 5, 1.0f, 0);
  EXPECT_TRUE(Same(bm, ref));
}

TEST(ScaledBlit, UnscaledTakesThePlainBlit) {
  PIX_MemBitmap src(8, 8), a(8, 8), b(8, 8);
  Pattern(src);
  PIX_Clear(&a, 0);
  PIX_Clear(&b, 0);
  // srcx 0.4 without filtering rounds to left 0.
  PIX_ScaledBlit(&a, &src, 1, 1, 5, 5, 0.4f, 0.0f, 5.0f, 5.0f, 1.0f, 0);
  PIX_Blit(&b, &src, 1, 1, 0, 0, 5, 5, 1.0f, 0);
  EXPECT_TRUE(Same(a, b));
  // With filtering, an offset within 0.03 of a whole pixel still takes the shortcut.
  PIX_Clear(&a, 0);
  PIX_ScaledBlit(&a, &src, 1, 1, 5, 5, 0.02f, 0.0f, 5.0f, 5.0f, 1.0f, 0x100);
  EXPECT_TRUE(Same(a, b));
  // Zero sizes and weights draw nothing.
  PIX_Clear(&a, 0);
  PIX_ScaledBlit(&a, &src, 0, 0, 0, 5, 0, 0, 5, 5, 1.0f, 0);
  PIX_ScaledBlit(&a, &src, 0, 0, 5, 5, 0, 0, 3, 3, 0.0f, 0);
  PIX_ScaledBlit(&a, &src, 0, 0, 5, 5, NAN, 0, 3, 3, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&a, 0, 0), 0u);
}

TEST(ScaledBlit, NearestUpscaleRepeatsPixels) {
  PIX_MemBitmap src(4, 4), dst(8, 8);
  Pattern(src);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 8, 0, 0, 4, 4, 1.0f, 0);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) ASSERT_EQ(PIX_GetPixel(&dst, x, y), PIX_GetPixel(&src, x / 2, y / 2));
  // Half weight uses the half mix on the nearest pixel.
  PIX_Clear(&dst, 0xFFFFFFFF);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 8, 0, 0, 4, 4, 0.5f, 0);
  const PIX_Pixel s = PIX_GetPixel(&src, 1, 1);
  EXPECT_EQ(PIX_GetPixel(&dst, 3, 3), ((s >> 1) & 0x7F7F7F7F) + 0x7F7F7F7F);
}

TEST(ScaledBlit, MirroringIsTheExactFlip) {
  PIX_MemBitmap src(6, 5), plain(12, 10), mirrored(12, 10);
  Pattern(src);
  for (int filter : {0, 0x100}) {
    PIX_Clear(&plain, 0);
    PIX_Clear(&mirrored, 0);
    PIX_ScaledBlit(&plain, &src, 0, 0, 12, 10, 0, 0, 6, 5, 1.0f, filter);
    PIX_ScaledBlit(&mirrored, &src, 12, 10, -12, -10, 0, 0, 6, 5, 1.0f, filter);
    for (int y = 0; y < 10; y++)
      for (int x = 0; x < 12; x++)
        ASSERT_EQ(PIX_GetPixel(&mirrored, x, y), PIX_GetPixel(&plain, 11 - x, 9 - y))
            << filter << " " << x << "," << y;
  }
}

TEST(ScaledBlit, BilinearAndBoxFilters) {
  // Two columns 0 and 200: a 4x stretch interpolates in quarter steps, the last column holds.
  PIX_MemBitmap src(2, 1), dst(8, 1);
  src.getBits()[0] = 0xFF000000;
  src.getBits()[1] = 0xFFC8C8C8;
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 1, 0, 0, 2, 1, 1.0f, 0x100);
  const int want[8] = {0, 50, 100, 150, 200, 200, 200, 200};
  for (int x = 0; x < 8; x++) EXPECT_EQ(PIX_GetR(PIX_GetPixel(&dst, x, 0)), want[x]) << x;

  // Shrinking 9 -> 3 averages 3 x 3 blocks around each sample, counting only inside pixels.
  PIX_MemBitmap big(9, 9), small(3, 3);
  PIX_Clear(&big, 0xFF000000);
  big.getBits()[0] = 0xFF909090;  // only the corner pixel is lit
  PIX_ScaledBlit(&small, &big, 0, 0, 3, 3, 0, 0, 9, 9, 1.0f, 0x100);
  EXPECT_EQ(PIX_GetPixel(&small, 0, 0), 0xFF242424u);  // (0x90) / 4 inside pixels
  EXPECT_EQ(PIX_GetPixel(&small, 1, 1), 0xFF000000u);
  // Steps above 3 average 5 x 5 blocks.
  PIX_MemBitmap tiny(2, 2);
  PIX_ScaledBlit(&tiny, &big, 0, 0, 2, 2, 0, 0, 9, 9, 1.0f, 0x100);
  EXPECT_EQ(PIX_GetPixel(&tiny, 0, 0), PIX_MAKEPIXEL(255, 0x90 / 9, 0x90 / 9, 0x90 / 9));
}

TEST(ScaledBlit, SamplesOutsideTheSourceAreSkipped) {
  // Steps of 0.75 from -1: samples -1, -0.25, 0.5, ... 3.5, 4.25; the first two and the last
  // fall outside the 4-pixel source.
  PIX_MemBitmap src(4, 4), dst(8, 8);
  Pattern(src);
  PIX_Clear(&dst, 0x12345678);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 8, -1.0f, -1.0f, 6.0f, 6.0f, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 1, 1), 0x12345678u);
  EXPECT_EQ(PIX_GetPixel(&dst, 1, 2), 0x12345678u);
  EXPECT_EQ(PIX_GetPixel(&dst, 2, 2), PIX_GetPixel(&src, 0, 0));
  EXPECT_EQ(PIX_GetPixel(&dst, 6, 6), PIX_GetPixel(&src, 3, 3));
  EXPECT_EQ(PIX_GetPixel(&dst, 7, 6), 0x12345678u);

  // A destination cut at the left advances the start before the fixed-point conversion: with
  // steps of 1/3 (0x5555 in 16.16), 150 cut pixels start at exactly 50, not at 150 * 0x5555.
  PIX_MemBitmap wide(100, 1), out(10, 1);
  Pattern(wide);
  PIX_ScaledBlit(&out, &wide, -150, 0, 300, 1, 0.0f, 0.0f, 100.0f, 1.0f, 1.0f, 0);
  EXPECT_EQ(PIX_GetR(PIX_GetPixel(&out, 0, 0)), 50);
  EXPECT_EQ(PIX_GetR(PIX_GetPixel(&out, 3, 0)), 50);
  EXPECT_EQ(PIX_GetR(PIX_GetPixel(&out, 4, 0)), 51);
}

TEST(RotatedBlit, QuarterTurnsMoveThePixels) {
  PIX_MemBitmap src(4, 4), dst(4, 4), plain(4, 4);
  Pattern(src);
  PIX_Clear(&dst, 0);
  PIX_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.0, false, 1.0f, 0);
  EXPECT_TRUE(Same(dst, src));
  // Positions are pixel corners, so half a turn about the centre maps (x, y) to (4 - x, 4 - y):
  // the first row and column fall outside the source and stay untouched.
  PIX_Clear(&dst, 0);
  PIX_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, M_PI, false, 1.0f, 0);
  for (int y = 1; y < 4; y++)
    for (int x = 1; x < 4; x++)
      EXPECT_EQ(PIX_GetPixel(&dst, x, y), PIX_GetPixel(&src, 4 - x, 4 - y)) << x << y;
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0u);
  // A quarter turn clockwise in the destination: (x, y) samples (y, 4 - x).
  PIX_Clear(&dst, 0);
  PIX_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, M_PI / 2, false, 1.0f, 0);
  for (int y = 0; y < 4; y++)
    for (int x = 1; x < 4; x++) EXPECT_EQ(PIX_GetPixel(&dst, x, y), PIX_GetPixel(&src, y, 4 - x)) << x << y;
  // Clipping to the source rectangle leaves the rest of the destination alone.
  // Half a turn of the 2 x 2 corner samples (2 - x, 2 - y): column 2 lies outside the corner but
  // inside the bitmap.
  PIX_Clear(&dst, 0x11111111);
  PIX_RotatedBlit(&dst, &src, 0, 0, 2, 2, 0, 0, 2, 2, M_PI, true, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), 0x11111111u);
  EXPECT_EQ(PIX_GetPixel(&dst, 1, 1), PIX_GetPixel(&src, 1, 1));
  PIX_RotatedBlit(&dst, &src, 0, 0, 2, 2, 0, 0, 2, 2, M_PI, false, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 0, 0), PIX_GetPixel(&src, 2, 2));
  // A weight of 0 or an unknown mode draws nothing.
  PIX_Clear(&dst, 0);
  PIX_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.3, false, 0.0f, 0);
  PIX_RotatedBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.3, false, 1.0f, 9);
  PIX_RotatedBlit(&dst, &src, -0x7FFFFFFF, 0, 0x7FFFFFFF, 4, 0, 0, 4, 4, 0.3, false, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&dst, 2, 2), 0u);
}
