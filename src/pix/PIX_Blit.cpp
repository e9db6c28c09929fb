// PIX_Blit and PIX_Copy: unscaled blits with row-copy and half-mix shortcuts and one loop per
// combine function.
#include "pix/PIX_Blit.h"

#include <cstring>
#include <vector>

#include "pix/PIX_BlitClip.h"
#include "pix/PIX_CombineRow.h"

bool PIX_ClipBlit(PIX_IBitmap* dest, PIX_IBitmap* src, long long dstx, long long dsty, long long l,
                  long long t, long long r, long long b, PIX_BlitArea& out) {
  if (l < 0) {
    dstx -= l;
    l = 0;
  }
  if (t < 0) {
    dsty -= t;
    t = 0;
  }
  if (r > src->getWidth()) r = src->getWidth();
  if (b > src->getHeight()) b = src->getHeight();
  if (dstx < 0) {
    l -= dstx;
    dstx = 0;
  }
  if (dsty < 0) {
    t -= dsty;
    dsty = 0;
  }
  if (r - l > dest->getWidth() - dstx) r = l + dest->getWidth() - dstx;
  if (b - t > dest->getHeight() - dsty) b = t + dest->getHeight() - dsty;
  if (r <= l || b <= t) return false;
  out.dstx = (int)dstx;
  out.dsty = (int)dsty;
  out.srcx = (int)l;
  out.srcy = (int)t;
  out.w = (int)(r - l);
  out.h = (int)(b - t);
  return true;
}

namespace {
struct Rows {
  PIX_Pixel* d;
  const PIX_Pixel* s;
  long dspan, sspan;
};

void ChannelCopy(const Rows& rows, int w, int h, int mode) {
  const int sb = mode & 3, db = (mode >> 2) & 3;
  unsigned char* d = (unsigned char*)rows.d;
  const unsigned char* s = (const unsigned char*)rows.s;
  for (int j = 0; j < h; j++, d += rows.dspan * 4, s += rows.sspan * 4)
    for (int i = 0; i < w; i++) d[i * 4 + db] = s[i * 4 + sb];
}

void BlitArea(PIX_IBitmap* dest, PIX_IBitmap* src, const PIX_BlitArea& a, float weight, int mode) {
  Rows rows;
  rows.dspan = dest->getRowSpan();
  rows.sspan = src->getRowSpan();
  rows.d = dest->getBits() + a.dsty * rows.dspan + a.dstx;
  rows.s = src->getBits() + a.srcy * rows.sspan + a.srcx;

  // A bitmap blitted onto itself with overlapping areas reads from a snapshot, so that no pixel
  // is read after it was written.
  std::vector<PIX_Pixel> snapshot;
  if (dest->getBits() == src->getBits()) {
    const bool overlapX = a.dstx < a.srcx + a.w && a.srcx < a.dstx + a.w;
    const bool overlapY = a.dsty < a.srcy + a.h && a.srcy < a.dsty + a.h;
    if (overlapX && overlapY) {
      snapshot.resize((size_t)a.w * a.h);
      for (int j = 0; j < a.h; j++)
        memcpy(&snapshot[(size_t)j * a.w], rows.s + j * rows.sspan, (size_t)a.w * 4);
      rows.s = snapshot.data();
      rows.sspan = a.w;
    }
  }

  if ((mode & PIX_BLIT_MODE_MASK) >= PIX_BLIT_MODE_CHANCOPY) {
    ChannelCopy(rows, a.w, a.h, mode);
    return;
  }
  if (mode == PIX_BLIT_MODE_COPY && weight == 1.0f) {
    for (int j = 0; j < a.h; j++) memcpy(rows.d + j * rows.dspan, rows.s + j * rows.sspan, (size_t)a.w * 4);
    return;
  }
  if (mode == PIX_BLIT_MODE_COPY && weight == 0.5f) {
    for (int j = 0; j < a.h; j++) {
      PIX_Pixel* d = rows.d + j * rows.dspan;
      const PIX_Pixel* s = rows.s + j * rows.sspan;
      for (int i = 0; i < a.w; i++) d[i] = PIX_Mix50(d[i], s[i]);
    }
    return;
  }
  const int iw = PIX_WeightToInt(weight);
  PIX_RowCombiner combine = PIX_GetRowCombiner(mode, iw);
  if (!combine) return;
  for (int j = 0; j < a.h; j++) combine(rows.d + j * rows.dspan, rows.s + j * rows.sspan, a.w, iw);
}

bool HasPixels(PIX_IBitmap* bm) { return bm && bm->getBits(); }
}  // namespace

void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, const RECT* srcrect, float weight,
              int mode) {
  if (!HasPixels(dest) || !HasPixels(src) || weight == 0.0f) return;
  long long l = 0, t = 0, r = src->getWidth(), b = src->getHeight();
  if (srcrect) {
    l = srcrect->left;
    t = srcrect->top;
    r = srcrect->right;
    b = srcrect->bottom;
  }
  PIX_BlitArea area;
  if (!PIX_ClipBlit(dest, src, dstx, dsty, l, t, r, b, area)) return;
  BlitArea(dest, src, area, weight, mode);
}

void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch,
              float weight, int mode) {
  if (!HasPixels(dest) || !HasPixels(src) || weight == 0.0f) return;
  PIX_BlitArea area;
  if (!PIX_ClipBlit(dest, src, dstx, dsty, srcx, srcy, (long long)srcx + srcw, (long long)srcy + srch, area))
    return;
  BlitArea(dest, src, area, weight, mode);
}

void PIX_Copy(PIX_IBitmap* dest, PIX_IBitmap* src) {
  if (!dest || !HasPixels(src)) return;
  dest->resize(src->getWidth(), src->getHeight());
  PIX_Blit(dest, src, 0, 0, nullptr, 1.0f, PIX_BLIT_MODE_COPY);
}
