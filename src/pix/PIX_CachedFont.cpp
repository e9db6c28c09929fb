// PIX_CachedFont: font set-up and the glyph cache (rendering each character once into a coverage
// map through the shared glyph scratch bitmap).
#include "pix/PIX_CachedFont.h"
#include "gdi/GDI_DrawText.h"
#include "gdi/GDI_Font.h"
#include "gdi/GDI_MemContext.h"
#include "gdi/GDI_Utf8.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_FontScratch.h"
#include "pix/PIX_SysBitmap.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kNotRendered = 0;
constexpr int kEmpty = -1;
constexpr int kFailed = -2;  // internal: rendering was refused; the character is skipped
constexpr int kMaxCachedLineHeight = 1023;

// Sums a 3 x 3 neighbourhood with weights 1-2-1 in both directions.
void Blur(std::vector<uint8_t>& map, int w, int h) {
  std::vector<uint8_t> src(map);
  auto at = [&](int x, int y) -> int {
    return x < 0 || y < 0 || x >= w || y >= h ? 0 : src[size_t(y) * w + x];
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int s = at(x - 1, y - 1) + 2 * at(x, y - 1) + at(x + 1, y - 1) + 2 * at(x - 1, y) + 4 * at(x, y) +
                    2 * at(x + 1, y) + at(x - 1, y + 1) + 2 * at(x, y + 1) + at(x + 1, y + 1);
      map[size_t(y) * w + x] = uint8_t(s / 16);
    }
}
}  // namespace

PIX_CachedFont::PIX_CachedFont() {
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  PIX_FontScratch::Retain();
  ClearCache();
}

PIX_CachedFont::~PIX_CachedFont() {
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  if (m_font && (m_flags & PIX_FONT_FLAG_OWNS_HFONT)) GDI_DeleteFont(m_font);
  PIX_FontScratch::Release();
}

void PIX_CachedFont::ClearCache() {
  for (int i = 0; i < 128; ++i) m_ascii[i] = charEnt{kNotRendered, 0, 0, 0, i, 0};
  m_extended.clear();
  m_glyphstore.clear();
}

void PIX_CachedFont::SetFromHFont(HFONT font, int flags) {
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  if (m_font && m_font != font && (m_flags & PIX_FONT_FLAG_OWNS_HFONT)) GDI_DeleteFont(m_font);
  m_flags = flags;
  m_font = font;
  m_lineheight = 0;
  if (font) {
    if (PIX_SysBitmap* scratch = PIX_FontScratch::Glyph(256, 256)) {
      HDC dc = static_cast<HDC>(scratch->getDC());
      HFONT old = GDI_SelectFont(dc, font);
      GDI_TEXTMETRIC tm;
      if (GDI_GetTextMetrics(dc, &tm)) m_lineheight = tm.tmHeight;
      GDI_SelectFont(dc, old);
    }
  }
  ClearCache();
  if (font && (flags & PIX_FONT_FLAG_PRECALC_ASCII))
    for (int c = 0; c < 128; ++c) RenderGlyph(&m_ascii[c]);
}

void PIX_CachedFont::SetFromGlyphMaps(int lineHeight, const GlyphMap* glyphs, int count) {
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  if (m_font && (m_flags & PIX_FONT_FLAG_OWNS_HFONT)) GDI_DeleteFont(m_font);
  m_font = nullptr;
  m_flags = 0;
  m_lineheight = std::max(lineHeight, 0);
  ClearCache();
  for (int i = 0; i < count; ++i) {
    const GlyphMap& g = glyphs[i];
    if (g.ent.charid < 0) continue;
    charEnt ent = g.ent;
    const bool visible = ent.width > 0 && ent.height > 0 && g.coverage && g.stride >= ent.width;
    ent.base_offset = visible ? int(m_glyphstore.size()) + 1 : kEmpty;
    if (!visible) ent.width = ent.height = 0;
    for (int y = 0; visible && y < ent.height; ++y) {
      const uint8_t* row = g.coverage + size_t(y) * size_t(g.stride);
      m_glyphstore.insert(m_glyphstore.end(), row, row + ent.width);
    }
    if (ent.charid < 128) {
      m_ascii[ent.charid] = ent;
      continue;
    }
    auto it = std::lower_bound(m_extended.begin(), m_extended.end(), ent.charid,
                               [](const charEnt& e, int v) { return e.charid < v; });
    if (it != m_extended.end() && it->charid == ent.charid)
      *it = ent;
    else
      m_extended.insert(it, ent);
  }
}

const uint8_t* PIX_CachedFont::GlyphCoverage(const charEnt& ent) const {
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  if (ent.base_offset <= 0 ||
      size_t(ent.base_offset - 1) + size_t(ent.width) * size_t(ent.height) > m_glyphstore.size())
    return nullptr;
  return m_glyphstore.data() + (ent.base_offset - 1);
}

int PIX_CachedFont::GlyphPadding() const { return m_lineheight >= 16 ? m_lineheight / 16 + 2 : 2; }

int PIX_CachedFont::CachedGlyphCount() const {
  int n = 0;
  for (const charEnt& e : m_ascii)
    if (e.base_offset != kNotRendered) ++n;
  return n + int(m_extended.size());
}

PIX_CachedFont::charEnt* PIX_CachedFont::Lookup(uint32_t c) {
  const bool onDemand = !(m_flags & PIX_FONT_FLAG_PRECALC_ASCII);
  charEnt* ent;
  if (c < 128) {
    ent = &m_ascii[c];
    if (ent->base_offset == kNotRendered && onDemand && !RenderGlyph(ent)) ent->base_offset = kFailed;
  } else {
    auto it = std::lower_bound(m_extended.begin(), m_extended.end(), c,
                               [](const charEnt& e, uint32_t v) { return uint32_t(e.charid) < v; });
    if (it == m_extended.end() || uint32_t(it->charid) != c) {
      if (!onDemand) return nullptr;
      charEnt fresh{kNotRendered, 0, 0, 0, int(c), 0};
      if (!RenderGlyph(&fresh)) fresh.base_offset = kFailed;
      it = m_extended.insert(it, fresh);
    }
    ent = &*it;
  }
  return ent->base_offset == kNotRendered || ent->base_offset == kFailed ? nullptr : ent;
}

const PIX_CachedFont::charEnt* PIX_CachedFont::FindGlyph(uint32_t c) {
  std::lock_guard<std::recursive_mutex> lock(PIX_FontScratch::Mutex());
  return Lookup(c);
}

bool PIX_CachedFont::RenderGlyph(charEnt* ent) {
  if (!m_font || m_lineheight > kMaxCachedLineHeight) return false;
  const int lh = std::max(m_lineheight, 1);
  const int side = 2 * lh + 8;
  PIX_SysBitmap* scratch = PIX_FontScratch::Glyph(side, side);
  if (!scratch) return false;
  HDC dc = static_cast<HDC>(scratch->getDC());

  char utf8[4];
  const int n = GDI_Utf8Encode(uint32_t(ent->charid), utf8);
  HFONT old = GDI_SelectFont(dc, m_font);
  RECT box = {0, 0, 0, 0};
  GDI_DrawText(dc, utf8, n, &box, GDI_DT_CALCRECT | GDI_DT_NOPREFIX | GDI_DT_SINGLELINE);
  GDI_SelectFont(dc, old);
  const int advance = box.right - box.left, height = box.bottom - box.top;
  ent->advance = advance;
  ent->width = ent->height = 0;
  ent->left_extra = 0;
  if (advance <= 0 || height <= 0) {
    ent->base_offset = kEmpty;
    return true;
  }

  const int pad = GlyphPadding();
  const int bw = advance + 2 * pad, bh = height;
  scratch = PIX_FontScratch::Glyph(std::max(bw, side), std::max(bh, side));
  if (!scratch) return false;
  dc = static_cast<HDC>(scratch->getDC());
  PIX_FillRect(scratch, 0, 0, bw, bh, 0xFF000000, 1.0f, 0);
  old = GDI_SelectFont(dc, m_font);
  RECT where = {pad, 0, pad + advance, height};
  GDI_DrawText(dc, utf8, n, &where, GDI_DT_NOPREFIX | GDI_DT_NOCLIP | GDI_DT_SINGLELINE);
  GDI_SelectFont(dc, old);

  std::vector<uint8_t> map(size_t(bw) * size_t(bh));
  const PIX_Pixel* bits = scratch->getBits();
  const int span = scratch->getRowSpan();
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) map[size_t(y) * bw + x] = uint8_t(PIX_GetR(bits[size_t(y) * span + x]));
  if (m_flags & PIX_FONT_FLAG_BLUR) Blur(map, bw, bh);
  if (m_flags & PIX_FONT_FLAG_INVERT)
    for (uint8_t& c : map) c = uint8_t(255 - c);

  auto columnEmpty = [&](int x) {
    for (int y = 0; y < bh; ++y)
      if (map[size_t(y) * bw + x]) return false;
    return true;
  };
  int x0 = 0, x1 = bw;
  while (x0 < x1 && columnEmpty(x0)) ++x0;
  while (x1 > x0 && columnEmpty(x1 - 1)) --x1;
  if (x0 == x1) {
    ent->base_offset = kEmpty;
    return true;
  }
  const int tw = x1 - x0;
  ent->left_extra = pad - x0;

  // Trimmed map, turned for vertical fonts: clockwise for top-down, counter-clockwise for bottom-up.
  std::vector<uint8_t> out(size_t(tw) * size_t(bh));
  const bool vertical = (m_flags & PIX_FONT_FLAG_VERTICAL) != 0;
  const bool bottomUp = vertical && (m_flags & PIX_FONT_FLAG_VERTICAL_BOTUP);
  const int ow = vertical ? bh : tw, oh = vertical ? tw : bh;
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < tw; ++x) {
      const uint8_t c = map[size_t(y) * bw + x0 + x];
      int ox = x, oy = y;
      if (bottomUp) {
        ox = y;
        oy = tw - 1 - x;
      } else if (vertical) {
        ox = bh - 1 - y;
        oy = x;
      }
      out[size_t(oy) * ow + ox] = c;
    }
  if (m_flags & PIX_FONT_FLAG_MONO)
    for (uint8_t& c : out) c = c > 130 ? 255 : 0;

  ent->width = ow;
  ent->height = oh;
  ent->base_offset = int(m_glyphstore.size()) + 1;
  m_glyphstore.insert(m_glyphstore.end(), out.begin(), out.end());
  return true;
}
