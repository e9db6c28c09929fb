// Straight (not premultiplied) floating-point colours and the few mixes the artwork needs.
#pragma once

#include <cstdint>

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an optional opacity.
inline Colour Hex(uint32_t rgb, float a = 1.0f) {
  return Colour{((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, a};
}

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// t = 0 gives a, 1 gives b; every channel including alpha.
inline Colour Mix(const Colour& a, const Colour& b, float t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// Brightness change that keeps the hue: positive k moves toward white, negative toward black.
inline Colour Shade(const Colour& c, float k) {
  const Colour target = k >= 0 ? Colour{1, 1, 1, c.a} : Colour{0, 0, 0, c.a};
  return Mix(c, target, k >= 0 ? k : -k);
}

inline Colour WithAlpha(Colour c, float a) {
  c.a = a;
  return c;
}
