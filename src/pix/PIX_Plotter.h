// Per-pixel drawing for the primitives: a colour at a weight and mode, clipped to the bitmap and
// optionally to a rectangle, with fractional coverage for anti-aliased edges.
#pragma once

#include "pix/PIX_IBitmap.h"
#include "pix/PIX_Painter.h"

class PIX_Plotter {
 public:
  PIX_Plotter(PIX_IBitmap* bm, PIX_Pixel colour, float weight, int mode)
      : m_w(PIX_WeightToInt(weight)),
        m_mode(mode & PIX_BLIT_MODE_MASK),
        m_colour(colour),
        m_painter(colour, m_w, m_mode, PIX_GetA(colour)) {
    m_bits = bm ? bm->getBits() : nullptr;
    if (m_bits) {
      m_width = bm->getWidth();
      m_height = bm->getHeight();
      m_span = bm->getRowSpan();
    }
    m_l = 0;
    m_t = 0;
    m_r = m_width;
    m_b = m_height;
  }

  bool valid() const { return m_bits && m_painter.valid() && m_r > m_l && m_b > m_t; }
  int width() const { return m_width; }
  int height() const { return m_height; }

  // Further limits drawing to left..right-1 x top..bottom-1.
  void clipTo(long long left, long long top, long long right, long long bottom) {
    if (left > m_l) m_l = (int)(left < m_r ? left : m_r);
    if (top > m_t) m_t = (int)(top < m_b ? top : m_b);
    if (right < m_r) m_r = (int)(right > m_l ? right : m_l);
    if (bottom < m_b) m_b = (int)(bottom > m_t ? bottom : m_t);
  }

  bool inside(long long x, long long y) const { return x >= m_l && x < m_r && y >= m_t && y < m_b; }

  void plot(long long x, long long y) const {
    if (inside(x, y)) m_painter.pixel(m_bits + (long)y * m_span + x);
  }

  // The pixel combined through the mode's combine function at the weight, without the
  // quarter-step mixes: those are for straight runs only.
  void plotWeighted(long long x, long long y) const {
    if (inside(x, y))
      m_blend(m_bits + (long)y * m_span + x, PIX_GetR(m_colour), PIX_GetG(m_colour), PIX_GetB(m_colour),
              PIX_GetA(m_colour), m_w);
  }

  // Coverage k of 0..256 of the pixel: the weight scaled by k, through the mode's combine function.
  void plotCoverage(long long x, long long y, int k) const {
    if (k <= 0 || !inside(x, y)) return;
    if (k >= 256) {
      m_painter.pixel(m_bits + (long)y * m_span + x);
      return;
    }
    const int wk = m_w < 256 ? m_w * k / 256 : k;
    if (wk <= 0) return;
    m_blend(m_bits + (long)y * m_span + x, PIX_GetR(m_colour), PIX_GetG(m_colour), PIX_GetB(m_colour),
            PIX_GetA(m_colour), wk);
  }

  // Horizontal run x0..x1 inclusive on row y, clipped.
  void hspan(long long x0, long long x1, long long y) const {
    if (y < m_t || y >= m_b || !ClipRun(x0, x1, m_l, m_r)) return;
    m_painter.run(m_bits + (long)y * m_span + x0, (int)(x1 - x0 + 1));
  }

  // Vertical run y0..y1 inclusive in column x, clipped.
  void vspan(long long x, long long y0, long long y1) const {
    if (x < m_l || x >= m_r || !ClipRun(y0, y1, m_t, m_b)) return;
    m_painter.run(m_bits + (long)y0 * m_span + x, (int)(y1 - y0 + 1), m_span);
  }

  int left() const { return m_l; }
  int top() const { return m_t; }
  int right() const { return m_r; }
  int bottom() const { return m_b; }

 private:
  // Orders the run a..b (inclusive) and limits it to lo..hi-1; false when nothing remains.
  static bool ClipRun(long long& a, long long& b, long long lo, long long hi) {
    if (a > b) {
      const long long t = a;
      a = b;
      b = t;
    }
    if (a < lo) a = lo;
    if (b >= hi) b = hi - 1;
    return a <= b;
  }

  int m_w;
  int m_mode;
  PIX_Pixel m_colour;
  PIX_Painter m_painter;
  // Partial coverage always goes through the combine function (copy: the weighted copy).
  PIX_CombineFunc m_blend = PIX_GetCombineFunc(m_mode, 1);
  PIX_Pixel* m_bits = nullptr;
  int m_width = 0, m_height = 0;
  long m_span = 0;
  int m_l, m_t, m_r, m_b;
};
