// The combine functions: how one source colour (r, g, b, a) at integer weight w (256 = full)
// merges into one destination pixel. Every blit, fill and primitive ends up in one of these.
// Arithmetic uses C division (truncating toward zero); the "NoClamp" variants store the low byte
// of the result as it is, the others limit each channel to 0..255. Weights reach +-4096 (the +-16
// hold) and fills pass the weight as the source alpha too, so products of weight by weight go
// through 64 bits; int suffices for the rest (at most about 2^25).
#pragma once

#include "pix/PIX_Pixel.h"

typedef void (*PIX_CombineFunc)(PIX_Pixel* dest, int r, int g, int b, int a, int w);

inline void _PIX_CombinePixelsClobberNoClamp(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  (void)w;
  *dest = PIX_MAKEPIXEL(a, r, g, b);
}

inline void _PIX_CombinePixelsCopyNoClamp(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  unsigned char* d = (unsigned char*)dest;
  const int iw = 256 - w;
  d[PIX_BYTE_B] = (unsigned char)(b + (d[PIX_BYTE_B] - b) * iw / 256);
  d[PIX_BYTE_G] = (unsigned char)(g + (d[PIX_BYTE_G] - g) * iw / 256);
  d[PIX_BYTE_R] = (unsigned char)(r + (d[PIX_BYTE_R] - r) * iw / 256);
  d[PIX_BYTE_A] = (unsigned char)(a + (d[PIX_BYTE_A] - a) * iw / 256);
}

// Applies a per-channel rule C(destination, source, w) to all four channels.
template <int (*C)(int, int, int)>
inline void _PIX_EachChannel(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  unsigned char* d = (unsigned char*)dest;
  d[PIX_BYTE_B] = (unsigned char)C(d[PIX_BYTE_B], b, w);
  d[PIX_BYTE_G] = (unsigned char)C(d[PIX_BYTE_G], g, w);
  d[PIX_BYTE_R] = (unsigned char)C(d[PIX_BYTE_R], r, w);
  d[PIX_BYTE_A] = (unsigned char)C(d[PIX_BYTE_A], a, w);
}

inline int _PIX_AddChannel(int d, int s, int w) { return PIX_Clamp255(d + s * w / 256); }

inline void _PIX_CombinePixelsAdd(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_EachChannel<_PIX_AddChannel>(dest, r, g, b, a, w);
}

inline int _PIX_DodgeChannel(int d, int s, int w) {
  const int k = s * w / 256;
  if (k < 255) return PIX_Clamp255(d * 256 / (256 - k));
  return PIX_Clamp255(d * 256);
}

inline void _PIX_CombinePixelsColorDodge(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_EachChannel<_PIX_DodgeChannel>(dest, r, g, b, a, w);
}

inline int _PIX_MulChannel(int d, int s, int w) {
  return (int)(((long long)d * ((long long)s * w + (256 - w) * 256)) >> 16);
}

inline void _PIX_CombinePixelsMulNoClamp(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_EachChannel<_PIX_MulChannel>(dest, r, g, b, a, w);
}

inline int _PIX_OverlayChannel(int d, int s, int w) {
  const long long v = (long long)s * w + (256 - w) * 128;
  const long long x = (((32768 - v) * d / 256 + v) * d) >> 15;
  return x < 0 ? 0 : (x > 255 ? 255 : (int)x);
}

inline void _PIX_CombinePixelsOverlay(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_EachChannel<_PIX_OverlayChannel>(dest, r, g, b, a, w);
}

// Hue, saturation and value of the destination move by (source red - 128), (green - 128) and
// (blue - 128) scaled by w, so a mid-grey source changes nothing; the hue shift spans half a turn
// each way. Alpha becomes the source alpha.
void _PIX_CombinePixelsHSVAdjust(PIX_Pixel* dest, int r, int g, int b, int a, int w);

inline void _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp(PIX_Pixel* dest, int r, int g, int b,
                                                                    int a, int w) {
  (void)w;
  if (a == 0) return;
  if (a == 255) {
    *dest = PIX_MAKEPIXEL(255, r, g, b);
    return;
  }
  unsigned char* d = (unsigned char*)dest;
  const int ia = 255 - a;
  d[PIX_BYTE_B] = (unsigned char)(b + (d[PIX_BYTE_B] - b) * ia / 256);
  d[PIX_BYTE_G] = (unsigned char)(g + (d[PIX_BYTE_G] - g) * ia / 256);
  d[PIX_BYTE_R] = (unsigned char)(r + (d[PIX_BYTE_R] - r) * ia / 256);
  const int na = d[PIX_BYTE_A] + a;
  d[PIX_BYTE_A] = (unsigned char)(na > 255 ? 255 : na);
}

inline int _PIX_SourceAlphaWeight(int w, int a) { return w * (a + 1) / 256; }

inline void _PIX_CombinePixelsCopySourceAlphaNoClamp(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  if (a == 0) return;
  unsigned char* d = (unsigned char*)dest;
  const int f = _PIX_SourceAlphaWeight(w, a);
  const int iw = 256 - f;
  d[PIX_BYTE_B] = (unsigned char)(b + (d[PIX_BYTE_B] - b) * iw / 256);
  d[PIX_BYTE_G] = (unsigned char)(g + (d[PIX_BYTE_G] - g) * iw / 256);
  d[PIX_BYTE_R] = (unsigned char)(r + (d[PIX_BYTE_R] - r) * iw / 256);
  const int na = d[PIX_BYTE_A] + f;
  d[PIX_BYTE_A] = (unsigned char)(na > 255 ? 255 : na);
}

// The source-alpha form of a constant-weight combine: the weight scaled by the source alpha;
// with leaveTransparent, a source alpha of 0 leaves the destination as it is.
template <PIX_CombineFunc F, bool leaveTransparent>
inline void _PIX_WithSourceAlpha(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  if (leaveTransparent && a == 0) return;
  F(dest, r, g, b, a, _PIX_SourceAlphaWeight(w, a));
}

inline void _PIX_CombinePixelsAddSourceAlpha(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_WithSourceAlpha<_PIX_CombinePixelsAdd, true>(dest, r, g, b, a, w);
}

inline void _PIX_CombinePixelsColorDodgeSourceAlpha(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_WithSourceAlpha<_PIX_CombinePixelsColorDodge, false>(dest, r, g, b, a, w);
}

inline void _PIX_CombinePixelsMulSourceAlphaNoClamp(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_WithSourceAlpha<_PIX_CombinePixelsMulNoClamp, true>(dest, r, g, b, a, w);
}

inline void _PIX_CombinePixelsOverlaySourceAlpha(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_WithSourceAlpha<_PIX_CombinePixelsOverlay, false>(dest, r, g, b, a, w);
}

inline void _PIX_CombinePixelsHSVAdjustSourceAlpha(PIX_Pixel* dest, int r, int g, int b, int a, int w) {
  _PIX_WithSourceAlpha<_PIX_CombinePixelsHSVAdjust, false>(dest, r, g, b, a, w);
}

// The combine function a blit uses for (mode AND 0x100FF) at integer weight w, with the clobber
// and ignore-weight shortcuts at w = 256; null when the mode draws nothing.
PIX_CombineFunc PIX_GetCombineFunc(int mode, int w);
