// Source sampling shared by the scaled and rotated blits: bilinear interpolation on 16.16 fixed
// point positions and the box average used when shrinking.
#pragma once

#include "pix/PIX_Pixel.h"

namespace pix_detail {
// Two channels of a pixel (those at bit shift and shift + 16) in two 32-bit lanes, so that one
// 64-bit multiply interpolates both; each lane stays below 2^24, so nothing carries across.
inline uint64_t Lanes(PIX_Pixel p, int shift) {
  return (uint64_t)((p >> shift) & 0xFF) | ((uint64_t)((p >> (shift + 16)) & 0xFF) << 32);
}
inline uint64_t Lerp(uint64_t a, uint64_t b, uint64_t f) {
  return ((a * (65536 - f) + b * f) >> 16) & 0x000000FF000000FFull;
}
inline PIX_Pixel Unlanes(uint64_t v, int shift) {
  return (PIX_Pixel)(((v & 0xFF) | ((v >> 16) & 0xFF0000)) << shift);
}
}  // namespace pix_detail

// Interpolates between the pixel at (x, y) and its right, lower and lower-right neighbours with
// the 16-bit fractions fx, fy: down the two columns first, then across. Neighbours beyond xmax or
// ymax (the last column or row) are not used: the last column interpolates only vertically, the
// last row only horizontally.
inline PIX_Pixel PIX_SampleBilinear(const PIX_Pixel* bits, long span, int x, int y, int fx, int fy, int xmax,
                                    int ymax) {
  using namespace pix_detail;
  const PIX_Pixel* p = bits + y * span + x;
  const bool hasRight = x < xmax, hasDown = y < ymax;
  if (!hasRight) fx = 0;
  if (!hasDown) fy = 0;
  const PIX_Pixel p00 = p[0];
  const PIX_Pixel p01 = hasRight ? p[1] : p00;
  const PIX_Pixel p10 = hasDown ? p[span] : p00;
  const PIX_Pixel p11 = hasRight && hasDown ? p[span + 1] : (hasRight ? p01 : p10);
  PIX_Pixel out = 0;
  for (int shift = 0; shift < 16; shift += 8) {
    const uint64_t left = Lerp(Lanes(p00, shift), Lanes(p10, shift), (uint64_t)fy);
    const uint64_t right = Lerp(Lanes(p01, shift), Lanes(p11, shift), (uint64_t)fy);
    out |= Unlanes(Lerp(left, right, (uint64_t)fx), shift);
  }
  return out;
}

// Average of the n x n block (n odd) centred on (x, y), counting only pixels inside
// 0..w-1 x 0..h-1, all with equal weight.
inline PIX_Pixel PIX_SampleBox(const PIX_Pixel* bits, long span, int x, int y, int n, int w, int h) {
  const int r = n / 2;
  int x0 = x - r, x1 = x + r, y0 = y - r, y1 = y + r;
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > w - 1) x1 = w - 1;
  if (y1 > h - 1) y1 = h - 1;
  uint32_t sa = 0, sr = 0, sg = 0, sb = 0;
  int count = 0;
  for (int j = y0; j <= y1; j++) {
    const PIX_Pixel* row = bits + j * span;
    for (int i = x0; i <= x1; i++) {
      const PIX_Pixel p = row[i];
      sa += PIX_GetA(p);
      sr += PIX_GetR(p);
      sg += PIX_GetG(p);
      sb += PIX_GetB(p);
      count++;
    }
  }
  if (!count) return 0;
  return PIX_MAKEPIXEL(sa / count, sr / count, sg / count, sb / count);
}
