// Fonts from a Win32-style request (face, cell height, weight, italic, quality, escapement),
// resolved to a system font with a substitute when the face is missing.
#pragma once

#include "gdi/GDI_Types.h"

// height > 0 asks for that cell height (ascent + descent) in pixels, height < 0 for that em size,
// 0 for a default. escapement is the baseline angle in tenths of a degree, counter-clockwise.
// A weight of 600 or more is bold; italic, underline and strikeOut are flags (non-zero = on).
// width, orientation, charSet, the precisions and pitchAndFamily are accepted and ignored: glyphs
// keep their natural proportions and follow the escapement. A missing or empty face name gets a
// similar face of the system (monospaced for monospaced names). Null only when no font at all
// can be opened.
HFONT GDI_CreateFont(int height, int width, int escapement, int orientation, int weight, int italic,
                     int underline, int strikeOut, int charSet, int outPrecision, int clipPrecision,
                     int quality, int pitchAndFamily, const char* faceName);

// Frees the font; a null font is ignored. The caller makes sure no context still has it selected.
void GDI_DeleteFont(HFONT font);

struct GDI_TEXTMETRIC {
  int tmHeight;  // line height: ascent + descent
  int tmAscent;  // baseline below the line top
  int tmDescent;
  int tmInternalLeading;  // tmHeight minus the em size
  int tmExternalLeading;
  int tmAveCharWidth;
  int tmMaxCharWidth;
};

// Metrics of a font, or of the font selected into a context (the default font when none is).
bool GDI_GetFontMetrics(HFONT font, GDI_TEXTMETRIC* out);
bool GDI_GetTextMetrics(HDC ctx, GDI_TEXTMETRIC* out);

// The family the request resolved to, e.g. for diagnostics; "" for a null font.
const char* GDI_GetFontFamily(HFONT font);
