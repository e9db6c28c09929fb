// Memory and system bitmaps, fills, clears and single-pixel access.
#include <gtest/gtest.h>

#include <cstdint>

#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"

TEST(MemBitmap, RowSpanFollowsTheLineAlignment) {
  PIX_MemBitmap a4(5, 3, 4);
  EXPECT_EQ(a4.getRowSpan(), 8);
  PIX_MemBitmap a2(5, 3, 2), a8(5, 3, 8), none(5, 3, 1), a12(5, 3, 12), a64(5, 3, 64);
  EXPECT_EQ(a2.getRowSpan(), 6);
  EXPECT_EQ(a8.getRowSpan(), 8);
  EXPECT_EQ(none.getRowSpan(), 5);
  EXPECT_EQ(a12.getRowSpan(), 8);   // lowest set bit of 12 is 4
  EXPECT_EQ(a64.getRowSpan(), 16);  // alignment capped at 16 pixels
  EXPECT_EQ((uintptr_t)a4.getBits() % 64, 0u);
}

TEST(MemBitmap, ResizeRules) {
  PIX_MemBitmap bm;
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_TRUE(bm.resize(10, 10));
  EXPECT_FALSE(bm.resize(10, 10));
  PIX_Pixel* first = bm.getBits();
  ASSERT_NE(first, nullptr);
  bm.getBits()[99] = 0xFFFFFFFF;  // the whole area is writable
  EXPECT_TRUE(bm.resize(5, 5));
  EXPECT_EQ(bm.getBits(), first);  // shrinking keeps the block
  EXPECT_TRUE(bm.resize(20, 20));
  EXPECT_EQ((uintptr_t)bm.getBits() % 64, 0u);
  bm.getBits()[399] = 1;
  EXPECT_TRUE(bm.resize(21, 21));  // within the 25 % headroom: 441 * 4 <= 500 * 4
  bm.getBits()[440] = 1;
  EXPECT_TRUE(bm.resize(0, 7));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_TRUE(bm.resize(-3, 4));
  EXPECT_EQ(bm.getBits(), nullptr);
  // A size no image needs is refused rather than attempted.
  EXPECT_TRUE(bm.resize(1 << 20, 1 << 20));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
}

TEST(SysBitmap, KeepsItsAllocationWhenShrunk) {
  PIX_SysBitmap bm(100, 100);
  ASSERT_NE(bm.getBits(), nullptr);
  ASSERT_NE(bm.getDC(), nullptr);
  PIX_Pixel* bits = bm.getBits();
  EXPECT_TRUE(bm.resize(50, 50));
  EXPECT_EQ(bm.getWidth(), 50);
  EXPECT_EQ(bm.getAllocWidth(), 100);
  EXPECT_EQ(bm.getAllocHeight(), 100);
  EXPECT_EQ(bm.getRowSpan(), 100);
  EXPECT_EQ(bm.getBits(), bits);
  EXPECT_FALSE(bm.resize(50, 50));

  PIX_SysBitmap odd(5, 3);
  EXPECT_EQ(odd.getRowSpan(), 8);  // allocated width rounded up to 4
  EXPECT_TRUE(odd.resize(0, 0));
  EXPECT_EQ(odd.getBits(), nullptr);
  EXPECT_EQ(odd.getDC(), nullptr);
  EXPECT_TRUE(odd.resize(-4, 10));
  EXPECT_EQ(odd.getBits(), nullptr);
  EXPECT_TRUE(odd.resize(7, 2));
  ASSERT_NE(odd.getBits(), nullptr);
  odd.getBits()[8 * 2 - 1] = 0;
}

TEST(Pixels, GetAndPutStayInside) {
  PIX_MemBitmap bm(4, 3, 4);
  PIX_Clear(&bm, 0x11223344);
  EXPECT_EQ(PIX_GetPixel(&bm, 3, 2), 0x11223344u);
  EXPECT_EQ(PIX_GetPixel(&bm, 4, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 3), 0u);
  EXPECT_EQ(PIX_GetPixel(&bm, -1, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(nullptr, 0, 0), 0u);
  PIX_PutPixel(&bm, 4, 0, 0xFFFFFFFF, 1.0f, 0);
  PIX_PutPixel(&bm, -1, 0, 0xFFFFFFFF, 1.0f, 0);
  PIX_PutPixel(&bm, 1, 1, 0xFFFFFFFF, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&bm, 1, 1), 0xFFFFFFFFu);
  // The row padding is never touched.
  EXPECT_EQ(bm.getBits()[4], 0x11223344u);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 4; x++)
      if (x != 1 || y != 1) {
        EXPECT_EQ(PIX_GetPixel(&bm, x, y), 0x11223344u);
      }

  // With the source-alpha flag, PutPixel still ignores the colour's alpha.
  PIX_Clear(&bm, 0);
  PIX_PutPixel(&bm, 0, 0, 0x00FFFFFF, 1.0f, 0x10000);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), 0x00FFFFFFu);
}

TEST(Fill, ShiftAndMaskWeights) {
  PIX_MemBitmap bm(4, 1);
  const PIX_Pixel d = 0xFF00FF80, c = 0x80FF0001;
  struct Case {
    float weight;
    PIX_Pixel want;
  } cases[] = {
      {1.0f, c},
      {0.75f, ((c >> 1) & 0x7F7F7F7F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F)},
      {0.5f, ((c >> 1) & 0x7F7F7F7F) + ((d >> 1) & 0x7F7F7F7F)},
      {0.25f, ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F) + ((d >> 1) & 0x7F7F7F7F)},
      {0.0f, d},
      {-0.5f, d},
  };
  for (const Case& k : cases) {
    PIX_Clear(&bm, d);
    PIX_FillRect(&bm, 1, 0, 2, 1, c, k.weight, 0);
    EXPECT_EQ(PIX_GetPixel(&bm, 1, 0), k.want) << k.weight;
    EXPECT_EQ(PIX_GetPixel(&bm, 2, 0), k.want) << k.weight;
    EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), d);
    EXPECT_EQ(PIX_GetPixel(&bm, 3, 0), d);
  }
  PIX_Clear(&bm, 0xFFFFFFFF);
  PIX_FillRect(&bm, 0, 0, 1, 1, 0xFFFFFFFF, 0.5f, 0);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), 0xFEFEFEFEu);
}

TEST(Fill, SourceAlphaScalesTheWeight) {
  PIX_MemBitmap bm(2, 1);
  PIX_Clear(&bm, 0xFF000000);
  // Alpha 0x80 at weight 1.0: w = (int)(128 / 255 * 256) = 128, the half mix.
  PIX_FillRect(&bm, 0, 0, 1, 1, 0x80FFFFFF, 1.0f, 0x10000);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), ((0x80FFFFFFu >> 1) & 0x7F7F7F7F) + ((0xFF000000u >> 1) & 0x7F7F7F7F));
  // Alpha 100: w = 100, the weighted copy with the weight as the source alpha.
  PIX_Clear(&bm, 0xFF000000);
  PIX_FillRect(&bm, 0, 0, 1, 1, 0x64FF0000, 1.0f, 0x10000);
  const int red = 255 + (0 - 255) * (256 - 100) / 256, alpha = 100 + (255 - 100) * (256 - 100) / 256;
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), PIX_MAKEPIXEL(alpha, red, 0, 0));
  // Add fills pass the weight as the source alpha as well, and saturate.
  PIX_Clear(&bm, 0x10F0F0F0);
  PIX_FillRect(&bm, 0, 0, 1, 1, 0xFF404040, 0.5f, 1);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), PIX_MAKEPIXEL(0x10 + 128 * 128 / 256, 255, 255, 255));
  // Unknown modes draw nothing.
  PIX_FillRect(&bm, 0, 0, 2, 1, 0xFFFFFFFF, 1.0f, 6);
  PIX_FillRect(&bm, 0, 0, 2, 1, 0xFFFFFFFF, 1.0f, 0xF1);
  EXPECT_EQ(PIX_GetPixel(&bm, 1, 0), 0x10F0F0F0u);
}

TEST(Fill, ClearRectMasksInsideTheClippedArea) {
  PIX_MemBitmap bm(3, 3);
  PIX_Clear(&bm, 0xFF123456);
  PIX_ClearRect(&bm, -5, 1, 7, 100, 0x00FFFFFF, 0x01000000);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 0), 0xFF123456u);
  EXPECT_EQ(PIX_GetPixel(&bm, 1, 1), 0x01123456u);
  EXPECT_EQ(PIX_GetPixel(&bm, 1, 2), 0x01123456u);
  EXPECT_EQ(PIX_GetPixel(&bm, 2, 2), 0xFF123456u);
  // Extreme rectangles neither overflow nor draw outside.
  PIX_FillRect(&bm, 0x7FFFFFF0, 0, 0x7FFFFFFF, 1, 0, 1.0f, 0);
  PIX_FillRect(&bm, -0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0, 1.0f, 0);
  EXPECT_EQ(PIX_GetPixel(&bm, 2, 2), 0xFF123456u);
  PIX_FillRect(&bm, 0, 0, 3, 3, 0xFFFFFFFF, std::numeric_limits<float>::quiet_NaN(), 1);
  EXPECT_EQ(PIX_GetPixel(&bm, 2, 2), 0xFF123456u);
}
