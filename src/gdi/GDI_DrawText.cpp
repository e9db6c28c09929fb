// Text layout (lines, alignment, rotation) and compositing of cached glyph coverage into a
// context's frame buffer. Platform-neutral: the rasteriser only supplies glyph maps.
#include "gdi/GDI_DrawText.h"
#include "gdi/GDI_ContextImpl.h"
#include "gdi/GDI_FontImpl.h"
#include "gdi/GDI_Utf8.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
struct Placed {
  const GDI_Glyph* glyph;
  double u;  // pen offset along the baseline from the line start, pixels
  double advance;
  bool underline;
};

struct Line {
  size_t first = 0, count = 0;
  double width = 0;
};

struct Layout {
  std::vector<Placed> glyphs;
  std::vector<Line> lines;
  double width = 0;
};

void BuildLayout(GDI_Font* font, const char* text, int len, unsigned flags, Layout* out) {
  const bool prefix = !(flags & GDI_DT_NOPREFIX);
  const bool single = (flags & GDI_DT_SINGLELINE) != 0;
  Line line;
  bool underlineNext = false;
  bool pendingLine = false;
  int i = 0;
  while (i < len) {
    uint32_t cp;
    i += GDI_Utf8Decode(text + i, len - i, &cp);
    if (prefix && cp == '&' && !underlineNext) {
      if (i < len && text[i] == '&')
        ++i;
      else {
        underlineNext = true;
        continue;
      }
    }
    if (cp == '\r') continue;
    if (cp == '\n') {
      if (!single) {
        out->lines.push_back(line);
        line = Line();
        line.first = out->glyphs.size();
        pendingLine = false;
        underlineNext = false;
        continue;
      }
      cp = ' ';
    }
    const bool ul = underlineNext;
    underlineNext = false;
    if (cp < 0x20 || cp == 0x7F) continue;
    const GDI_Glyph* g = font->Glyph(cp);
    if (!g) continue;
    const double adv = std::hypot(double(g->advanceX), double(g->advanceY)) / 64.0;
    out->glyphs.push_back({g, line.width, adv, ul});
    line.width += adv;
    ++line.count;
    pendingLine = true;
  }
  // A text ending in a line feed has no extra empty line.
  if (pendingLine || out->lines.empty()) out->lines.push_back(line);
  if (out->lines.size() == 1 && out->lines[0].count == 0) out->lines.clear();
  for (const Line& l : out->lines) out->width = std::max(out->width, l.width);
}

void FillRect(GDI_Context* ctx, const RECT& area, const RECT& clip, uint32_t colour) {
  const RECT r = GDI_IntersectRect(area, clip);
  const uint32_t px = 0xFF000000u | (colour & 0xFFFFFF);
  for (int y = r.top; y < r.bottom; ++y)
    std::fill(ctx->pixels + size_t(y) * ctx->width + r.left, ctx->pixels + size_t(y) * ctx->width + r.right,
              px);
}

inline uint32_t Mix(uint32_t d, uint32_t f, unsigned c) { return (d * (255 - c) + f * c + 127) / 255; }

void Composite(GDI_Context* ctx, const GDI_Glyph& g, int x0, int y0, const RECT& clip, uint32_t colour) {
  const int xs = std::max(x0, clip.left), xe = std::min(x0 + g.width, clip.right);
  const int ys = std::max(y0, clip.top), ye = std::min(y0 + g.height, clip.bottom);
  if (xs >= xe || ys >= ye) return;
  const uint32_t fr = (colour >> 16) & 0xFF, fg = (colour >> 8) & 0xFF, fb = colour & 0xFF;
  const uint32_t solid = 0xFF000000u | (colour & 0xFFFFFF);
  for (int y = ys; y < ye; ++y) {
    const uint8_t* cov = g.coverage.data() + size_t(y - y0) * g.width + (xs - x0);
    uint32_t* d = ctx->pixels + size_t(y) * ctx->width + xs;
    for (int x = xs; x < xe; ++x, ++cov, ++d) {
      const unsigned c = *cov;
      if (c == 0) continue;
      if (c == 255) {
        *d = solid;
        continue;
      }
      const uint32_t p = *d;
      *d = (Mix(p >> 24, 255, c) << 24) | (Mix((p >> 16) & 0xFF, fr, c) << 16) |
           (Mix((p >> 8) & 0xFF, fg, c) << 8) | Mix(p & 0xFF, fb, c);
    }
  }
}
}  // namespace

namespace {
int SaturateInt(long long v) { return v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : int(v)); }
}  // namespace

int GDI_DrawText(HDC ctx, const char* text, int length, RECT* rect, unsigned flags) {
  if (!ctx || !rect) return 0;
  GDI_Font* font = ctx->font ? ctx->font : GDI_DefaultFont();
  if (!font || !text) return 0;
  int len = length < 0 ? int(std::strlen(text)) : length;
  if (const void* nul = std::memchr(text, 0, size_t(len))) len = int(static_cast<const char*>(nul) - text);

  std::lock_guard<std::recursive_mutex> lock(font->mutex);
  font->TrimCache();
  const GDI_FontMetrics& m = font->backend->Metrics();
  const int lineHeight = m.ascent + m.descent;

  Layout lay;
  BuildLayout(font, text, len, flags, &lay);
  const double textW = std::ceil(lay.width - 1e-6), textH = double(lay.lines.size()) * lineHeight;

  // Text space: u along the baseline, v down across lines; the screen maps (u, v) to
  // (u cos + v sin, -u sin + v cos) for the font's counter-clockwise escapement.
  const int esc = font->request.escapement;
  const double angle = esc * 3.14159265358979323846 / 1800.0;
  const double cs = esc ? std::cos(angle) : 1.0, sn = esc ? std::sin(angle) : 0.0;
  double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
  const double corners[4][2] = {{0, 0}, {textW, 0}, {0, textH}, {textW, textH}};
  for (const auto& c : corners) {
    const double x = c[0] * cs + c[1] * sn, y = -c[0] * sn + c[1] * cs;
    bx0 = std::min(bx0, x);
    by0 = std::min(by0, y);
    bx1 = std::max(bx1, x);
    by1 = std::max(by1, y);
  }
  const int boxW = int(std::lround(bx1 - bx0)), boxH = int(std::lround(by1 - by0));

  // Rectangles may lie anywhere in int range: positions are worked out in 64 bits and held there.
  if (flags & GDI_DT_CALCRECT) {
    rect->right = SaturateInt((long long)rect->left + boxW);
    rect->bottom = SaturateInt((long long)rect->top + boxH);
    return boxH;
  }
  if (lay.lines.empty()) return 0;

  long long xl = rect->left, yl = rect->top;
  if (flags & GDI_DT_CENTER)
    xl += ((long long)rect->right - rect->left - boxW) / 2;
  else if (flags & GDI_DT_RIGHT)
    xl = (long long)rect->right - boxW;
  if (flags & GDI_DT_VCENTER)
    yl += ((long long)rect->bottom - rect->top - boxH) / 2;
  else if (flags & GDI_DT_BOTTOM)
    yl = (long long)rect->bottom - boxH;
  const int x = SaturateInt(xl), y = SaturateInt(yl);

  RECT clip = ctx->DrawableRect();
  if (!(flags & GDI_DT_NOCLIP)) clip = GDI_IntersectRect(clip, *rect);
  if (clip.left >= clip.right || clip.top >= clip.bottom) return boxH;
  // Text wholly outside the clip draws nothing; what remains sits near the context, so the int
  // pixel arithmetic below cannot overflow. The margin covers underlines below the box.
  const long long margin = 2LL * lineHeight + 2;
  if (xl + boxW + margin <= clip.left || xl - margin >= clip.right || yl + boxH + margin <= clip.top ||
      yl - margin >= clip.bottom)
    return boxH;

  const double ox = x - bx0, oy = y - by0;
  const bool upright = esc == 0;
  auto lineStart = [&](const Line& l) {
    if (flags & GDI_DT_CENTER) return std::floor((textW - l.width) / 2);
    if (flags & GDI_DT_RIGHT) return textW - l.width;
    return 0.0;
  };

  if (ctx->bkMode == GDI_OPAQUE) {
    if (upright) {
      for (size_t i = 0; i < lay.lines.size(); ++i) {
        const int lx = x + int(lineStart(lay.lines[i]));
        const int ly = y + int(i) * lineHeight;
        FillRect(ctx, {lx, ly, lx + int(std::ceil(lay.lines[i].width)), ly + lineHeight}, clip, ctx->bkColor);
      }
    } else
      FillRect(ctx, {x, y, x + boxW, y + boxH}, clip, ctx->bkColor);
  }

  const bool underline = font->request.underline, strike = font->request.strikeOut;
  for (size_t i = 0; i < lay.lines.size(); ++i) {
    const Line& l = lay.lines[i];
    const double u0 = lineStart(l), v = double(i) * lineHeight + m.ascent;
    for (size_t k = l.first; k < l.first + l.count; ++k) {
      const Placed& p = lay.glyphs[k];
      const double u = u0 + p.u;
      const int px = int(std::floor(ox + u * cs + v * sn + 0.5)),
                py = int(std::floor(oy - u * sn + v * cs + 0.5));
      Composite(ctx, *p.glyph, px + p.glyph->left, py + p.glyph->top, clip, ctx->textColor);
      if (p.underline && upright)
        FillRect(
            ctx,
            {px, py + m.underlinePos, px + int(std::ceil(p.advance)), py + m.underlinePos + m.lineThickness},
            clip, ctx->textColor);
    }
    if ((underline || strike) && upright && l.count) {
      const int lx = x + int(u0), base = y + int(i) * lineHeight + m.ascent;
      const int right = lx + int(std::ceil(l.width));
      if (underline)
        FillRect(ctx, {lx, base + m.underlinePos, right, base + m.underlinePos + m.lineThickness}, clip,
                 ctx->textColor);
      if (strike) {
        const int sy = base - std::max(1, m.emSize / 4);
        FillRect(ctx, {lx, sy, right, sy + m.lineThickness}, clip, ctx->textColor);
      }
    }
  }
  return boxH;
}
