// The HSV-adjust combine and the mode-to-combine-function table.
#include "pix/PIX_Combine.h"

#include "pix/PIX_Mode.h"

namespace {
// Hue runs over 0..1535 (six sectors of 256), saturation and value over 0..255.
void RgbToHsv(int r, int g, int b, int& h, int& s, int& v) {
  int mx = r > g ? r : g;
  if (b > mx) mx = b;
  int mn = r < g ? r : g;
  if (b < mn) mn = b;
  v = mx;
  const int delta = mx - mn;
  if (mx == 0 || delta == 0) {
    h = 0;
    s = 0;
    return;
  }
  s = delta * 255 / mx;
  if (mx == r)
    h = (g - b) * 256 / delta;
  else if (mx == g)
    h = 512 + (b - r) * 256 / delta;
  else
    h = 1024 + (r - g) * 256 / delta;
  if (h < 0) h += 1536;
}

void HsvToRgb(int h, int s, int v, int& r, int& g, int& b) {
  if (s == 0) {
    r = g = b = v;
    return;
  }
  const int sector = h >> 8;
  const int frac = h & 255;
  const int p = v * (255 - s) / 255;
  const int q = v * (255 * 256 - s * frac) / (255 * 256);
  const int t = v * (255 * 256 - s * (256 - frac)) / (255 * 256);
  switch (sector) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
  }
}
}  // namespace

void _PIX_CombinePixelsHSVAdjust(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  const PIX_Pixel d = *dest;
  int h, s, v;
  RgbToHsv(PIX_GetR(d), PIX_GetG(d), PIX_GetB(d), h, s, v);
  h += (r - 128) * 6 * w / 256;
  h %= 1536;
  if (h < 0) h += 1536;
  s = PIX_Clamp255(s + (g - 128) * w / 256);
  v = PIX_Clamp255(v + (b - 128) * w / 256);
  int nr, ng, nb;
  HsvToRgb(h, s, v, nr, ng, nb);
  *dest = PIX_MAKEPIXEL(a, nr, ng, nb);
}

PIX_CombineFunc PIX_GetCombineFunc(int mode, int w) {
  switch (mode & PIX_BLIT_COMBINE_MASK) {
    case PIX_BLIT_MODE_COPY:
      return w == 256 ? _PIX_CombinePixelsClobberNoClamp : _PIX_CombinePixelsCopyNoClamp;
    case PIX_BLIT_MODE_ADD: return _PIX_CombinePixelsAdd;
    case PIX_BLIT_MODE_DODGE: return _PIX_CombinePixelsColorDodge;
    case PIX_BLIT_MODE_MUL: return _PIX_CombinePixelsMulNoClamp;
    case PIX_BLIT_MODE_OVERLAY: return _PIX_CombinePixelsOverlay;
    case PIX_BLIT_MODE_HSVADJ: return _PIX_CombinePixelsHSVAdjust;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY:
      return w == 256 ? _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp
                      : _PIX_CombinePixelsCopySourceAlphaNoClamp;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_ADD: return _PIX_CombinePixelsAddSourceAlpha;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_DODGE: return _PIX_CombinePixelsColorDodgeSourceAlpha;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_MUL: return _PIX_CombinePixelsMulSourceAlphaNoClamp;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_OVERLAY: return _PIX_CombinePixelsOverlaySourceAlpha;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_HSVADJ: return _PIX_CombinePixelsHSVAdjustSourceAlpha;
    default: return nullptr;
  }
}
