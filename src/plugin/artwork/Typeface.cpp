// Text into coverage maps through the cached font's glyph path (white on opaque black, so the red
// byte is the coverage), letter by letter when the legend is tracked out.
#include "plugin/artwork/Typeface.h"

#include "gdi/GDI_Font.h"
#include "pix/PIX_CachedFont.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {
// DejaVu's capital and figure height as a fraction of the em.
constexpr double kCapHeight = 0.729;

std::vector<std::string> Letters(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    size_t n = 1;
    const unsigned char c = (unsigned char)s[i];
    if (c >= 0xF0)
      n = 4;
    else if (c >= 0xE0)
      n = 3;
    else if (c >= 0xC0)
      n = 2;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}
int ProbeWidth(PIX_CachedFont* font) {
  RECT r = {0, 0, 0, 0};
  font->DrawText(nullptr, "THRESHOLD 0123", -1, &r, PIX_DT_CALCRECT | PIX_DT_SINGLELINE);
  return r.right - r.left;
}

// The system reports a family by its first name, which a condensed cut shares with the regular
// one ("DejaVu Sans"), so a condensed cut is recognised by being narrower than the regular face.
bool IsCut(const char* face, bool bold, int emPx, PIX_CachedFont* font) {
  const std::string requested = face;
  const std::string family = GDI_GetFontFamily(font->GetHFont());
  const std::string suffix = " Condensed";
  const size_t at = requested.find(suffix);
  if (at == std::string::npos) return family == requested;
  const std::string regular = requested.substr(0, at);
  if (family != regular) return false;
  PIX_CachedFont plain;
  plain.SetFromHFont(GDI_CreateFont(-emPx, 0, 0, 0, bold ? GDI_FW_BOLD : GDI_FW_NORMAL, 0, 0, 0, 0, 0, 0,
                                    GDI_ANTIALIASED_QUALITY, 0, regular.c_str()),
                     PIX_FONT_FLAG_OWNS_HFONT);
  return ProbeWidth(font) * 100 < ProbeWidth(&plain) * 95;
}
}  // namespace

Typeface::Typeface(const char* face, bool bold, double em, double scale)
    : m_font(new PIX_CachedFont), m_scale(scale) {
  const int emPx = (int)std::lround(em * scale);
  HFONT font = GDI_CreateFont(-emPx, 0, 0, 0, bold ? GDI_FW_BOLD : GDI_FW_NORMAL, 0, 0, 0, 0, 0, 0,
                              GDI_ANTIALIASED_QUALITY, 0, face);
  if (!font) return;
  m_family = GDI_GetFontFamily(font);
  GDI_TEXTMETRIC tm;
  if (GDI_GetFontMetrics(font, &tm)) {
    m_ascentPx = tm.tmAscent;
    m_heightPx = tm.tmHeight;
  }
  m_capPx = kCapHeight * emPx;
  m_font->SetFromHFont(font, PIX_FONT_FLAG_OWNS_HFONT);
  m_font->SetTextColor(0xFFFFFFFF);
  m_ok = m_heightPx > 0 && IsCut(face, bold, emPx, m_font.get());
}

Typeface::Typeface(std::unique_ptr<PIX_CachedFont> font, int ascentPx, int heightPx, double em, double scale)
    : m_font(std::move(font)),
      m_scale(scale),
      m_ascentPx(ascentPx),
      m_heightPx(heightPx),
      m_capPx(kCapHeight * (int)std::lround(em * scale)),
      m_ok(m_font && heightPx > 0) {
  if (!m_font) m_font.reset(new PIX_CachedFont);
  m_font->SetTextColor(0xFFFFFFFF);
}

Typeface::~Typeface() = default;

int Typeface::advancePx(const std::string& s, double tracking) const {
  if (tracking == 0) {
    RECT r = {0, 0, 0, 0};
    m_font->DrawText(nullptr, s.c_str(), -1, &r, PIX_DT_CALCRECT | PIX_DT_SINGLELINE);
    return r.right - r.left;
  }
  const std::vector<std::string> letters = Letters(s);
  double x = 0;
  for (size_t i = 0; i < letters.size(); i++) {
    if (i) x += tracking * m_scale;
    RECT r = {0, 0, 0, 0};
    m_font->DrawText(nullptr, letters[i].c_str(), -1, &r, PIX_DT_CALCRECT | PIX_DT_SINGLELINE);
    x += r.right - r.left;
  }
  return (int)std::lround(x);
}

double Typeface::width(const std::string& s, double tracking) const {
  return advancePx(s, tracking) / m_scale;
}

Coverage Typeface::text(const std::string& s, double x, double y, Align align, double tracking) const {
  const int w = advancePx(s, tracking);
  double left = x * m_scale;
  if (align == Align::Centre) left -= w / 2.0;
  if (align == Align::Right) left -= w;
  const int px = (int)std::lround(left);
  const int py = (int)std::lround(y * m_scale - (m_ascentPx - m_capPx / 2));
  // Glyph maps reach a few pixels past the advance on either side.
  const int pad = m_heightPx / 4 + 3;
  PIX_MemBitmap bm(w + 2 * pad, m_heightPx + 2 * pad);
  PIX_Clear(&bm, 0xFF000000);
  const std::vector<std::string> letters = tracking == 0 ? std::vector<std::string>{s} : Letters(s);
  double pen = pad;
  for (const std::string& l : letters) {
    RECT r = {(int)std::lround(pen), pad, bm.getWidth(), pad + m_heightPx};
    m_font->DrawText(&bm, l.c_str(), -1, &r, PIX_DT_SINGLELINE | PIX_DT_NOCLIP);
    RECT m = {0, 0, 0, 0};
    m_font->DrawText(nullptr, l.c_str(), -1, &m, PIX_DT_CALCRECT | PIX_DT_SINGLELINE);
    pen += (m.right - m.left) + tracking * m_scale;
  }
  Coverage out(px - pad, py - pad, bm.getWidth(), bm.getHeight());
  const PIX_Pixel* bits = bm.getBits();
  for (int yy = 0; yy < out.h; yy++)
    for (int xx = 0; xx < out.w; xx++)
      out.a[(size_t)yy * out.w + xx] = (uint8_t)PIX_GetR(bits[(size_t)yy * bm.getRowSpan() + xx]);
  return out;
}
