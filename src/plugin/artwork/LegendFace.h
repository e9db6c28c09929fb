// The push buttons' legend face (DejaVu Sans Condensed Bold, 10 design units) shipped as glyphs:
// the artwork generator renders the legends' letters from the system's font at every pixel size
// the editor can draw them at, as coverage maps on one image (LEGENDS.png, a bundle resource) and a
// table of metrics (LegendGlyphs.cpp). The editor builds its legend face from those, so the
// buttons look the same on every system, whatever fonts it has, and exactly as the generator drew
// them.
#pragma once

#include "pix/PIX_IBitmap.h"
#include "pix/PIX_MemBitmap.h"
#include "plugin/artwork/Typeface.h"

#include <memory>
#include <string>

constexpr double kLegendEm = 10;
// Pixel sizes of the em on the sheet: 100 % to 200 %, on screens of up to twice the pixel density.
constexpr int kLegendMinEmPx = 10, kLegendMaxEmPx = 40;
extern const char* const kLegendSheetFile;  // the image's resource path

// One pixel size: the system face's line height (its cached font's) and its height and ascent.
struct LegendSize {
  int emPx, lineHeight, heightPx, ascentPx;
};
// One glyph of a size: where its map lies on the sheet and how the cached font lays it out.
struct LegendGlyph {
  int emPx, charid;
  int x, y, width, height;
  int advance, leftExtra;
};
// The table (generated).
extern const LegendSize kLegendSizes[];
extern const int kLegendSizeCount;
extern const LegendGlyph kLegendGlyphs[];
extern const int kLegendGlyphCount;
extern const int kLegendSheetW, kLegendSheetH;

// The letters of every button legend, sorted, each once. Any thread.
std::string LegendCharacters();

// The legend face at a scale, from the sheet; the system's face (Typeface::ok) when the font is
// missing. Null when the scale's size is not shipped or the sheet does not match the table.
// Any thread; the face is the caller's.
std::unique_ptr<Typeface> LegendFaceFromSheet(PIX_IBitmap* sheet, double scale);

// Generator side: the sheet (grey coverage, opaque) and the table's source text from the system's
// font; false when the face is missing. Any thread.
bool RenderLegendSheet(PIX_MemBitmap* sheet, std::string* tableSource);
