// PIX_ScaledBlit: nearest, bilinear and box-filtered resampling in 16.16 fixed point. Column
// positions are worked out once per call; each row is sampled into a line buffer and then
// combined by the mode's row loop (or sampled straight into the destination for plain copies).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "pix/PIX_Blit.h"
#include "pix/PIX_BlitClip.h"
#include "pix/PIX_CombineRow.h"
#include "pix/PIX_Sample.h"

namespace {
bool Sane(float v) { return std::isfinite(v) && std::fabs(v) < 1.0e8f; }

bool NearWhole(float v) { return std::fabs(v - std::floor(v + 0.5f)) <= 0.03f; }

// Source positions of n destination pixels, the k-th at start + k * step (or, mirrored, the
// (n-1-k)-th), in 16.16 fixed point (floored). A part cut off left of or above 0 advances the start
// before the conversion; mirrored, that part is the far end of the walk. Positions left of 0 or at
// or beyond srcLimit are dropped; the rest form one run because positions are monotonic.
struct Axis {
  std::vector<int> index;  // source pixel
  std::vector<int> frac;   // 16-bit fraction
  int dst0 = 0;            // destination coordinate of index[0]
  bool build(double start, double step, int dstPos, int n, bool mirror, int destLimit, int srcLimit) {
    int k0 = dstPos < 0 ? -dstPos : 0;
    int k1 = n;
    if ((long long)dstPos + n > destLimit) k1 = (int)((long long)destLimit - dstPos);
    const long long first = mirror ? 0 : k0;
    const long long base = (long long)std::floor((start + (double)first * step) * 65536.0);
    const long long fixedStep = (long long)std::floor(step * 65536.0);
    index.clear();
    frac.clear();
    for (int k = k0; k < k1; k++) {
      const long long logical = mirror ? (long long)(n - 1 - k) : (long long)k;
      const long long pos = base + (logical - first) * fixedStep;
      if (pos < 0 || (pos >> 16) >= srcLimit) {
        if (index.empty()) continue;
        break;
      }
      if (index.empty()) dst0 = dstPos + k;
      index.push_back((int)(pos >> 16));
      frac.push_back((int)(pos & 0xFFFF));
    }
    return !index.empty();
  }
};
void BilinearRow(const PIX_Pixel* sbits, long sspan, int sw, int sh, int y, int fy, const Axis& cols,
                 int colLo, int colHi, std::vector<uint64_t>& lanes, PIX_Pixel* out) {
  using namespace pix_detail;
  if (y >= sh - 1) fy = 0;
  const PIX_Pixel* r0 = sbits + y * sspan;
  const PIX_Pixel* r1 = fy ? r0 + sspan : r0;
  uint64_t* v = lanes.data();
  if (fy == 0) {
    for (int c = colLo; c <= colHi; c++, v += 2) {
      v[0] = Lanes(r0[c], 0);
      v[1] = Lanes(r0[c], 8);
    }
  } else {
    for (int c = colLo; c <= colHi; c++, v += 2) {
      v[0] = Lerp(Lanes(r0[c], 0), Lanes(r1[c], 0), (uint64_t)fy);
      v[1] = Lerp(Lanes(r0[c], 8), Lanes(r1[c], 8), (uint64_t)fy);
    }
  }
  const uint64_t* base = lanes.data() - (size_t)colLo * 2;
  const int n = (int)cols.index.size();
  for (int i = 0; i < n; i++) {
    const int x = cols.index[i];
    const uint64_t* a = base + (size_t)x * 2;
    if (x >= sw - 1) {
      out[i] = Unlanes(a[0], 0) | Unlanes(a[1], 8);
      continue;
    }
    const uint64_t fx = (uint64_t)cols.frac[i];
    out[i] = Unlanes(Lerp(a[0], a[2], fx), 0) | Unlanes(Lerp(a[1], a[3], fx), 8);
  }
}
}  // namespace

void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                    float srcy, float srcw, float srch, float weight, int mode) {
  if (!dest || !src || !dest->getBits() || !src->getBits()) return;
  if (dstw == 0 || dsth == 0 || weight == 0.0f) return;
  if (!Sane(srcx) || !Sane(srcy) || !Sane(srcw) || !Sane(srch)) return;
  const bool filter = (mode & PIX_BLIT_FILTER_BILINEAR) != 0;

  if (dstw > 0 && dsth > 0 && std::fabs(srcw - dstw) < 0.001f && std::fabs(srch - dsth) < 0.001f &&
      (!filter || (NearWhole(srcx) && NearWhole(srcy)))) {
    PIX_Blit(dest, src, dstx, dsty, (int)(srcx + 0.5f), (int)(srcy + 0.5f), dstw, dsth, weight, mode);
    return;
  }

  // Mirroring walks the unmirrored mapping backwards, so a mirrored blit is exactly the flip of
  // the plain one.
  long long dx0 = dstx, dy0 = dsty;
  const bool mirrorX = PIX_Unmirror(dx0, dstw), mirrorY = PIX_Unmirror(dy0, dsth);
  if (dx0 < -0x7FFFFFFFLL || dy0 < -0x7FFFFFFFLL) return;

  const double dx = (double)srcw / dstw, dy = (double)srch / dsth;
  const long long dxf = (long long)std::floor(dx * 65536.0);
  const long long dyf = (long long)std::floor(dy * 65536.0);

  const int sw = src->getWidth(), sh = src->getHeight();
  Axis cols, rows;
  if (!cols.build(srcx, dx, (int)dx0, dstw, mirrorX, dest->getWidth(), sw)) return;
  if (!rows.build(srcy, dy, (int)dy0, dsth, mirrorY, dest->getHeight(), sh)) return;

  const int iw = PIX_WeightToInt(weight);
  const PIX_Pixel* sbits = src->getBits();
  long sspan = src->getRowSpan();
  const long dspan = dest->getRowSpan();
  // Scaling a bitmap onto itself reads from a snapshot.
  std::vector<PIX_Pixel> snapshot;
  if (src->getBits() == dest->getBits()) {
    snapshot.assign(sbits, sbits + (size_t)sspan * (sh - 1) + sw);
    sbits = snapshot.data();
  }
  const int n = (int)cols.index.size();
  PIX_Pixel* drow = dest->getBits() + rows.dst0 * dspan + cols.dst0;

  if (!filter && mode == PIX_BLIT_MODE_COPY && (iw == 256 || iw == 128)) {
    for (size_t j = 0; j < rows.index.size(); j++, drow += dspan) {
      const PIX_Pixel* srow = sbits + rows.index[j] * sspan;
      if (iw == 256)
        for (int i = 0; i < n; i++) drow[i] = srow[cols.index[i]];
      else
        for (int i = 0; i < n; i++) drow[i] = PIX_Mix50(drow[i], srow[cols.index[i]]);
    }
    return;
  }

  const PIX_RowCombiner combine = PIX_GetRowCombiner(mode, iw);
  if (!combine) return;
  const bool direct = PIX_IsClobberRow(combine);
  std::vector<PIX_Pixel> line(direct ? 0 : (size_t)n);
  const bool shrink = filter && std::fabs(dx) >= 1.7 && std::fabs(dy) >= 1.7;
  const long long adxf = dxf < 0 ? -dxf : dxf, adyf = dyf < 0 ? -dyf : dyf;
  const long long larger = adxf > adyf ? adxf : adyf;
  const int box = larger <= 0x30000 ? 3 : 5;

  // Bilinear rows interpolate the needed source columns vertically once, then across.
  const int colLo = std::min(cols.index.front(), cols.index.back());
  const int colHi = std::min(std::max(cols.index.front(), cols.index.back()) + 1, sw - 1);
  std::vector<uint64_t> lanes(filter && !shrink ? (size_t)(colHi - colLo + 1) * 2 : 0);

  for (size_t j = 0; j < rows.index.size(); j++, drow += dspan) {
    PIX_Pixel* out = direct ? drow : line.data();
    const int y = rows.index[j];
    if (shrink) {
      for (int i = 0; i < n; i++) out[i] = PIX_SampleBox(sbits, sspan, cols.index[i], y, box, sw, sh);
    } else if (filter) {
      BilinearRow(sbits, sspan, sw, sh, y, rows.frac[j], cols, colLo, colHi, lanes, out);
    } else {
      const PIX_Pixel* srow = sbits + y * sspan;
      for (int i = 0; i < n; i++) out[i] = srow[cols.index[i]];
    }
    if (!direct) combine(drow, out, n, iw);
  }
}
