// Fuzzes the drawing API: the input is decoded into a sequence of calls to every raster-library
// and GDI-layer drawing function with wild arguments (huge, negative and NaN coordinates, sizes
// and weights, every mode word) on small bitmaps framed by guard pixels. A call that writes
// outside its bitmap changes a guard pixel and aborts; UBSan catches arithmetic faults.
#include "gdi/GDI_DrawText.h"
#include "gdi/GDI_Font.h"
#include "gdi/GDI_MemContext.h"
#include "pix/PIX_Bezier.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_CachedFont.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_Polygon.h"
#include "pix/PIX_Shapes.h"
#include "pix/PIX_SysBitmap.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// A bitmap whose rows sit inside a frame of guard pixels that no drawing may touch.
class GuardedBitmap : public PIX_IBitmap {
 public:
  static constexpr int kGuard = 8;
  static constexpr PIX_Pixel kPattern = 0xA5C3E10Fu;

  PIX_Pixel* getBits() override { return m_w > 0 && m_h > 0 ? &m_store[kGuard * span() + kGuard] : nullptr; }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return span(); }
  bool resize(int w, int h) override {
    if (w == m_w && h == m_h) return false;
    m_w = w > 0 && w <= 64 ? w : 0;
    m_h = h > 0 && h <= 64 ? h : 0;
    m_store.assign((size_t)span() * (m_h + 2 * kGuard), kPattern);
    for (int y = 0; y < m_h; y++)
      for (int x = 0; x < m_w; x++)
        m_store[(size_t)(y + kGuard) * span() + x + kGuard] = (PIX_Pixel)(x * 0x01030507u + y * 0x70503010u);
    return true;
  }
  void check(const char* what) {
    for (size_t i = 0; i < m_store.size(); i++) {
      const int x = (int)(i % span()) - kGuard, y = (int)(i / span()) - kGuard;
      if ((x < 0 || y < 0 || x >= m_w || y >= m_h) && m_store[i] != kPattern) {
        std::fprintf(stderr, "%s wrote outside a %d x %d bitmap at (%d, %d)\n", what, m_w, m_h, x, y);
        std::abort();
      }
    }
  }

 private:
  int span() const { return m_w + 2 * kGuard; }
  int m_w = 0, m_h = 0;
  std::vector<PIX_Pixel> m_store;
};

class Input {
 public:
  Input(const uint8_t* d, size_t n) : m_d(d), m_n(n) {}
  bool more() const { return m_i < m_n; }
  uint8_t u8() { return m_i < m_n ? m_d[m_i++] : 0; }
  uint32_t u32() { return u8() | (u8() << 8) | (u8() << 16) | ((uint32_t)u8() << 24); }

  // Mostly small coordinates near the bitmaps, sometimes the extremes.
  int coord() {
    const uint8_t k = u8();
    if (k < 200) return (int8_t)u8() / 4;
    static const int wild[] = {0,      -1,      1,          INT_MAX, INT_MIN, INT_MAX / 2, INT_MIN / 2, 65536,
                               -65536, 1 << 24, -(1 << 24), 100000,  -100000, 0x7FFF,      -0x8000};
    if (k < 240) return wild[k % (sizeof(wild) / sizeof(wild[0]))];
    return (int)u32();
  }
  float fcoord() {
    const uint8_t k = u8();
    if (k < 180) return (int8_t)u8() / 4.0f;
    const float inf = std::numeric_limits<float>::infinity();
    static const float wild[] = {0.0f,
                                 -0.0f,
                                 0.5f,
                                 -0.5f,
                                 1e30f,
                                 -1e30f,
                                 3e9f,
                                 -3e9f,
                                 1e-40f,
                                 65536.25f,
                                 std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::lowest()};
    if (k < 230) return wild[k % (sizeof(wild) / sizeof(wild[0]))];
    if (k < 240) return std::nanf("");
    if (k < 250) return (k & 1) ? inf : -inf;
    const uint32_t bits = u32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // Every whole weight the hold lets through, the shortcut weights, and the wild ones.
  float weight() {
    const uint8_t k = u8();
    if (k < 100) return (int)(u8() % 33) - 16 + (k % 4) * 0.25f;
    static const float wild[] = {1.0f,
                                 0.5f,
                                 0.25f,
                                 0.75f,
                                 0.0f,
                                 1.0f / 256,
                                 -1.0f / 256,
                                 255.0f / 256,
                                 17.0f,
                                 -17.0f,
                                 1e30f,
                                 -1e30f,
                                 std::nanf(""),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity()};
    if (k < 250) return wild[k % (sizeof(wild) / sizeof(wild[0]))];
    return fcoord();
  }
  int mode() {
    const uint8_t k = u8();
    if (k < 200) {
      static const int low[] = {0, 1, 2, 3, 4, 5, 6, 0xF0, 0xF5, 0xFA, 0xFF, 0x7F};
      return low[k % (sizeof(low) / sizeof(low[0]))] | ((k & 0x10) ? 0x100 : 0) | ((k & 0x20) ? 0x10000 : 0);
    }
    return (int)u32();
  }
  PIX_Pixel colour() {
    static const PIX_Pixel c[] = {0xFFFFFFFFu, 0,           0x80FF8040u, 0xFF000000u,
                                  0x00FFFFFFu, 0x01020304u, 0xFE7F3F1Fu};
    const uint8_t k = u8();
    return k < 128 ? c[k % (sizeof(c) / sizeof(c[0]))] : u32();
  }
  std::string text() {
    const int n = u8() % 24;
    std::string s;
    for (int i = 0; i < n && more(); i++) s += (char)u8();
    return s;
  }

 private:
  const uint8_t* m_d;
  size_t m_n;
  size_t m_i = 0;
};

struct Fonts {
  std::vector<HFONT> hfonts;
  std::vector<PIX_CachedFont*> cached;
  Fonts() {
    const int flags[] = {0,
                         PIX_FONT_FLAG_VERTICAL,
                         PIX_FONT_FLAG_VERTICAL | PIX_FONT_FLAG_VERTICAL_BOTUP,
                         PIX_FONT_FLAG_MONO | PIX_FONT_FLAG_SHADOW,
                         PIX_FONT_FLAG_OUTLINE | PIX_FONT_FLAG_BLUR | PIX_FONT_FLAG_INVERT,
                         PIX_FONT_FLAG_PRECALC_ASCII | PIX_FONT_FLAG_PREFER_NATIVE};
    for (int i = 0; i < 6; i++) {
      HFONT f = GDI_CreateFont(i % 2 ? -11 : 14, 0, i == 4 ? 450 : 0, 0, i % 3 ? 400 : 700, i == 3, i == 5, 0,
                               0, 0, 0, i % 4, 0, i % 2 ? "DejaVu Sans" : "Monaco");
      hfonts.push_back(f);
      auto* c = new PIX_CachedFont;
      c->SetFromHFont(f, flags[i]);
      cached.push_back(c);
    }
  }
};

void DrawText(Input& in, Fonts& fonts, PIX_IBitmap* bm) {
  PIX_CachedFont* f = fonts.cached[in.u8() % fonts.cached.size()];
  f->SetTextColor(in.colour());
  f->SetBkColor(in.colour());
  f->SetEffectColor(in.colour());
  f->SetBkMode(in.u8() % 3);
  f->SetCombineMode(in.mode(), in.weight());
  RECT r = {in.coord(), in.coord(), in.coord(), in.coord()};
  const std::string s = in.text();
  const unsigned flags = in.u32();
  if (in.u8() & 1) {
    RECT clip = {in.coord(), in.coord(), in.coord(), in.coord()};
    f->DrawGlyph(bm, s.empty() ? 'A' : (unsigned char)s[0], in.coord(), in.coord(),
                 (in.u8() & 1) ? &clip : nullptr);
  } else {
    f->DrawText(bm, s.c_str(), (in.u8() & 1) ? -1 : (int)s.size(), &r, flags);
  }
}

void GdiText(Input& in, Fonts& fonts, HDC ctx) {
  HFONT made = nullptr;
  if (in.u8() < 16) {
    // A request with wild numbers: the layer must still give a usable font or none.
    made = GDI_CreateFont(in.coord(), in.coord(), in.coord(), 0, in.coord(), in.u8() & 1, in.u8() & 1,
                          in.u8() & 1, 0, 0, 0, in.u8() % 7, 0, in.text().c_str());
  }
  HFONT old = GDI_SelectFont(ctx, made ? made : fonts.hfonts[in.u8() % fonts.hfonts.size()]);
  GDI_SetTextColor(ctx, in.colour());
  GDI_SetBkColor(ctx, in.colour());
  GDI_SetBkMode(ctx, in.u8() % 4);
  const int pushes = in.u8() % 3;
  for (int i = 0; i < pushes; i++) {
    GDI_PushClipRect(ctx);
    RECT clip = {in.coord(), in.coord(), in.coord(), in.coord()};
    GDI_SetClipRect(ctx, &clip);
  }
  RECT r = {in.coord(), in.coord(), in.coord(), in.coord()};
  const std::string s = in.text();
  GDI_DrawText(ctx, s.c_str(), (in.u8() & 1) ? -1 : (int)s.size(), &r, in.u32());
  for (int i = 0; i < pushes + (in.u8() & 1); i++) GDI_PopClipRect(ctx);
  GDI_SelectFont(ctx, old);
  GDI_DeleteFont(made);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fonts* fonts = new Fonts;
  Input in(data, size);
  GuardedBitmap g[3];
  for (auto& b : g) b.resize(in.u8() % 20, in.u8() % 20);
  PIX_MemBitmap mem(in.u8() % 20, in.u8() % 20, in.u8());
  PIX_SysBitmap sys(in.u8() % 20, in.u8() % 20);
  HDC ctx = GDI_CreateMemContext(1 + in.u8() % 20, 1 + in.u8() % 20);
  PIX_IBitmap* pool[] = {&g[0], &g[1], &g[2], &mem, &sys};
  const char* what = "";

  for (int step = 0; step < 64 && in.more(); step++) {
    PIX_IBitmap* d = pool[in.u8() % 5];
    PIX_IBitmap* s = pool[in.u8() % 5];
    const uint8_t op = in.u8() % 24;
    switch (op) {
      case 0: {
        RECT r = {in.coord(), in.coord(), in.coord(), in.coord()};
        PIX_Blit(d, s, in.coord(), in.coord(), (in.u8() & 1) ? &r : nullptr, in.weight(), in.mode());
        what = "PIX_Blit(rect)";
        break;
      }
      case 1:
        PIX_Blit(d, s, in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.weight(),
                 in.mode());
        what = "PIX_Blit";
        break;
      case 2:
        PIX_ScaledBlit(d, s, in.coord(), in.coord(), in.coord(), in.coord(), in.fcoord(), in.fcoord(),
                       in.fcoord(), in.fcoord(), in.weight(), in.mode());
        what = "PIX_ScaledBlit";
        break;
      case 3:
        PIX_RotatedBlit(d, s, in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.coord(),
                        in.coord(), in.coord(), in.fcoord(), in.u8() & 1, in.weight(), in.mode(), in.fcoord(),
                        in.fcoord());
        what = "PIX_RotatedBlit";
        break;
      case 4:
        PIX_FillRect(d, in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.weight(), in.mode());
        what = "PIX_FillRect";
        break;
      case 5:
        PIX_PutPixel(d, in.coord(), in.coord(), in.colour(), in.weight(), in.mode());
        PIX_GetPixel(d, in.coord(), in.coord());
        what = "PIX_PutPixel";
        break;
      case 6:
        PIX_ClearRect(d, in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.colour());
        what = "PIX_ClearRect";
        break;
      case 7:
        PIX_Line(d, in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.weight(), in.mode(),
                 in.u8() & 1);
        what = "PIX_Line";
        break;
      case 8:
        PIX_FLine(d, in.fcoord(), in.fcoord(), in.fcoord(), in.fcoord(), in.colour(), in.weight(), in.mode(),
                  in.u8() & 1);
        what = "PIX_FLine";
        break;
      case 9:
        PIX_DashedLine(d, in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.weight(), in.mode(),
                       in.coord(), in.coord());
        what = "PIX_DashedLine";
        break;
      case 10:
        PIX_Circle(d, in.fcoord(), in.fcoord(), in.fcoord(), in.colour(), in.weight(), in.mode(),
                   in.u8() & 1);
        what = "PIX_Circle";
        break;
      case 11:
        PIX_FillCircle(d, in.fcoord(), in.fcoord(), in.fcoord(), in.colour(), in.weight(), in.mode(),
                       in.u8() & 1);
        what = "PIX_FillCircle";
        break;
      case 12:
        PIX_Arc(d, in.fcoord(), in.fcoord(), in.fcoord(), in.fcoord(), in.fcoord(), in.colour(), in.weight(),
                in.mode(), in.u8() & 1);
        what = "PIX_Arc";
        break;
      case 13:
        PIX_FillTrapezoid(d, in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.coord(),
                          in.colour(), in.weight(), in.mode());
        what = "PIX_FillTrapezoid";
        break;
      case 14: {
        int xs[8], ys[8];
        const int n = in.u8() % 9;
        for (int i = 0; i < n; i++) {
          xs[i] = in.coord();
          ys[i] = in.coord();
        }
        PIX_FillConvexPolygon(d, xs, ys, n, in.colour(), in.weight(), in.mode());
        what = "PIX_FillConvexPolygon";
        break;
      }
      case 15:
        PIX_FillTriangle(d, in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.coord(),
                         in.colour(), in.weight(), in.mode());
        what = "PIX_FillTriangle";
        break;
      case 16:
        PIX_DrawRect(d, in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.weight(), in.mode());
        what = "PIX_DrawRect";
        break;
      case 17:
        PIX_BorderedRect(d, in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.colour(),
                         in.weight(), in.mode());
        what = "PIX_BorderedRect";
        break;
      case 18:
        PIX_RoundRect(d, in.coord(), in.coord(), in.coord(), in.coord(), in.coord(), in.colour(), in.weight(),
                      in.mode(), in.u8() & 1);
        what = "PIX_RoundRect";
        break;
      case 19: {
        float xs[4], ys[4];
        for (int i = 0; i < 4; i++) {
          xs[i] = in.fcoord();
          ys[i] = in.fcoord();
        }
        const int which = in.u8() % 3;
        if (which == 0) PIX_DrawQBezier(d, xs, ys, in.colour(), in.weight(), in.mode(), in.u8() & 1);
        if (which == 1) PIX_DrawCBezier(d, xs, ys, in.colour(), in.weight(), in.mode(), in.u8() & 1);
        if (which == 2) PIX_FillCBezier(d, xs, ys, in.coord(), in.colour(), in.weight(), in.mode());
        what = "PIX_Bezier";
        break;
      }
      case 20:
        DrawText(in, *fonts, d);
        what = "PIX_CachedFont";
        break;
      case 21:
        GdiText(in, *fonts, ctx);
        what = "GDI_DrawText";
        break;
      case 22: {
        int x1 = in.coord(), y1 = in.coord(), x2 = in.coord(), y2 = in.coord();
        PIX_ClipLine(&x1, &y1, &x2, &y2, in.coord(), in.coord(), in.coord(), in.coord());
        float f1 = in.fcoord(), g1 = in.fcoord(), f2 = in.fcoord(), g2 = in.fcoord();
        PIX_ClipFLine(&f1, &g1, &f2, &g2, in.fcoord(), in.fcoord(), in.fcoord(), in.fcoord());
        what = "PIX_ClipLine";
        break;
      }
      default:
        if (in.u8() & 1)
          d->resize(in.u8() % 20, in.u8() % 20);
        else if (d != s)
          PIX_Copy(d, s);
        what = "resize";
        break;
    }
    for (auto& b : g) b.check(what);
  }
  GDI_DeleteGfxContext(ctx);
  return 0;
}
