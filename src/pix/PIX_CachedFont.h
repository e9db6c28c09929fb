// A font drawing into raster bitmaps either natively through the GDI layer or from a cache of
// 8-bit coverage maps, one per character, composited with the text colour, weight and mode.
#pragma once

#include "pix/PIX_IFont.h"

#include <cstdint>
#include <vector>

class PIX_CachedFont : public PIX_IFont {
 public:
  PIX_CachedFont();
  ~PIX_CachedFont() override;

  PIX_CachedFont(const PIX_CachedFont&) = delete;
  PIX_CachedFont& operator=(const PIX_CachedFont&) = delete;

  void SetFromHFont(HFONT font, int flags = 0) override;
  void SetTextColor(PIX_Pixel colour) override { m_fg = colour; }
  void SetBkColor(PIX_Pixel colour) override { m_bg = colour; }
  void SetEffectColor(PIX_Pixel colour) override { m_effectcol = colour; }
  void SetBkMode(int mode) override { m_bgmode = mode; }
  void SetCombineMode(int mode, float weight) override {
    m_comb = mode;
    m_alpha = weight;
  }
  int DrawText(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect, unsigned flags) override;
  PIX_Pixel GetTextColor() override { return m_fg; }
  HFONT GetHFont() override { return m_font; }
  int GetLineHeight() override { return m_lineheight; }
  bool DrawGlyph(PIX_IBitmap* bitmap, int character, int x, int y, const RECT* clipRect) override;

  // Extra pixels between lines (may be negative).
  void SetLineSpacingAdjust(int pixels) { m_linespace = pixels; }
  int GetLineSpacingAdjust() const { return m_linespace; }
  int GetFlags() const { return m_flags; }

  // One cached character.
  struct charEnt {
    int base_offset;  // position in the glyph store + 1; 0 not rendered yet, -1 nothing visible
    int width, height;
    int advance;
    int charid;
    int left_extra;  // subtracted from the pen position when drawing
  };

  // The entry for a character, rendered on demand; null when it cannot be rendered (or is
  // outside the precalculated ASCII set). Exposed for inspection of the cache.
  const charEnt* FindGlyph(uint32_t c);
  // The coverage map of an entry FindGlyph returned (width x height bytes, rows top-down), or null
  // when nothing of it is visible; valid until the font changes. Any thread.
  const uint8_t* GlyphCoverage(const charEnt& ent) const;

  // One ready-made glyph: its entry (base_offset ignored) and map, stride bytes between rows.
  struct GlyphMap {
    charEnt ent;
    const uint8_t* coverage;
    int stride;
  };
  // A font of ready-made glyphs, drawn exactly as a system font whose glyphs these are (no system
  // font involved): text in characters not given is skipped. The maps are copied. Any thread, not
  // while another draws with this font.
  void SetFromGlyphMaps(int lineHeight, const GlyphMap* glyphs, int count);
  // Number of characters rendered so far (visible or not).
  int CachedGlyphCount() const;

 private:
  charEnt* Lookup(uint32_t c);
  bool UseNative(unsigned flags) const;
  int DrawNative(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect, unsigned flags);
  int DrawCached(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect, unsigned flags);
  // Lays the text out from (x, y); draws when bitmap is given, always returns the extent.
  void WalkText(const char* text, int length, unsigned flags, int x, int y, PIX_IBitmap* bitmap,
                const RECT* clip, float weight, int* width, int* height);
  bool RenderGlyph(charEnt* ent);
  int GlyphPadding() const;
  bool DrawEntry(PIX_IBitmap* bitmap, const charEnt& ent, int x, int y, const RECT* clipRect, float weight);
  void CompositeMap(PIX_IBitmap* bitmap, const charEnt& ent, int x, int y, const RECT& clip, PIX_Pixel colour,
                    int w);
  void ClearCache();

  PIX_Pixel m_fg = 0;
  PIX_Pixel m_bg = 0xFFFFFFFF;
  PIX_Pixel m_effectcol = 0xFFFFFFFF;
  int m_bgmode = 0;
  int m_comb = 0;
  float m_alpha = 1.0f;
  int m_flags = 0;
  int m_lineheight = 0;
  int m_linespace = 0;
  HFONT m_font = nullptr;
  charEnt m_ascii[128];
  std::vector<charEnt> m_extended;  // sorted by charid
  std::vector<uint8_t> m_glyphstore;
};
