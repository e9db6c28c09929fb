// Coverage maps: combining, moving and softening shapes before they are painted.
#include "plugin/artwork/Coverage.h"

#include <algorithm>
#include <cmath>

Coverage::Coverage(int x, int y, int width, int height)
    : x0(x), y0(y), w(std::max(width, 0)), h(std::max(height, 0)), a((size_t)w * h, 0) {}

Coverage Intersect(const Coverage& a, const Coverage& b) {
  Coverage out(a.x0, a.y0, a.w, a.h);
  for (int y = 0; y < a.h; y++)
    for (int x = 0; x < a.w; x++) {
      const int v = a.a[(size_t)y * a.w + x] * b.at(a.x0 + x, a.y0 + y);
      out.a[(size_t)y * a.w + x] = (uint8_t)((v + 127) / 255);
    }
  return out;
}

Coverage Subtract(const Coverage& a, const Coverage& b) {
  Coverage out(a.x0, a.y0, a.w, a.h);
  for (int y = 0; y < a.h; y++)
    for (int x = 0; x < a.w; x++) {
      const int v = a.a[(size_t)y * a.w + x] * (255 - b.at(a.x0 + x, a.y0 + y));
      out.a[(size_t)y * a.w + x] = (uint8_t)((v + 127) / 255);
    }
  return out;
}

Coverage Shifted(Coverage c, int dx, int dy) {
  c.x0 += dx;
  c.y0 += dy;
  return c;
}

namespace {
// One running-sum box pass along rows (step 1) or columns (step w) of a float plane.
void BoxPass(std::vector<float>& v, int count, int lines, int step, int lineStep, int r) {
  std::vector<float> tmp((size_t)count);
  const float norm = 1.0f / (float)(2 * r + 1);
  for (int l = 0; l < lines; l++) {
    float* base = v.data() + (size_t)l * lineStep;
    float sum = 0;
    for (int i = -r; i <= r; i++)
      if (i >= 0 && i < count) sum += base[(size_t)i * step];
    for (int i = 0; i < count; i++) {
      tmp[(size_t)i] = sum * norm;
      const int add = i + r + 1, sub = i - r;
      if (add < count) sum += base[(size_t)add * step];
      if (sub >= 0) sum -= base[(size_t)sub * step];
    }
    for (int i = 0; i < count; i++) base[(size_t)i * step] = tmp[(size_t)i];
  }
}
}  // namespace

Coverage Blurred(const Coverage& c, int radius) {
  if (radius <= 0 || c.empty()) return c;
  const int m = 3 * radius;
  const int w = c.w + 2 * m, h = c.h + 2 * m;
  std::vector<float> v((size_t)w * h, 0.0f);
  for (int y = 0; y < c.h; y++)
    for (int x = 0; x < c.w; x++) v[(size_t)(y + m) * w + x + m] = c.a[(size_t)y * c.w + x];
  for (int pass = 0; pass < 3; pass++) {
    BoxPass(v, w, h, 1, w, radius);
    BoxPass(v, h, w, w, 1, radius);
  }
  Coverage out(c.x0 - m, c.y0 - m, w, h);
  for (size_t i = 0; i < v.size(); i++)
    out.a[i] = (uint8_t)std::lround(std::min(255.0f, std::max(0.0f, v[i])));
  return out;
}

Coverage Scaled(Coverage c, float k) {
  for (auto& v : c.a) v = (uint8_t)std::lround(std::min(255.0f, std::max(0.0f, v * k)));
  return c;
}
