// The HSV-adjust combine and the mode-to-combine-function table.
#include "pix/PIX_Combine.h"

#include <algorithm>
#include <cmath>

#include "pix/PIX_Mode.h"

namespace {
// Hue in sectors 0..6, saturation and value 0..1; doubles so that an unchanged colour comes back
// exactly.
void RgbToHsv(int r, int g, int b, double& h, double& s, double& v) {
  const int mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
  v = mx / 255.0;
  const double delta = mx - mn;
  if (mx == 0 || delta == 0) {
    h = 0;
    s = 0;
    return;
  }
  s = delta / mx;
  if (mx == r)
    h = (g - b) / delta;
  else if (mx == g)
    h = 2 + (b - r) / delta;
  else
    h = 4 + (r - g) / delta;
  if (h < 0) h += 6;
}

int ToByte(double v) { return PIX_Clamp255((int)std::floor(v * 255.0 + 0.5)); }

void HsvToRgb(double h, double s, double v, int& r, int& g, int& b) {
  const int sector = (int)std::floor(h) % 6;
  const double f = h - std::floor(h);
  const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  double R, G, B;
  switch (sector) {
    case 0:
      R = v;
      G = t;
      B = p;
      break;
    case 1:
      R = q;
      G = v;
      B = p;
      break;
    case 2:
      R = p;
      G = v;
      B = t;
      break;
    case 3:
      R = p;
      G = q;
      B = v;
      break;
    case 4:
      R = t;
      G = p;
      B = v;
      break;
    default:
      R = v;
      G = p;
      B = q;
      break;
  }
  r = ToByte(R);
  g = ToByte(G);
  b = ToByte(B);
}
}  // namespace

void _PIX_CombinePixelsHSVAdjust(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  const PIX_Pixel d = *dest;
  double h, s, v;
  RgbToHsv(PIX_GetR(d), PIX_GetG(d), PIX_GetB(d), h, s, v);
  const double k = w / 256.0;
  h = std::fmod(h + (r - 128) / 128.0 * 3.0 * k, 6.0);
  if (h < 0) h += 6.0;
  s = std::min(1.0, std::max(0.0, s + (g - 128) / 255.0 * k));
  v = std::min(1.0, std::max(0.0, v + (b - 128) / 255.0 * k));
  int nr, ng, nb;
  HsvToRgb(h, s, v, nr, ng, nb);
  *dest = PIX_MAKEPIXEL(a, nr, ng, nb);
}

PIX_CombineFunc PIX_GetCombineFunc(int mode, int w) {
  switch (mode & PIX_BLIT_COMBINE_MASK) {
    case PIX_BLIT_MODE_COPY:
      return w == 256 ? _PIX_CombinePixelsClobberNoClamp : _PIX_CombinePixelsCopyNoClamp;
    case PIX_BLIT_MODE_ADD:
      return _PIX_CombinePixelsAdd;
    case PIX_BLIT_MODE_DODGE:
      return _PIX_CombinePixelsColorDodge;
    case PIX_BLIT_MODE_MUL:
      return _PIX_CombinePixelsMulNoClamp;
    case PIX_BLIT_MODE_OVERLAY:
      return _PIX_CombinePixelsOverlay;
    case PIX_BLIT_MODE_HSVADJ:
      return _PIX_CombinePixelsHSVAdjust;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY:
      return w == 256 ? _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp
                      : _PIX_CombinePixelsCopySourceAlphaNoClamp;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_ADD:
      return _PIX_CombinePixelsAddSourceAlpha;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_DODGE:
      return _PIX_CombinePixelsColorDodgeSourceAlpha;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_MUL:
      return _PIX_CombinePixelsMulSourceAlphaNoClamp;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_OVERLAY:
      return _PIX_CombinePixelsOverlaySourceAlpha;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_HSVADJ:
      return _PIX_CombinePixelsHSVAdjustSourceAlpha;
    default:
      return nullptr;
  }
}
