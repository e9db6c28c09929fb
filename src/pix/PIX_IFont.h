// The font interface the editor draws text through, and its font and drawing flags.
#pragma once

#include "gdi/GDI_Types.h"
#include "pix/PIX_IBitmap.h"

// Font flags (SetFromHFont).
constexpr int PIX_FONT_FLAG_VERTICAL = 0x1;        // glyphs turned a quarter, pen moves down
constexpr int PIX_FONT_FLAG_VERTICAL_BOTUP = 0x2;  // with VERTICAL: turned the other way, pen moves up
constexpr int PIX_FONT_FLAG_PRECALC_ASCII = 0x4;   // render 0..127 up front and nothing else later
constexpr int PIX_FONT_FLAG_BLUR = 0x10;
constexpr int PIX_FONT_FLAG_INVERT = 0x20;
constexpr int PIX_FONT_FLAG_MONO = 0x40;  // one-bit glyphs
constexpr int PIX_FONT_FLAG_SHADOW = 0x80;
constexpr int PIX_FONT_FLAG_OUTLINE = 0x100;
constexpr int PIX_FONT_FLAG_OWNS_HFONT = 0x200;
constexpr int PIX_FONT_FLAG_PREFER_NATIVE = 0x400;

// Drawing flags (DrawText); the low ones have the values of the GDI layer's.
constexpr unsigned PIX_DT_CENTER = 0x1;
constexpr unsigned PIX_DT_RIGHT = 0x2;
constexpr unsigned PIX_DT_VCENTER = 0x4;
constexpr unsigned PIX_DT_BOTTOM = 0x8;
constexpr unsigned PIX_DT_SINGLELINE = 0x20;
constexpr unsigned PIX_DT_NOCLIP = 0x100;
constexpr unsigned PIX_DT_CALCRECT = 0x400;
constexpr unsigned PIX_DT_USEFGALPHA = 0x40000000u;  // weight times the text colour's alpha
constexpr unsigned PIX_DT_NEEDALPHA = 0x80000000u;   // never draw natively

class PIX_IFont {
 public:
  virtual ~PIX_IFont() {}

  virtual void SetFromHFont(HFONT font, int flags = 0) = 0;
  virtual void SetTextColor(PIX_Pixel colour) = 0;
  virtual void SetBkColor(PIX_Pixel colour) = 0;
  virtual void SetEffectColor(PIX_Pixel colour) = 0;
  // 0 transparent, 1 opaque.
  virtual void SetBkMode(int mode) = 0;
  virtual void SetCombineMode(int mode, float weight) = 0;
  // UTF-8 text, length -1 for up to the terminating zero. Returns the text height (width for
  // vertical fonts); with PIX_DT_CALCRECT only measures into rect.
  virtual int DrawText(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect, unsigned flags) = 0;
  virtual PIX_Pixel GetTextColor() = 0;
  virtual HFONT GetHFont() = 0;
  virtual int GetLineHeight() = 0;
  // Draws one cached glyph at the pen position; false when nothing was drawn.
  virtual bool DrawGlyph(PIX_IBitmap* bitmap, int character, int x, int y, const RECT* clipRect) = 0;
};
