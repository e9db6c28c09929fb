// Every combine function against its per-channel integer formula, over all destination and source
// bytes and a dense set of weights and source alphas.
#include <gtest/gtest.h>

#include <algorithm>

#include "pix/PIX_Combine.h"

namespace {
int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
int Byte(int v) { return v & 0xFF; }  // the "NoClamp" store
int SaWeight(int w, int sa) { return w * (sa + 1) / 256; }

// Per-channel formulas: destination byte d, source byte s, source alpha sa, weight w.
int FCopy(int d, int s, int, int w) { return Byte(s + (d - s) * (256 - w) / 256); }
int FAdd(int d, int s, int, int w) { return Clamp(d + s * w / 256); }
int FDodge(int d, int s, int, int w) {
  const int k = s * w / 256;
  return k < 255 ? Clamp(d * 256 / (256 - k)) : Clamp(d * 256);
}
int FMul(int d, int s, int, int w) { return Byte((d * (s * w + (256 - w) * 256)) >> 16); }
int FOverlay(int d, int s, int, int w) {
  const int v = s * w + (256 - w) * 128;
  return Clamp((((32768 - v) * d / 256 + v) * d) >> 15);
}

// The source-alpha variants: sa = 0 leaves d where stated, otherwise w becomes w * (sa + 1) / 256.
template <int (*F)(int, int, int, int), bool ZeroLeaves>
int WithSourceAlpha(int d, int s, int sa, int w) {
  if (ZeroLeaves && sa == 0) return d;
  return F(d, s, sa, SaWeight(w, sa));
}

int SaCopyColour(int d, int s, int sa, int w) {
  if (sa == 0) return d;
  return Byte(s + (d - s) * (256 - SaWeight(w, sa)) / 256);
}
int SaCopyAlpha(int d, int, int sa, int w) {
  if (sa == 0) return d;
  return std::min(255, d + SaWeight(w, sa));
}
int IgnoreColour(int d, int s, int sa, int) {
  if (sa == 0) return d;
  if (sa == 255) return s;
  return Byte(s + (d - s) * (255 - sa) / 256);
}
int IgnoreAlpha(int d, int, int sa, int) {
  if (sa == 0) return d;
  if (sa == 255) return 255;
  return std::min(255, d + sa);
}

const int kWeights[] = {1, 2, 3, 17, 63, 64, 100, 127, 128, 129, 191, 192, 200, 254, 255, 256, 300, 511};

// Every (d, s) byte pair at every weight. The four channels carry four different pairs, and the
// source alpha runs through all values along with them, so the source-alpha weighting is covered
// densely too. Colour channels follow Colour(d, s, sa, w); the alpha channel Alpha(d, sa, sa, w).
template <int (*Colour)(int, int, int, int), int (*Alpha)(int, int, int, int)>
void CheckAll(PIX_CombineFunc f) {
  int failures = 0;
  for (int w : kWeights)
    for (int d = 0; d < 256; d++)
      for (int s = 0; s < 256; s++) {
        const int sa = (s * 5 + d * 3) & 255;
        const int dB = d, dG = 255 - d, dR = (d * 7) & 255, dA = (d + 128) & 255;
        const int sB = s, sG = (s * 3) & 255, sR = 255 - s;
        PIX_Pixel p = PIX_MAKEPIXEL(dA, dR, dG, dB);
        f(&p, sR, sG, sB, sa, w);
        const PIX_Pixel want = PIX_MAKEPIXEL(Alpha(dA, sa, sa, w), Colour(dR, sR, sa, w),
                                             Colour(dG, sG, sa, w), Colour(dB, sB, sa, w));
        if (p != want && failures++ < 5)
          ADD_FAILURE() << "d=" << d << " s=" << s << " sa=" << sa << " w=" << w << std::hex << " got " << p
                        << " want " << want;
      }
}
}  // namespace

TEST(Combine, ClobberStoresTheSource) {
  PIX_Pixel p = 0x12345678;
  _PIX_CombinePixelsClobberNoClamp(&p, 0xAA, 0xBB, 0xCC, 0xDD, 17);
  EXPECT_EQ(p, 0xDDAABBCCu);
}

TEST(Combine, ConstantWeightFunctionsMatchTheirFormulas) {
  CheckAll<FCopy, FCopy>(_PIX_CombinePixelsCopyNoClamp);
  CheckAll<FAdd, FAdd>(_PIX_CombinePixelsAdd);
  CheckAll<FDodge, FDodge>(_PIX_CombinePixelsColorDodge);
  CheckAll<FMul, FMul>(_PIX_CombinePixelsMulNoClamp);
  CheckAll<FOverlay, FOverlay>(_PIX_CombinePixelsOverlay);
}

TEST(Combine, SourceAlphaFunctionsMatchTheirFormulas) {
  CheckAll<WithSourceAlpha<FAdd, true>, WithSourceAlpha<FAdd, true>>(_PIX_CombinePixelsAddSourceAlpha);
  CheckAll<WithSourceAlpha<FDodge, false>, WithSourceAlpha<FDodge, false>>(
      _PIX_CombinePixelsColorDodgeSourceAlpha);
  CheckAll<WithSourceAlpha<FMul, true>, WithSourceAlpha<FMul, true>>(_PIX_CombinePixelsMulSourceAlphaNoClamp);
  CheckAll<WithSourceAlpha<FOverlay, false>, WithSourceAlpha<FOverlay, false>>(
      _PIX_CombinePixelsOverlaySourceAlpha);
  CheckAll<SaCopyColour, SaCopyAlpha>(_PIX_CombinePixelsCopySourceAlphaNoClamp);
  CheckAll<IgnoreColour, IgnoreAlpha>(_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp);
}

TEST(Combine, HsvAdjust) {
  // A mid-grey source is neutral; alpha always becomes the source alpha.
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        PIX_Pixel p = PIX_MAKEPIXEL(10, r, g, b);
        _PIX_CombinePixelsHSVAdjust(&p, 128, 128, 128, 200, 256);
        ASSERT_EQ(p, PIX_MAKEPIXEL(200, r, g, b)) << r << "," << g << "," << b;
      }
  // Half a turn of hue takes red to cyan; full value loss gives black; zero saturation grey.
  PIX_Pixel red = 0xFFFF0000;
  _PIX_CombinePixelsHSVAdjust(&red, 128 + 127, 128, 128, 255, 256);
  EXPECT_LE(PIX_GetR(red), 8);
  EXPECT_GE(PIX_GetG(red), 240);
  EXPECT_GE(PIX_GetB(red), 240);
  PIX_Pixel dark = 0xFF80C040;
  _PIX_CombinePixelsHSVAdjust(&dark, 128, 128, 0, 255, 512);
  EXPECT_EQ(dark & 0xFFFFFF, 0u);
  PIX_Pixel grey = 0xFF80C040;
  _PIX_CombinePixelsHSVAdjust(&grey, 128, 0, 128, 255, 512);
  EXPECT_EQ(PIX_GetR(grey), PIX_GetG(grey));
  EXPECT_EQ(PIX_GetG(grey), PIX_GetB(grey));
  // The source-alpha variant scales the shift by the source alpha.
  PIX_Pixel weak = 0xFF808080, strong = 0xFF808080;
  _PIX_CombinePixelsHSVAdjustSourceAlpha(&weak, 128, 128, 255, 63, 256);
  _PIX_CombinePixelsHSVAdjustSourceAlpha(&strong, 128, 128, 255, 255, 256);
  EXPECT_LT(PIX_GetR(weak), PIX_GetR(strong));
}
