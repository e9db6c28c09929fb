// Small helpers shared by the GDI layer's tests: owning wrappers and pixel inspection.
#pragma once

#include "gdi/GDI_DrawText.h"
#include "gdi/GDI_Font.h"
#include "gdi/GDI_MemContext.h"

#include <algorithm>
#include <cstdint>

struct TestContext {
  HDC dc;
  TestContext(int w, int h) : dc(GDI_CreateMemContext(w, h)) {}
  ~TestContext() {
    GDI_SelectFont(dc, nullptr);
    GDI_DeleteGfxContext(dc);
  }
  uint32_t* Pixels() const { return static_cast<uint32_t*>(GDI_GetCtxFrameBuffer(dc)); }
  uint32_t At(int x, int y) const { return Pixels()[y * GDI_GetCtxWidth(dc) + x]; }
  void Fill(uint32_t v) const {
    std::fill(Pixels(), Pixels() + GDI_GetCtxWidth(dc) * GDI_GetCtxHeight(dc), v);
  }
};

struct TestFont {
  HFONT font;
  explicit TestFont(int height, const char* face = "DejaVu Sans Mono", int weight = GDI_FW_NORMAL,
                    int italic = 0, int quality = GDI_ANTIALIASED_QUALITY, int escapement = 0)
      : font(GDI_CreateFont(height, 0, escapement, escapement, weight, italic, 0, 0, 0, 0, 0, quality, 0,
                            face)) {}
  ~TestFont() { GDI_DeleteFont(font); }
};

// Bounding box of the pixels whose low 24 bits differ from background; all zero when none do.
inline RECT InkBox(const TestContext& c, uint32_t background = 0) {
  const int w = GDI_GetCtxWidth(c.dc), h = GDI_GetCtxHeight(c.dc);
  RECT r = {w, h, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((c.At(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x + 1);
        r.bottom = std::max(r.bottom, y + 1);
      }
  if (r.right == 0) r = {0, 0, 0, 0};
  return r;
}
