// Legends: a DejaVu face at a design size, rendered through the raster library's cached font
// into coverage maps that the canvas paints in any colour. The face comes from the system's fonts
// (the artwork generator) or ready-made from the glyphs those gave (the editor, see LegendFace.h).
// A face is used on one thread at a time: the generator's, or an editor's UI thread.
#pragma once

#include "plugin/artwork/Coverage.h"

#include <memory>
#include <string>

class PIX_CachedFont;

enum class Align { Left, Centre, Right };

class Typeface {
 public:
  // em: the em size in design units. face: a fontconfig family such as "DejaVu Sans Condensed".
  Typeface(const char* face, bool bold, double em, double scale);
  // A face of ready-made glyphs (font has them) with the system face's ascent and height in
  // pixels. Always ok().
  Typeface(std::unique_ptr<PIX_CachedFont> font, int ascentPx, int heightPx, double em, double scale);
  ~Typeface();

  Typeface(const Typeface&) = delete;
  Typeface& operator=(const Typeface&) = delete;

  // False when the system gave another family than the one asked for: the artwork would then
  // depend on what happens to be installed.
  bool ok() const { return m_ok; }
  const std::string& family() const { return m_family; }
  // What a copy of the face needs: its font (glyphs in pixels) and its metrics in pixels.
  PIX_CachedFont& font() const { return *m_font; }
  int ascentPx() const { return m_ascentPx; }
  int heightPx() const { return m_heightPx; }

  // The text with its capital letters vertically centred on y; x is its left edge, centre or
  // right edge by align. tracking adds space between letters (design units). Glyphs sit on
  // whole pixels so small legends stay crisp.
  Coverage text(const std::string& s, double x, double y, Align align, double tracking = 0) const;
  // Width of the text in design units.
  double width(const std::string& s, double tracking = 0) const;

 private:
  int advancePx(const std::string& s, double tracking) const;

  std::unique_ptr<PIX_CachedFont> m_font;
  double m_scale;
  int m_ascentPx = 0, m_heightPx = 0;
  double m_capPx = 0;
  bool m_ok = false;
  std::string m_family;
};
