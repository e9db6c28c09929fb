#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
int MeasureWidth(HFONT font, const char* text, unsigned flags = 0) {
  TestContext c(8, 8);
  GDI_SelectFont(c.dc, font);
  RECT r = {0, 0, 0, 0};
  GDI_DrawText(c.dc, text, -1, &r, flags | GDI_DT_CALCRECT);
  return r.right - r.left;
}
}  // namespace

TEST(GDI_Font, ExplicitFaceIsUsedAndMissingFacesGetASimilarOne) {
  TestFont exact(14, "DejaVu Sans");
  ASSERT_NE(exact.font, nullptr);
  EXPECT_EQ(std::string(GDI_GetFontFamily(exact.font)), "DejaVu Sans");

  // A monospaced face that is not installed stays monospaced.
  for (const char* face : {"Monaco", "Courier New", "menlo"}) {
    TestFont f(14, face);
    ASSERT_NE(f.font, nullptr) << face;
    EXPECT_EQ(MeasureWidth(f.font, "iiii"), MeasureWidth(f.font, "MMMM")) << face;
  }
  TestFont serif(14, "Times New Roman");
  EXPECT_EQ(std::string(GDI_GetFontFamily(serif.font)), "DejaVu Serif");

  TestFont unknown(14, "No Such Face 123");
  ASSERT_NE(unknown.font, nullptr);
  EXPECT_NE(MeasureWidth(unknown.font, "iiii"), MeasureWidth(unknown.font, "MMMM"));
  TestFont unnamed(14, nullptr);
  EXPECT_NE(unnamed.font, nullptr);
}

TEST(GDI_Font, PositiveHeightIsTheCellAndNegativeTheEmSize) {
  for (int h : {2, 10, 13, 24, 60}) {
    TestFont f(h, "DejaVu Sans");
    GDI_TEXTMETRIC tm;
    ASSERT_TRUE(GDI_GetFontMetrics(f.font, &tm));
    EXPECT_EQ(tm.tmHeight, h);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GT(tm.tmAscent, tm.tmDescent);
  }
  TestFont em(-20, "DejaVu Sans");
  GDI_TEXTMETRIC tm;
  ASSERT_TRUE(GDI_GetFontMetrics(em.font, &tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
  EXPECT_GT(tm.tmHeight, 20);

  EXPECT_EQ(GDI_CreateFont(100000, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"), nullptr);
  EXPECT_FALSE(GDI_GetFontMetrics(nullptr, &tm));
  EXPECT_STREQ(GDI_GetFontFamily(nullptr), "");
}

TEST(GDI_Font, WeightQualityAndContextMetrics) {
  TestFont regular(20, "DejaVu Sans"), bold(20, "DejaVu Sans", GDI_FW_BOLD);
  EXPECT_GT(MeasureWidth(bold.font, "MMMM"), MeasureWidth(regular.font, "MMMM"));

  // Non-anti-aliased output has only empty and full pixels; anti-aliased output has grey edges,
  // white on black with the same coverage in every colour byte.
  for (int quality : {GDI_NONANTIALIASED_QUALITY, GDI_ANTIALIASED_QUALITY}) {
    TestFont f(24, "DejaVu Sans", GDI_FW_NORMAL, 0, quality);
    TestContext c(120, 40);
    GDI_SelectFont(c.dc, f.font);
    GDI_SetBkMode(c.dc, GDI_TRANSPARENT);
    GDI_SetTextColor(c.dc, 0xFFFFFF);
    RECT r = {0, 0, 120, 40};
    GDI_DrawText(c.dc, "Sound", -1, &r, 0);
    int partial = 0;
    for (int i = 0; i < 120 * 40; ++i) {
      const uint32_t p = c.Pixels()[i];
      const uint32_t b = p & 0xFF;
      ASSERT_EQ((p >> 8) & 0xFF, b);
      ASSERT_EQ((p >> 16) & 0xFF, b);
      if (b != 0 && b != 255) ++partial;
    }
    if (quality == GDI_NONANTIALIASED_QUALITY)
      EXPECT_EQ(partial, 0);
    else
      EXPECT_GT(partial, 20);
  }

  TestContext c(8, 8);
  GDI_TEXTMETRIC tm;
  EXPECT_TRUE(GDI_GetTextMetrics(c.dc, &tm));  // the default font
  EXPECT_GT(tm.tmHeight, 0);
  EXPECT_FALSE(GDI_GetTextMetrics(nullptr, &tm));
}

TEST(GDI_MemContext, FrameBufferAndStateBasics) {
  EXPECT_EQ(GDI_CreateMemContext(0, 10), nullptr);
  EXPECT_EQ(GDI_CreateMemContext(10, -1), nullptr);
  EXPECT_EQ(GDI_CreateMemContext(1 << 20, 1 << 20), nullptr);
  GDI_DeleteGfxContext(nullptr);
  EXPECT_EQ(GDI_GetCtxFrameBuffer(nullptr), nullptr);

  TestContext c(7, 3);
  ASSERT_NE(c.dc, nullptr);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(c.Pixels()[i], 0u);
  c.Pixels()[20] = 0x12345678;  // the whole w x h buffer is writable
  EXPECT_EQ(GDI_SetTextColor(c.dc, 0xFF102030), 0u);
  EXPECT_EQ(GDI_GetTextColor(c.dc), 0x102030u);
  EXPECT_EQ(GDI_SetBkMode(c.dc, 99), GDI_OPAQUE);  // invalid modes are ignored
  EXPECT_EQ(GDI_GetBkMode(c.dc), GDI_OPAQUE);
}
