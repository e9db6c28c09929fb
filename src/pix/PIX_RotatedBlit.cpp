// PIX_RotatedBlit: walks the destination rectangle in 16.16 fixed point through the rotated
// source and combines through the mode's combine function.
#include <cmath>
#include <vector>

#include "pix/PIX_Blit.h"
#include "pix/PIX_BlitClip.h"
#include "pix/PIX_Combine.h"
#include "pix/PIX_Sample.h"

namespace {
bool Sane(double v) { return std::isfinite(v) && std::fabs(v) < 1.0e8; }
// Rounded rather than floored, so that the sine and cosine residue of exact quarter turns (about
// 1e-16) does not become a whole 1/65536 step that drifts across a pixel boundary.
long long Fixed(double v) { return (long long)std::floor(v * 65536.0 + 0.5); }
// Larger geometry is refused so that the 16.16 walk cannot overflow 64 bits.
bool InRange(long long v) { return v >= -(1LL << 20) && v <= (1LL << 20); }
}  // namespace

void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, int srcx,
                     int srcy, int srcw, int srch, double angle, bool clipToSourceRect, float weight,
                     int mode, double rotxcent, double rotycent) {
  if (!dest || !src || !dest->getBits() || !src->getBits()) return;
  if (dstw == 0 || dsth == 0 || weight == 0.0f) return;
  if (!Sane(angle) || !Sane(rotxcent) || !Sane(rotycent)) return;
  if (!InRange(dstx) || !InRange(dsty) || !InRange(dstw) || !InRange(dsth) || !InRange(srcx) ||
      !InRange(srcy) || !InRange(srcw) || !InRange(srch))
    return;

  const int sw = src->getWidth(), sh = src->getHeight();
  long long rl = 0, rt = 0, rr = sw, rb = sh;
  if (clipToSourceRect) {
    rl = srcx > 0 ? srcx : 0;
    rt = srcy > 0 ? srcy : 0;
    rr = (long long)srcx + srcw < sw ? (long long)srcx + srcw : sw;
    rb = (long long)srcy + srch < sh ? (long long)srcy + srch : sh;
    if (rr <= rl || rb <= rt) return;
  }

  const int iw = PIX_WeightToInt(weight);
  if ((mode & PIX_BLIT_COMBINE_MASK) == PIX_BLIT_MODE_COPY && iw < 0) return;
  const PIX_CombineFunc combine = PIX_GetCombineFunc(mode, iw);
  if (!combine || iw == 0) return;

  // Mirroring walks the unmirrored mapping backwards along the mirrored axis.
  long long dx0 = dstx, dy0 = dsty;
  const bool mirrorX = PIX_Unmirror(dx0, dstw), mirrorY = PIX_Unmirror(dy0, dsth);

  const double c = std::cos(angle), s = std::sin(angle);
  const double sx = (double)srcw / dstw, sy = (double)srch / dsth;
  const double startX = srcx - ((dsth * sx * s + dstw * sx * c - srcw) / 2.0 - rotxcent);
  const double startY = srcy - ((dsth * sy * c - dstw * sy * s - srch) / 2.0 - rotycent);
  long long rightX = Fixed(sx * c), rightY = Fixed(-sy * s);
  long long downX = Fixed(sx * s), downY = Fixed(sy * c);
  long long posX = Fixed(startX), posY = Fixed(startY);
  if (mirrorX) {
    posX += rightX * (dstw - 1);
    posY += rightY * (dstw - 1);
    rightX = -rightX;
    rightY = -rightY;
  }
  if (mirrorY) {
    posX += downX * (dsth - 1);
    posY += downY * (dsth - 1);
    downX = -downX;
    downY = -downY;
  }

  // Cut the destination to the bitmap, advancing the start past the cut-off parts.
  long long x0 = dx0, y0 = dy0, x1 = dx0 + dstw, y1 = dy0 + dsth;
  if (x0 < 0) {
    posX -= x0 * rightX;
    posY -= x0 * rightY;
    x0 = 0;
  }
  if (y0 < 0) {
    posX -= y0 * downX;
    posY -= y0 * downY;
    y0 = 0;
  }
  if (x1 > dest->getWidth()) x1 = dest->getWidth();
  if (y1 > dest->getHeight()) y1 = dest->getHeight();
  if (x1 <= x0 || y1 <= y0) return;

  const PIX_Pixel* sbits = src->getBits();
  const long sspan = src->getRowSpan(), dspan = dest->getRowSpan();
  std::vector<PIX_Pixel> snapshot;
  if (src->getBits() == dest->getBits()) {
    snapshot.assign(sbits, sbits + (size_t)sspan * (sh - 1) + sw);
    sbits = snapshot.data();
  }
  const bool filter = (mode & PIX_BLIT_FILTER_BILINEAR) != 0;
  const long long minX = rl << 16, minY = rt << 16, limX = rr << 16, limY = rb << 16;
  const int xmax = (int)rr - 1, ymax = (int)rb - 1;

  PIX_Pixel* drow = dest->getBits() + y0 * dspan;
  for (long long y = y0; y < y1; y++, drow += dspan, posX += downX, posY += downY) {
    long long px = posX, py = posY;
    for (long long x = x0; x < x1; x++, px += rightX, py += rightY) {
      if (px < minX || py < minY || px >= limX || py >= limY) continue;
      const int ix = (int)(px >> 16), iy = (int)(py >> 16);
      const PIX_Pixel p = filter ? PIX_SampleBilinear(sbits, sspan, ix, iy, (int)(px & 0xFFFF),
                                                      (int)(py & 0xFFFF), xmax, ymax)
                                 : sbits[iy * sspan + ix];
      combine(drow + x, PIX_GetR(p), PIX_GetG(p), PIX_GetB(p), PIX_GetA(p), iw);
    }
  }
}
