// A drawing surface in premultiplied floating point, so that transparent film-strip frames blend
// their soft edges correctly; turned into a raster bitmap (straight alpha) at the end.
#pragma once

#include "pix/PIX_MemBitmap.h"
#include "plugin/artwork/Colour.h"
#include "plugin/artwork/Coverage.h"

#include <functional>
#include <vector>

// A colour that varies over the surface, asked at pixel centres in design units.
using Paint = std::function<Colour(double x, double y)>;

class Canvas {
 public:
  // Size in design units; the pixel size is that times the scale.
  Canvas(int designW, int designH, double scale);

  int width() const { return m_w; }
  int height() const { return m_h; }
  double scale() const { return m_scale; }

  void fill(const Coverage& c, const Colour& colour, float opacity = 1.0f);
  void fill(const Coverage& c, const Paint& paint, float opacity = 1.0f);
  // Paints the whole surface (through full coverage).
  void fillAll(const Paint& paint);
  // Another canvas laid over this one with its top-left at the given pixel.
  void draw(const Canvas& src, int x, int y);

  // Straight-alpha pixels into bm, which is resized to the canvas; fully transparent pixels are
  // stored as 0 so that empty parts of film strips compress to almost nothing.
  void toBitmap(PIX_MemBitmap* bm) const;

 private:
  void blend(size_t i, const Colour& c, float k);

  int m_w, m_h;
  double m_scale;
  std::vector<float> m_px;  // r, g, b, a premultiplied
};
