// Shared scratch bitmaps of the cached fonts (see PIX_FontScratch.h).
#include "pix/PIX_FontScratch.h"
#include "gdi/GDI_MemContext.h"
#include "pix/PIX_SysBitmap.h"

#include <algorithm>
#include <new>

namespace {
PIX_SysBitmap* s_glyph = nullptr;
PIX_SysBitmap* s_native = nullptr;
int s_fonts = 0;

// Grows (never shrinks) the bitmap; true when its drawing context was recreated.
bool Grow(PIX_SysBitmap*& bm, int w, int h) {
  if (!bm) {
    bm = new (std::nothrow) PIX_SysBitmap();
    if (!bm) return false;
  }
  const int nw = std::max(w, bm->getWidth()), nh = std::max(h, bm->getHeight());
  if (nw == bm->getWidth() && nh == bm->getHeight() && bm->getBits()) return false;
  bm->resize(nw, nh);
  return true;
}

PIX_SysBitmap* Usable(PIX_SysBitmap* bm, int w, int h) {
  return bm && bm->getBits() && bm->getDC() && bm->getWidth() >= w && bm->getHeight() >= h ? bm : nullptr;
}
}  // namespace

namespace PIX_FontScratch {
std::recursive_mutex& Mutex() {
  static std::recursive_mutex m;
  return m;
}

void Retain() { ++s_fonts; }

void Release() {
  if (--s_fonts > 0) return;
  s_fonts = 0;
  delete s_glyph;
  delete s_native;
  s_glyph = s_native = nullptr;
}

PIX_SysBitmap* Glyph(int w, int h) {
  if (Grow(s_glyph, w, h) && s_glyph && s_glyph->getDC()) {
    HDC dc = static_cast<HDC>(s_glyph->getDC());
    GDI_SetTextColor(dc, 0xFFFFFF);
    GDI_SetBkMode(dc, GDI_TRANSPARENT);
    GDI_SetBkColor(dc, 0x000000);
  }
  return Usable(s_glyph, w, h);
}

PIX_SysBitmap* Native(int w, int h) {
  Grow(s_native, w, h);
  return Usable(s_native, w, h);
}
}  // namespace PIX_FontScratch
