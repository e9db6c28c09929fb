#include "gdi/GDI_Font.h"
#include "pix/PIX_CachedFont.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>

namespace {
HFONT MakeHFont(int height, const char* face = "DejaVu Sans Mono") {
  return GDI_CreateFont(height, 0, 0, 0, GDI_FW_NORMAL, 0, 0, 0, 0, 0, 0, GDI_ANTIALIASED_QUALITY, 0, face);
}

struct Ink {
  RECT box = {0, 0, 0, 0};
  int count = 0;
  int maxGreen = 0;
};

// Where the green channel differs from the background's.
Ink FindInk(PIX_IBitmap* bm, PIX_Pixel background) {
  Ink ink;
  RECT& r = ink.box;
  r = {bm->getWidth(), bm->getHeight(), 0, 0};
  for (int y = 0; y < bm->getHeight(); ++y)
    for (int x = 0; x < bm->getWidth(); ++x) {
      const PIX_Pixel p = bm->getBits()[y * bm->getRowSpan() + x];
      if (PIX_GetG(p) == PIX_GetG(background)) continue;
      ++ink.count;
      ink.maxGreen = std::max(ink.maxGreen, PIX_GetG(p));
      r.left = std::min(r.left, x);
      r.top = std::min(r.top, y);
      r.right = std::max(r.right, x + 1);
      r.bottom = std::max(r.bottom, y + 1);
    }
  if (!ink.count) r = {0, 0, 0, 0};
  return ink;
}

class CachedFontTest : public ::testing::Test {
 protected:
  CachedFontTest() : bm(240, 80, 4) { Clear(); }

  void Set(int flags, int height = 16, const char* face = "DejaVu Sans Mono") {
    font.SetFromHFont(MakeHFont(height, face), flags | PIX_FONT_FLAG_OWNS_HFONT);
    font.SetTextColor(0xFFFFFFFF);
  }
  void Clear(PIX_Pixel c = 0xFF000000) { PIX_Clear(&bm, c); }
  RECT Measure(const char* text, unsigned flags = 0) {
    RECT r = {3, 4, 3, 4};
    font.DrawText(&bm, text, -1, &r, flags | PIX_DT_CALCRECT);
    return r;
  }
  int Draw(const char* text, unsigned flags = 0, RECT r = {0, 0, 240, 80}) {
    return font.DrawText(&bm, text, -1, &r, flags);
  }
  int Advance(char c) { return font.FindGlyph(uint32_t(c))->advance; }

  PIX_MemBitmap bm;
  PIX_CachedFont font;
};
}  // namespace

TEST_F(CachedFontTest, LineFeedStartsALineUnlessSingleLine) {
  Set(0);
  const int lh = font.GetLineHeight();
  EXPECT_EQ(lh, 16);
  Draw("A\nA");
  RECT second = {0, 0, 0, 0};
  {
    // Ink of the second line alone: clear the first line's band and look again.
    const Ink both = FindInk(&bm, 0xFF000000);
    PIX_FillRect(&bm, 0, 0, 240, lh, 0xFF000000, 1.0f, 0);
    second = FindInk(&bm, 0xFF000000).box;
    EXPECT_EQ(second.top - both.box.top, lh);
    EXPECT_EQ(second.left, both.box.left);
  }
  Clear();
  EXPECT_EQ(Draw("A\nB", PIX_DT_SINGLELINE), lh);
  const Ink one = FindInk(&bm, 0xFF000000);
  EXPECT_LT(one.box.bottom, lh + 1);
  EXPECT_GE(one.box.right, 2 * Advance('A'));
  const RECT m = Measure("A\nB", PIX_DT_SINGLELINE);
  EXPECT_EQ(m.right - m.left, 3 * Advance('A'));

  // The spacing adjustment moves every later line, and forces the cached path.
  Set(PIX_FONT_FLAG_PREFER_NATIVE);
  font.SetLineSpacingAdjust(5);
  const RECT two = Measure("A\nB");
  EXPECT_EQ(two.bottom - two.top, 2 * lh + 5);
  EXPECT_EQ(font.CachedGlyphCount(), 2);
}

TEST_F(CachedFontTest, ForegroundAlphaDrawsAtItsStrengthEvenForNativeFonts) {
  Set(PIX_FONT_FLAG_PREFER_NATIVE);
  font.SetTextColor(0x80FFFFFF);
  Draw("Mix", PIX_DT_USEFGALPHA);
  const Ink half = FindInk(&bm, 0xFF000000);
  EXPECT_NEAR(half.maxGreen, 128, 3);
  EXPECT_EQ(font.CachedGlyphCount(), 3);  // went through the glyph cache

  Clear();
  Draw("Mix");  // natively the colour's alpha is ignored
  EXPECT_EQ(FindInk(&bm, 0xFF000000).maxGreen, 255);
  EXPECT_EQ(font.CachedGlyphCount(), 3);

  // A weight that rounds to nothing draws nothing.
  Clear();
  font.SetTextColor(0x00FFFFFF);
  EXPECT_EQ(Draw("Mix", PIX_DT_USEFGALPHA), 0);
  EXPECT_EQ(FindInk(&bm, 0xFF000000).count, 0);
}

TEST_F(CachedFontTest, MeasuringAndReturnValues) {
  for (int flags : {0, PIX_FONT_FLAG_PREFER_NATIVE}) {
    Set(flags);
    RECT e = Measure("");
    EXPECT_EQ(e.right - e.left, 0);
    EXPECT_EQ(e.bottom - e.top, 0);
    const RECT m = Measure("Hello\nworld!");
    EXPECT_EQ(m.right - m.left, 6 * Advance('w')) << flags;
    EXPECT_EQ(m.bottom - m.top, 2 * font.GetLineHeight()) << flags;
    EXPECT_EQ(Draw("Hello\nworld!"), 2 * font.GetLineHeight()) << flags;
    // Without a bitmap only measuring works.
    RECT r = {0, 0, 10, 10};
    EXPECT_EQ(font.DrawText(nullptr, "x", -1, &r, 0), 0);
    EXPECT_EQ(font.DrawText(nullptr, "xy", -1, &r, PIX_DT_CALCRECT), font.GetLineHeight());
    EXPECT_EQ(r.right, 2 * Advance('x'));
  }
  EXPECT_FALSE(font.DrawGlyph(nullptr, 'x', 0, 0, nullptr));
  EXPECT_EQ(font.DrawText(&bm, "x", -1, nullptr, 0), 0);
}

TEST_F(CachedFontTest, EachCharacterIsRenderedOnceAndFoundAgain) {
  Set(0);
  Draw("abcabc");
  EXPECT_EQ(font.CachedGlyphCount(), 3);
  // Non-ASCII characters arrive out of order and are still found by binary search.
  Draw("\xE2\x82\xAC\xC3\xA9\xC3\x9F\xE2\x82\xAC");  // € é ß €
  EXPECT_EQ(font.CachedGlyphCount(), 6);
  for (uint32_t c : {0x20ACu, 0xE9u, 0xDFu, uint32_t('a')}) {
    const PIX_CachedFont::charEnt* e = font.FindGlyph(c);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(uint32_t(e->charid), c);
    EXPECT_GT(e->base_offset, 0);
    EXPECT_EQ(e->advance, Advance('a'));
  }
  EXPECT_EQ(font.CachedGlyphCount(), 6);
  // A space has no pixels but an advance.
  const PIX_CachedFont::charEnt* space = font.FindGlyph(' ');
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(space->base_offset, -1);
  EXPECT_EQ(space->advance, Advance('a'));

  // A new handle starts the cache over with the new metrics.
  Set(0, 24);
  EXPECT_EQ(font.CachedGlyphCount(), 0);
  EXPECT_EQ(font.GetLineHeight(), 24);
}

TEST_F(CachedFontTest, PrecalculatedAsciiRendersNothingLater) {
  Set(PIX_FONT_FLAG_PRECALC_ASCII);
  EXPECT_EQ(font.CachedGlyphCount(), 128);
  EXPECT_EQ(font.FindGlyph(0xE9), nullptr);
  const RECT m = Measure("a\xC3\xA9");
  EXPECT_EQ(m.right - m.left, Advance('a'));
  EXPECT_EQ(font.CachedGlyphCount(), 128);
}

TEST_F(CachedFontTest, NativeAndCachedPathsAgree) {
  Set(PIX_FONT_FLAG_PREFER_NATIVE, 18, "DejaVu Sans");
  const RECT native = Measure("Threshold -12.5 dB");
  EXPECT_EQ(font.CachedGlyphCount(), 0);
  PIX_SysBitmap sys(240, 80);
  PIX_Clear(&sys, 0xFF000000);
  RECT r = {0, 0, 240, 80};
  font.DrawText(&sys, "Threshold -12.5 dB", -1, &r, PIX_DT_CENTER);
  const Ink nativeInk = FindInk(&sys, 0xFF000000);
  EXPECT_EQ(font.CachedGlyphCount(), 0);

  Set(0, 18, "DejaVu Sans");
  const RECT cached = Measure("Threshold -12.5 dB");
  EXPECT_EQ(cached.right - cached.left, native.right - native.left);
  EXPECT_EQ(cached.bottom - cached.top, native.bottom - native.top);
  PIX_Clear(&sys, 0xFF000000);
  font.DrawText(&sys, "Threshold -12.5 dB", -1, &r, PIX_DT_CENTER);
  const Ink cachedInk = FindInk(&sys, 0xFF000000);
  EXPECT_NEAR(cachedInk.box.left, nativeInk.box.left, 1);
  EXPECT_NEAR(cachedInk.box.right, nativeInk.box.right, 1);
  EXPECT_EQ(cachedInk.box.top, nativeInk.box.top);
  EXPECT_NEAR(cachedInk.count, nativeInk.count, nativeInk.count / 10);
}

TEST_F(CachedFontTest, NativeDrawingIntoMemoryBitmapsUsesWeightModeAndClip) {
  Set(PIX_FONT_FLAG_PREFER_NATIVE);
  font.SetCombineMode(0, 0.5f);
  Draw("Gain");
  EXPECT_NEAR(FindInk(&bm, 0xFF000000).maxGreen, 127, 2);

  // Add mode brightens and never darkens.
  Clear(0xFF404040);
  font.SetCombineMode(PIX_BLIT_MODE_ADD, 1.0f);
  Draw("Gain");
  for (int i = 0; i < 80 * bm.getRowSpan(); ++i) ASSERT_GE(PIX_GetG(bm.getBits()[i]), 0x40);

  // Clipped to the rectangle unless told otherwise, and aligned within it.
  Clear();
  font.SetCombineMode(0, 1.0f);
  Draw("WWWWWWWW", 0, {10, 10, 30, 20});
  Ink ink = FindInk(&bm, 0xFF000000);
  EXPECT_GE(ink.box.left, 10);
  EXPECT_LE(ink.box.right, 30);
  EXPECT_LE(ink.box.bottom, 20);
  Clear();
  Draw("WW", PIX_DT_RIGHT | PIX_DT_BOTTOM, {10, 10, 200, 70});
  ink = FindInk(&bm, 0xFF000000);
  EXPECT_LE(ink.box.right, 200);
  EXPECT_GT(ink.box.right, 200 - 3);
  EXPECT_GT(ink.box.top, 70 - font.GetLineHeight());
}

TEST_F(CachedFontTest, CachedAlignmentAndOpaqueBackground) {
  Set(0);
  font.SetBkMode(1);
  font.SetBkColor(0xFF00FF00);
  const int w = 5 * Advance('a'), lh = font.GetLineHeight();
  auto box = [&](unsigned flags) {
    Clear();
    Draw("a b c", flags, {20, 10, 220, 70});
    return FindInk(&bm, 0xFF000000).box;
  };
  RECT b = box(0);
  EXPECT_EQ(b.left, 20);
  EXPECT_EQ(b.top, 10);
  EXPECT_EQ(b.right, 20 + w);  // spaces get their background too
  EXPECT_EQ(b.bottom, 10 + lh);
  b = box(PIX_DT_CENTER | PIX_DT_VCENTER);
  EXPECT_EQ(b.left, 20 + (200 - w) / 2);
  EXPECT_EQ(b.top, 10 + (60 - lh) / 2);
  b = box(PIX_DT_RIGHT | PIX_DT_BOTTOM);
  EXPECT_EQ(b.right, 220);
  EXPECT_EQ(b.bottom, 70);
  // Text colour shows on the background where the glyphs are.
  EXPECT_EQ(FindInk(&bm, 0xFF000000).maxGreen, 255);
}

TEST_F(CachedFontTest, GlyphFlagsChangeTheMaps) {
  Set(0, 24);
  Draw("O");
  const Ink plain = FindInk(&bm, 0xFF000000);
  int partialPlain = 0;
  for (int i = 0; i < 80 * bm.getRowSpan(); ++i)
    if (PIX_GetG(bm.getBits()[i]) % 255) ++partialPlain;

  Set(PIX_FONT_FLAG_MONO, 24);
  Clear();
  Draw("O");
  for (int i = 0; i < 80 * bm.getRowSpan(); ++i) ASSERT_EQ(PIX_GetG(bm.getBits()[i]) % 255, 0);

  Set(PIX_FONT_FLAG_BLUR, 24);
  Clear();
  Draw("O");
  int partialBlur = 0;
  for (int i = 0; i < 80 * bm.getRowSpan(); ++i)
    if (PIX_GetG(bm.getBits()[i]) % 255) ++partialBlur;
  EXPECT_GT(partialBlur, partialPlain);

  // Inverted coverage fills the glyph's box around a dark letter.
  Set(PIX_FONT_FLAG_INVERT, 24);
  Clear();
  Draw("O");
  EXPECT_GT(FindInk(&bm, 0xFF000000).count, 2 * plain.count);

  // Shadow and outline draw in the effect colour (red here).
  for (int flag : {PIX_FONT_FLAG_SHADOW, PIX_FONT_FLAG_OUTLINE}) {
    Set(flag, 24);
    font.SetEffectColor(0xFFFF0000);
    Clear();
    Draw("O");
    int red = 0;
    for (int i = 0; i < 80 * bm.getRowSpan(); ++i)
      if (PIX_GetR(bm.getBits()[i]) - PIX_GetG(bm.getBits()[i]) > 100) ++red;
    EXPECT_GT(red, 5) << flag;
  }
}

TEST_F(CachedFontTest, VerticalFontsTurnGlyphsAndAdvanceDownOrUp) {
  Set(PIX_FONT_FLAG_VERTICAL);
  const int lh = font.GetLineHeight(), adv = Advance('E');
  const RECT m = Measure("EEE");
  EXPECT_EQ(m.right - m.left, lh);
  EXPECT_EQ(m.bottom - m.top, 3 * adv);
  EXPECT_EQ(Draw("EEE", 0, {10, 5, 240, 80}), lh);  // the width for vertical text
  Ink ink = FindInk(&bm, 0xFF000000);
  EXPECT_GT(ink.box.bottom - ink.box.top, ink.box.right - ink.box.left);
  EXPECT_GE(ink.box.top, 5);
  EXPECT_LE(ink.box.bottom, 5 + 3 * adv + 1);

  // Bottom-up text starts at the bottom of its rectangle.
  Set(PIX_FONT_FLAG_VERTICAL | PIX_FONT_FLAG_VERTICAL_BOTUP);
  Clear();
  Draw("EEE", 0, {10, 5, 240, 75});
  ink = FindInk(&bm, 0xFF000000);
  EXPECT_LE(ink.box.bottom, 75);
  EXPECT_GE(ink.box.top, 75 - 3 * adv - 1);
  EXPECT_LE(ink.box.right - ink.box.left, lh);
}

TEST_F(CachedFontTest, HugeFontsDrawNativelyAndRenderNoGlyphs) {
  Set(0, 1100);
  EXPECT_EQ(font.FindGlyph('A'), nullptr);
  Set(0, 300);
  PIX_MemBitmap big(400, 320);
  PIX_Clear(&big, 0xFF000000);
  RECT r = {0, 0, 400, 320};
  EXPECT_EQ(font.DrawText(&big, "A", -1, &r, 0), 300);
  EXPECT_EQ(font.CachedGlyphCount(), 0);  // the native path took it
  EXPECT_GT(FindInk(&big, 0xFF000000).count, 1000);
}

TEST_F(CachedFontTest, HandleOwnershipAndHostileInput) {
  // A font that does not own its handle leaves it to the caller; one that does keeps the same
  // handle alive when it is set again.
  HFONT h = MakeHFont(14);
  {
    PIX_CachedFont borrowed;
    borrowed.SetFromHFont(h, 0);
  }
  PIX_CachedFont owner;
  owner.SetFromHFont(h, PIX_FONT_FLAG_OWNS_HFONT);
  owner.SetFromHFont(h, PIX_FONT_FLAG_OWNS_HFONT);
  EXPECT_EQ(owner.GetHFont(), h);
  RECT r = {0, 0, 100, 30};
  owner.SetTextColor(0xFFFFFFFF);
  EXPECT_EQ(owner.DrawText(&bm, "still here", -1, &r, 0), 14);

  // A font without a handle measures and draws nothing.
  PIX_CachedFont empty;
  EXPECT_EQ(empty.DrawText(&bm, "x", -1, &r, 0), 0);

  std::mt19937 rng(11);
  for (int native : {0, PIX_FONT_FLAG_PREFER_NATIVE}) {
    Set(native);
    for (int i = 0; i < 200; ++i) {
      std::string s(size_t(rng() % 16), '\0');
      for (char& ch : s) ch = char(rng() & 0xFF);
      RECT any = {int(rng() % 400) - 100, int(rng() % 200) - 60, int(rng() % 400) - 100,
                  int(rng() % 200) - 60};
      const unsigned flags = (rng() & 0x52F) | (rng() & 1 ? PIX_DT_USEFGALPHA : 0);
      EXPECT_GE(font.DrawText(&bm, s.data(), int(s.size()), &any, flags), 0);
    }
  }
}

TEST_F(CachedFontTest, FontsOnTwoThreadsShareTheScratchSafely) {
  auto work = [](int height) {
    PIX_CachedFont f;
    f.SetFromHFont(MakeHFont(height), PIX_FONT_FLAG_OWNS_HFONT);
    f.SetTextColor(0xFFFFFFFF);
    PIX_MemBitmap b(120, 40);
    for (int i = 0; i < 100; ++i) {
      RECT r = {0, 0, 120, 40};
      char text[8];
      std::snprintf(text, sizeof text, "%d\xC3\xA9", i * height);
      f.DrawText(&b, text, -1, &r, i % 2 ? PIX_DT_CENTER : 0);
    }
  };
  std::thread a(work, 12), b(work, 20);
  a.join();
  b.join();
}
