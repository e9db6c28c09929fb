#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {
constexpr uint32_t kBk = 0x0000FF;

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : font(20), ctx(200, 100) {
    GDI_SelectFont(ctx.dc, font.font);
    GDI_GetFontMetrics(font.font, &tm);
    GDI_SetTextColor(ctx.dc, 0xFFFFFF);
  }

  RECT Measure(const char* text, unsigned flags = 0) {
    RECT r = {5, 7, 5, 7};
    GDI_DrawText(ctx.dc, text, -1, &r, flags | GDI_DT_CALCRECT);
    return r;
  }

  // In opaque mode the background fill shows exactly where the text box went.
  RECT DrawBox(const char* text, RECT r, unsigned flags) {
    ctx.Fill(0);
    GDI_SetBkMode(ctx.dc, GDI_OPAQUE);
    GDI_SetBkColor(ctx.dc, kBk);
    GDI_SetTextColor(ctx.dc, kBk);
    GDI_DrawText(ctx.dc, text, -1, &r, flags);
    return InkBox(ctx);
  }

  TestFont font;
  TestContext ctx;
  GDI_TEXTMETRIC tm;
};
}  // namespace

TEST_F(DrawTextTest, MeasuresLinesWidthsAndHeights) {
  const RECT one = Measure("W");
  const int cw = one.right - one.left;
  EXPECT_GT(cw, 5);
  EXPECT_EQ(one.left, 5);
  EXPECT_EQ(one.bottom - one.top, tm.tmHeight);
  EXPECT_EQ(Measure("WWWW").right - 5, 4 * cw);

  RECT r = {0, 0, 0, 0};
  EXPECT_EQ(GDI_DrawText(ctx.dc, "a\nbb\nc", -1, &r, GDI_DT_CALCRECT), 3 * tm.tmHeight);
  EXPECT_EQ(r.right, 2 * cw);
  EXPECT_EQ(Measure("a\r\nb").bottom - 7, 2 * tm.tmHeight);  // CR is ignored
  EXPECT_EQ(Measure("a\n").bottom - 7, tm.tmHeight);         // no empty last line
  // On a single line a line feed is a space.
  const RECT single = Measure("a\nb", GDI_DT_SINGLELINE);
  EXPECT_EQ(single.right - 5, 3 * cw);
  EXPECT_EQ(single.bottom - 7, tm.tmHeight);

  const RECT empty = Measure("");
  EXPECT_EQ(empty.right, 5);
  EXPECT_EQ(empty.bottom, 7);
  // An explicit length stops early, and so does an embedded zero.
  RECT part = {0, 0, 0, 0};
  GDI_DrawText(ctx.dc, "WWWW", 2, &part, GDI_DT_CALCRECT);
  EXPECT_EQ(part.right, 2 * cw);
  part = {0, 0, 0, 0};
  GDI_DrawText(ctx.dc, "WW\0WW", 5, &part, GDI_DT_CALCRECT);
  EXPECT_EQ(part.right, 2 * cw);
}

TEST_F(DrawTextTest, PrefixAmpersandsUnlessNoPrefix) {
  const int cw = Measure("W").right - 5;
  EXPECT_EQ(Measure("&Save").right - 5, 4 * cw);
  EXPECT_EQ(Measure("a&&b").right - 5, 3 * cw);
  EXPECT_EQ(Measure("&Save", GDI_DT_NOPREFIX).right - 5, 5 * cw);
  EXPECT_EQ(Measure("end&").right - 5, 3 * cw);

  // The prefixed character is underlined: ink appears below the baseline under it only.
  GDI_SetBkMode(ctx.dc, GDI_TRANSPARENT);
  RECT r = {0, 0, 200, 100};
  GDI_DrawText(ctx.dc, "&mm", -1, &r, 0);
  bool under = false, underSecond = false;
  for (int y = tm.tmAscent + 1; y < tm.tmHeight; ++y) {
    under |= (ctx.At(cw / 2, y) & 0xFF) != 0;
    underSecond |= (ctx.At(cw + cw / 2, y) & 0xFF) != 0;
  }
  EXPECT_TRUE(under);
  EXPECT_FALSE(underSecond);
}

TEST_F(DrawTextTest, AlignmentFlagsPlaceTheTextBox) {
  const RECT m = Measure("Hello");
  const int w = m.right - m.left, h = tm.tmHeight;
  const RECT area = {10, 10, 190, 90};
  auto expect = [&](unsigned flags, int left, int top) {
    const RECT box = DrawBox("Hello", area, flags);
    EXPECT_EQ(box.left, left) << std::hex << flags;
    EXPECT_EQ(box.top, top) << std::hex << flags;
    EXPECT_EQ(box.right - box.left, w) << std::hex << flags;
    EXPECT_EQ(box.bottom - box.top, h) << std::hex << flags;
  };
  expect(0, 10, 10);
  expect(GDI_DT_CENTER, 10 + (180 - w) / 2, 10);
  expect(GDI_DT_RIGHT, 190 - w, 10);
  expect(GDI_DT_VCENTER | GDI_DT_SINGLELINE, 10, 10 + (80 - h) / 2);
  expect(GDI_DT_BOTTOM | GDI_DT_RIGHT, 190 - w, 90 - h);

  // Lines of a block are aligned one by one.
  const RECT block = DrawBox("ab\nabcd", area, GDI_DT_RIGHT);
  EXPECT_EQ(block.right, 190);
  const int cw = w / 5;
  EXPECT_EQ(ctx.At(190 - 3 * cw, 10 + h / 2), 0u);  // left of the short first line: untouched
  EXPECT_NE(ctx.At(190 - 3 * cw, 10 + h + h / 2), 0u);
}

TEST_F(DrawTextTest, ClipsToTheRectangleAndTheContextClipStack) {
  GDI_SetBkMode(ctx.dc, GDI_TRANSPARENT);
  RECT small = {0, 0, 15, 12};
  GDI_DrawText(ctx.dc, "WWWW", -1, &small, 0);
  RECT ink = InkBox(ctx);
  EXPECT_LE(ink.right, 15);
  EXPECT_LE(ink.bottom, 12);

  ctx.Fill(0);
  GDI_DrawText(ctx.dc, "WWWW", -1, &small, GDI_DT_NOCLIP);
  ink = InkBox(ctx);
  EXPECT_GT(ink.right, 15);
  EXPECT_GT(ink.bottom, 12);

  // A pushed clip limits everything until it is popped; the pop restores the earlier one.
  const RECT outer = {0, 0, 100, 100}, inner = {20, 0, 40, 100};
  GDI_PushClipRect(ctx.dc);
  GDI_SetClipRect(ctx.dc, &outer);
  GDI_PushClipRect(ctx.dc);
  GDI_SetClipRect(ctx.dc, &inner);
  RECT got;
  GDI_GetClipRect(ctx.dc, &got);
  EXPECT_EQ(got.left, 20);
  EXPECT_EQ(got.right, 40);
  ctx.Fill(0);
  RECT all = {0, 0, 200, 100};
  GDI_DrawText(ctx.dc, "WWWWWWWWWW", -1, &all, 0);
  ink = InkBox(ctx);
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 40);
  GDI_PopClipRect(ctx.dc);
  GDI_GetClipRect(ctx.dc, &got);
  EXPECT_EQ(got.right, 100);
  GDI_PopClipRect(ctx.dc);
  GDI_PopClipRect(ctx.dc);  // more pops than pushes are harmless
  GDI_GetClipRect(ctx.dc, &got);
  EXPECT_EQ(got.right, 200);
  ctx.Fill(0);
  GDI_DrawText(ctx.dc, "WWWWWWWWWW", -1, &all, 0);
  EXPECT_GT(InkBox(ctx).right, 100);

  // A clip wholly outside the buffer draws nothing and stays safe.
  const RECT away = {-50, -50, -10, -10};
  GDI_SetClipRect(ctx.dc, &away);
  ctx.Fill(0);
  GDI_DrawText(ctx.dc, "WWWW", -1, &all, GDI_DT_NOCLIP);
  EXPECT_EQ(InkBox(ctx).right, 0);
}

TEST_F(DrawTextTest, ColoursAndBackgroundMode) {
  ctx.Fill(0xFF000000);
  GDI_SetBkMode(ctx.dc, GDI_TRANSPARENT);
  GDI_SetTextColor(ctx.dc, 0x3366CC);
  RECT r = {0, 0, 200, 100};
  EXPECT_EQ(GDI_DrawText(ctx.dc, "I", -1, &r, 0), tm.tmHeight);
  int full = 0;
  for (int i = 0; i < 200 * 100; ++i) {
    const uint32_t p = ctx.Pixels()[i];
    if ((p & 0xFFFFFF) == 0x3366CC) ++full;
    // Partial coverage blends between background and text colour in every channel.
    EXPECT_LE((p >> 16) & 0xFF, 0x33u);
    EXPECT_LE(p & 0xFF, 0xCCu);
    EXPECT_EQ(p >> 24, 0xFFu);
  }
  EXPECT_GT(full, 10);
  // Transparent mode leaves the box around the glyph alone; opaque mode fills it.
  EXPECT_EQ(ctx.At(1, 1), 0xFF000000u);
  GDI_SetBkMode(ctx.dc, GDI_OPAQUE);
  GDI_SetBkColor(ctx.dc, 0x00FF00);
  GDI_DrawText(ctx.dc, "I", -1, &r, 0);
  EXPECT_EQ(ctx.At(1, 1), 0xFF00FF00u);
}

TEST_F(DrawTextTest, RotatedFontsReportTheTurnedBox) {
  TestFont up(20, "DejaVu Sans Mono", GDI_FW_NORMAL, 0, GDI_ANTIALIASED_QUALITY, 900);
  const RECT flat = Measure("Level");
  GDI_SelectFont(ctx.dc, up.font);
  const RECT turned = Measure("Level");
  EXPECT_EQ(turned.right - turned.left, flat.bottom - flat.top);
  EXPECT_NEAR(turned.bottom - turned.top, flat.right - flat.left, 1);

  // Reading bottom-up: the ink stays inside the box it reported.
  GDI_SetBkMode(ctx.dc, GDI_TRANSPARENT);
  RECT r = {0, 0, 200, 100};
  GDI_DrawText(ctx.dc, "Level", -1, &r, GDI_DT_CENTER | GDI_DT_VCENTER);
  const RECT ink = InkBox(ctx);
  const int bw = turned.right - turned.left, bh = turned.bottom - turned.top;
  EXPECT_GE(ink.left, (200 - bw) / 2 - 1);
  EXPECT_LE(ink.right, (200 - bw) / 2 + bw + 1);
  EXPECT_GE(ink.top, (100 - bh) / 2 - 1);
  EXPECT_LE(ink.bottom, (100 - bh) / 2 + bh + 1);
  GDI_SelectFont(ctx.dc, font.font);
}

TEST_F(DrawTextTest, HostileArgumentsAndBytesAreSafe) {
  RECT r = {0, 0, 200, 100};
  EXPECT_EQ(GDI_DrawText(nullptr, "x", -1, &r, 0), 0);
  EXPECT_EQ(GDI_DrawText(ctx.dc, "x", -1, nullptr, 0), 0);
  EXPECT_EQ(GDI_DrawText(ctx.dc, nullptr, -1, &r, 0), 0);

  // Invalid sequences draw as replacement characters, one per ill-formed piece.
  const int cw = Measure("W").right - 5;
  EXPECT_EQ(Measure("a\xFF\xC3z").right - 5, 4 * cw);

  std::mt19937 rng(3);
  GDI_SetBkMode(ctx.dc, GDI_TRANSPARENT);
  for (int iter = 0; iter < 300; ++iter) {
    std::string s(size_t(rng() % 24), '\0');
    for (char& ch : s) ch = char(rng() & 0xFF);
    RECT any = {int(rng() % 300) - 50, int(rng() % 200) - 50, int(rng() % 300) - 50, int(rng() % 200) - 50};
    const unsigned flags = rng() & 0xFFF;
    EXPECT_GE(GDI_DrawText(ctx.dc, s.data(), int(s.size()), &any, flags), 0);
  }

  // Without a selected font the default one draws.
  TestContext plain(50, 30);
  GDI_SetTextColor(plain.dc, 0xFFFFFF);
  RECT pr = {0, 0, 50, 30};
  EXPECT_GT(GDI_DrawText(plain.dc, "x", -1, &pr, 0), 0);
}
