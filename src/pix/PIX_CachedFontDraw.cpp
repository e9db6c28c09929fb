// PIX_CachedFont: choosing between native and cached drawing, text layout on the cached path
// and compositing of coverage maps with the text colour, weight and combine mode.
#include "gdi/GDI_DrawText.h"
#include "gdi/GDI_MemContext.h"
#include "gdi/GDI_Utf8.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_CachedFont.h"
#include "pix/PIX_Combine.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_FontScratch.h"
#include "pix/PIX_SysBitmap.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
constexpr int kNativeOnlyLineHeight = 255;
constexpr unsigned kAlignFlags = PIX_DT_CENTER | PIX_DT_RIGHT | PIX_DT_VCENTER | PIX_DT_BOTTOM;
constexpr int kEffectFlags = PIX_FONT_FLAG_VERTICAL | PIX_FONT_FLAG_VERTICAL_BOTUP |
                             PIX_FONT_FLAG_PRECALC_ASCII | PIX_FONT_FLAG_BLUR | PIX_FONT_FLAG_INVERT |
                             PIX_FONT_FLAG_MONO | PIX_FONT_FLAG_SHADOW | PIX_FONT_FLAG_OUTLINE;

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) r = {0, 0, 0, 0};
  return r;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Top-left of a tw x th text block placed in rect by the alignment flags.
void AlignedOrigin(const RECT& rect, unsigned flags, int tw, int th, int* x, int* y) {
  *x = rect.left;
  if (flags & PIX_DT_CENTER)
    *x += (rect.right - rect.left - tw) / 2;
  else if (flags & PIX_DT_RIGHT)
    *x = rect.right - tw;
  *y = rect.top;
  if (flags & PIX_DT_VCENTER)
    *y += (rect.bottom - rect.top - th) / 2;
  else if (flags & PIX_DT_BOTTOM)
    *y = rect.bottom - th;
}

// Bitmaps are at most 2^28 pixels a side, so a coordinate beyond +-2^29 is off every bitmap for
// any text narrower than 2^28 pixels: holding rectangles there changes nothing drawn and keeps the
// layout arithmetic inside int.
constexpr int kFar = 1 << 29;

int Hold(int v) { return std::max(-kFar, std::min(kFar, v)); }

int SaturatingSum(int a, int b) {
  const long long v = (long long)a + b;
  return v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : int(v));
}

int TextLength(const char* text, int length) {
  if (!text) return 0;
  if (length < 0) return int(std::strlen(text));
  const void* nul = std::memchr(text, 0, size_t(length));
  return nul ? int(static_cast<const char*>(nul) - text) : length;
}
}  // namespace

bool PIX_CachedFont::UseNative(unsigned flags) const {
  if (m_font && m_lineheight > kNativeOnlyLineHeight) return true;
  return (m_flags & PIX_FONT_FLAG_PREFER_NATIVE) && !(m_flags & kEffectFlags) && m_font &&
         !(flags & (PIX_DT_USEFGALPHA | PIX_DT_NEEDALPHA)) &&
         (m_linespace == 0 || (flags & PIX_DT_SINGLELINE));
}

int PIX_CachedFont::DrawText(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect, unsigned flags) {
  if (!rect) return 0;
  if (!bitmap && !(flags & PIX_DT_CALCRECT)) return 0;
  if (bitmap && !bitmap->getBits() && !(flags & PIX_DT_CALCRECT)) return 0;
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  const int len = TextLength(text, length);
  RECT held = {Hold(rect->left), Hold(rect->top), Hold(rect->right), Hold(rect->bottom)};
  const int h = UseNative(flags) ? DrawNative(bitmap, text ? text : "", len, &held, flags)
                                 : DrawCached(bitmap, text ? text : "", len, &held, flags);
  if (flags & PIX_DT_CALCRECT) {
    rect->right = SaturatingSum(rect->left, held.right - held.left);
    rect->bottom = SaturatingSum(rect->top, held.bottom - held.top);
  }
  return h;
}

int PIX_CachedFont::DrawNative(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect,
                               unsigned flags) {
  const unsigned gdiFlags = (flags & ~(PIX_DT_USEFGALPHA | PIX_DT_NEEDALPHA)) | GDI_DT_NOPREFIX;
  auto prepare = [&](HDC dc) {
    GDI_SetTextColor(dc, m_fg & 0xFFFFFF);
    GDI_SetBkMode(dc, m_bgmode == 1 ? GDI_OPAQUE : GDI_TRANSPARENT);
    if (m_bgmode == 1) GDI_SetBkColor(dc, m_bg & 0xFFFFFF);
    return GDI_SelectFont(dc, m_font);
  };

  if (HDC dc = bitmap ? static_cast<HDC>(bitmap->getDC()) : nullptr) {
    HFONT old = prepare(dc);
    RECT r = *rect;
    const int h = GDI_DrawText(dc, text, length, &r, gdiFlags);
    if (flags & PIX_DT_CALCRECT) *rect = r;
    GDI_SelectFont(dc, old);
    return h;
  }

  // A plain memory bitmap: draw through the native scratch bitmap and blit the area back.
  PIX_SysBitmap* scratch = PIX_FontScratch::Native(4, 4);
  if (!scratch) return 0;
  HDC dc = static_cast<HDC>(scratch->getDC());
  HFONT old = prepare(dc);
  RECT m = {0, 0, 0, 0};
  const int h = GDI_DrawText(dc, text, length, &m, (gdiFlags & ~kAlignFlags) | GDI_DT_CALCRECT);
  GDI_SelectFont(dc, old);
  const int tw = m.right, th = m.bottom;
  if (flags & PIX_DT_CALCRECT) {
    rect->right = rect->left + tw;
    rect->bottom = rect->top + th;
    return h;
  }

  int x, y;
  AlignedOrigin(*rect, flags, tw, th, &x, &y);
  const int pad = GlyphPadding();
  RECT area = {x - pad, y, x + tw + pad, y + th};
  area = Intersect(area, RECT{0, 0, bitmap->getWidth(), bitmap->getHeight()});
  if (!(flags & PIX_DT_NOCLIP)) area = Intersect(area, *rect);
  if (IsEmpty(area)) return h;
  const int aw = area.right - area.left, ah = area.bottom - area.top;
  // Growing may replace the scratch bitmap's context.
  scratch = PIX_FontScratch::Native(aw, ah);
  if (!scratch) return 0;
  dc = static_cast<HDC>(scratch->getDC());
  old = prepare(dc);
  PIX_Blit(scratch, bitmap, 0, 0, &area, 1.0f, 0);
  RECT local = {rect->left - area.left, rect->top - area.top, rect->right - area.left,
                rect->bottom - area.top};
  const RECT limit = {0, 0, aw, ah};
  GDI_PushClipRect(dc);
  GDI_SetClipRect(dc, &limit);
  GDI_DrawText(dc, text, length, &local, gdiFlags);
  GDI_PopClipRect(dc);
  GDI_SelectFont(dc, old);
  PIX_Blit(bitmap, scratch, area.left, area.top, 0, 0, aw, ah, m_alpha, m_comb);
  return h;
}

int PIX_CachedFont::DrawCached(PIX_IBitmap* bitmap, const char* text, int length, RECT* rect,
                               unsigned flags) {
  const bool vertical = (m_flags & PIX_FONT_FLAG_VERTICAL) != 0;
  const bool bottomUp = vertical && (m_flags & PIX_FONT_FLAG_VERTICAL_BOTUP);
  int tw = 0, th = 0;
  if (flags & PIX_DT_CALCRECT) {
    WalkText(text, length, flags, 0, 0, nullptr, nullptr, 0.0f, &tw, &th);
    rect->right = rect->left + tw;
    rect->bottom = rect->top + th;
    return vertical ? tw : th;
  }

  float weight = m_alpha;
  if (flags & PIX_DT_USEFGALPHA) weight *= float(PIX_GetA(m_fg)) / 255.0f;
  if (PIX_WeightToInt(weight) == 0) return 0;

  int x = rect->left, y = bottomUp ? rect->bottom : rect->top;
  if (flags & kAlignFlags) {
    WalkText(text, length, flags, 0, 0, nullptr, nullptr, 0.0f, &tw, &th);
    int top;
    AlignedOrigin(*rect, flags, tw, th, &x, &top);
    if (flags & (PIX_DT_VCENTER | PIX_DT_BOTTOM)) y = bottomUp ? top + th : top;
  }

  const RECT whole = {0, 0, bitmap->getWidth(), bitmap->getHeight()};
  const RECT clip = (flags & PIX_DT_NOCLIP) ? whole : Intersect(*rect, whole);
  if (IsEmpty(clip)) return 0;
  WalkText(text, length, flags, x, y, bitmap, &clip, weight, &tw, &th);
  return vertical ? tw : th;
}

void PIX_CachedFont::WalkText(const char* text, int length, unsigned flags, int x, int y, PIX_IBitmap* bitmap,
                              const RECT* clip, float weight, int* width, int* height) {
  const bool vertical = (m_flags & PIX_FONT_FLAG_VERTICAL) != 0;
  const bool bottomUp = vertical && (m_flags & PIX_FONT_FLAG_VERTICAL_BOTUP);
  const bool single = (flags & PIX_DT_SINGLELINE) != 0;
  const int step = m_lineheight + m_linespace;
  int px = x, py = y, maxX = 0, maxY = 0;
  int i = 0;
  while (i < length) {
    uint32_t c;
    i += GDI_Utf8Decode(text + i, length - i, &c);
    if (c == '\r') continue;
    if (c == '\n') {
      if (!single) {
        if (vertical) {
          px += step;
          py = y;
        } else {
          px = x;
          py += step;
        }
        continue;
      }
      c = ' ';
    }
    const charEnt* found = Lookup(c);
    if (!found) continue;
    const charEnt ent = *found;
    if (bitmap) DrawEntry(bitmap, ent, px, py, clip, weight);
    if (vertical) {
      maxX = std::max(maxX, px - x + m_lineheight);
      py += bottomUp ? -ent.advance : ent.advance;
      maxY = std::max(maxY, bottomUp ? y - py : py - y);
    } else {
      px += ent.advance;
      maxX = std::max(maxX, px - x);
      maxY = std::max(maxY, py - y + m_lineheight);
    }
  }
  *width = maxX;
  *height = maxY;
}

bool PIX_CachedFont::DrawGlyph(PIX_IBitmap* bitmap, int character, int x, int y, const RECT* clipRect) {
  if (!bitmap || !bitmap->getBits() || character < 0) return false;
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  const charEnt* found = Lookup(uint32_t(character));
  if (!found) return false;
  const charEnt ent = *found;
  return DrawEntry(bitmap, ent, Hold(x), Hold(y), clipRect, m_alpha);
}

bool PIX_CachedFont::DrawEntry(PIX_IBitmap* bitmap, const charEnt& ent, int x, int y, const RECT* clipRect,
                               float weight) {
  const RECT whole = {0, 0, bitmap->getWidth(), bitmap->getHeight()};
  const RECT clip = clipRect ? Intersect(*clipRect, whole) : whole;
  if (IsEmpty(clip)) return false;
  const int w = PIX_WeightToInt(weight);
  if (w <= 0) return false;
  const bool vertical = (m_flags & PIX_FONT_FLAG_VERTICAL) != 0;
  const bool bottomUp = vertical && (m_flags & PIX_FONT_FLAG_VERTICAL_BOTUP);

  if (m_bgmode == 1) {
    // The pen's cell rather than the trimmed map, so that backgrounds of neighbours join up.
    RECT cell =
        vertical ? RECT{x, bottomUp ? y - ent.advance : y, x + m_lineheight, bottomUp ? y : y + ent.advance}
                 : RECT{x, y, x + ent.advance, y + m_lineheight};
    cell = Intersect(cell, clip);
    if (!IsEmpty(cell))
      PIX_FillRect(bitmap, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, m_bg, m_alpha,
                   m_comb & ~PIX_BLIT_USE_SRC_ALPHA);
  }
  if (ent.base_offset <= 0) return false;

  int gx = x - ent.left_extra, gy = y;
  if (vertical) {
    gx = x;
    gy = bottomUp ? y + ent.left_extra - ent.height : y - ent.left_extra;
  }
  if (m_flags & PIX_FONT_FLAG_OUTLINE) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (dx || dy) CompositeMap(bitmap, ent, gx + dx, gy + dy, clip, m_effectcol, w);
  }
  if (m_flags & PIX_FONT_FLAG_SHADOW) {
    const int off = std::max(1, m_lineheight / 16);
    CompositeMap(bitmap, ent, gx + off, gy + off, clip, m_effectcol, w);
  }
  CompositeMap(bitmap, ent, gx, gy, clip, m_fg, w);
  return true;
}

void PIX_CachedFont::CompositeMap(PIX_IBitmap* bitmap, const charEnt& ent, int x0, int y0, const RECT& clip,
                                  PIX_Pixel colour, int w) {
  const int xs = std::max(x0, clip.left), xe = std::min(x0 + ent.width, clip.right);
  const int ys = std::max(y0, clip.top), ye = std::min(y0 + ent.height, clip.bottom);
  if (xs >= xe || ys >= ye) return;
  const uint8_t* map = m_glyphstore.data() + (ent.base_offset - 1);
  PIX_Pixel* bits = bitmap->getBits();
  const int span = bitmap->getRowSpan();
  const int fr = PIX_GetR(colour), fg = PIX_GetG(colour), fb = PIX_GetB(colour);
  const bool full = w == 256;
  const bool copy = (m_comb & PIX_BLIT_MODE_MASK) == PIX_BLIT_MODE_COPY;
  const bool mono = (m_flags & PIX_FONT_FLAG_MONO) != 0;
  PIX_CombineFunc combine = copy ? nullptr : PIX_GetCombineFunc(m_comb, 1);
  if (!copy && !combine) return;
  const PIX_Pixel solid = colour | 0xFF000000u;

  for (int y = ys; y < ye; ++y) {
    const uint8_t* cov = map + size_t(y - y0) * ent.width + (xs - x0);
    PIX_Pixel* d = bits + size_t(y) * span + xs;
    for (int x = xs; x < xe; ++x, ++cov, ++d) {
      const int c = *cov;
      if (c == 0) continue;
      if (!copy) {
        combine(d, fr, fg, fb, 255, full ? c + 1 : w * c / 256);
        continue;
      }
      if (full && mono) {
        *d = solid;
        continue;
      }
      _PIX_CombinePixelsCopyNoClamp(d, fr, fg, fb, 255, full ? c + 1 : std::min(256, w * c / 256));
    }
  }
}
