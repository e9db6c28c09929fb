// Source-over compositing in premultiplied floats and the conversion to 8-bit straight alpha.
#include "plugin/artwork/Canvas.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int designW, int designH, double scale)
    : m_w((int)std::lround(designW * scale)),
      m_h((int)std::lround(designH * scale)),
      m_scale(scale),
      m_px((size_t)m_w * m_h * 4, 0.0f) {}

void Canvas::blend(size_t i, const Colour& c, float k) {
  const float a = c.a * k;
  if (a <= 0) return;
  float* p = &m_px[i * 4];
  const float keep = 1.0f - a;
  p[0] = c.r * a + p[0] * keep;
  p[1] = c.g * a + p[1] * keep;
  p[2] = c.b * a + p[2] * keep;
  p[3] = a + p[3] * keep;
}

void Canvas::fill(const Coverage& c, const Colour& colour, float opacity) {
  fill(
      c, [&colour](double, double) { return colour; }, opacity);
}

void Canvas::fill(const Coverage& c, const Paint& paint, float opacity) {
  const int xa = std::max(c.x0, 0), ya = std::max(c.y0, 0);
  const int xb = std::min(c.x0 + c.w, m_w), yb = std::min(c.y0 + c.h, m_h);
  for (int y = ya; y < yb; y++)
    for (int x = xa; x < xb; x++) {
      const int cov = c.a[(size_t)(y - c.y0) * c.w + (x - c.x0)];
      if (!cov) continue;
      blend((size_t)y * m_w + x, paint((x + 0.5) / m_scale, (y + 0.5) / m_scale), cov / 255.0f * opacity);
    }
}

void Canvas::fillAll(const Paint& paint) {
  for (int y = 0; y < m_h; y++)
    for (int x = 0; x < m_w; x++)
      blend((size_t)y * m_w + x, paint((x + 0.5) / m_scale, (y + 0.5) / m_scale), 1.0f);
}

void Canvas::draw(const Canvas& src, int x0, int y0) {
  for (int y = 0; y < src.m_h; y++) {
    const int ty = y + y0;
    if (ty < 0 || ty >= m_h) continue;
    for (int x = 0; x < src.m_w; x++) {
      const int tx = x + x0;
      if (tx < 0 || tx >= m_w) continue;
      const float* s = &src.m_px[((size_t)y * src.m_w + x) * 4];
      float* d = &m_px[((size_t)ty * m_w + tx) * 4];
      const float keep = 1.0f - s[3];
      for (int k = 0; k < 4; k++) d[k] = s[k] + d[k] * keep;
    }
  }
}

void Canvas::toBitmap(PIX_MemBitmap* bm) const {
  bm->resize(m_w, m_h);
  PIX_Pixel* bits = bm->getBits();
  const int span = bm->getRowSpan();
  auto byte = [](float v) { return (int)std::lround(Clamp01(v) * 255.0f); };
  for (int y = 0; y < m_h; y++)
    for (int x = 0; x < m_w; x++) {
      const float* p = &m_px[((size_t)y * m_w + x) * 4];
      const int a = byte(p[3]);
      PIX_Pixel out = 0;
      if (a > 0) {
        const float inv = 1.0f / p[3];
        out = PIX_MAKEPIXEL(a, byte(p[0] * inv), byte(p[1] * inv), byte(p[2] * inv));
      }
      bits[(size_t)y * span + x] = out;
    }
}
