// IGraphics: drawing and measuring text through fonts from the process-wide font cache.
#include "graphics/IGraphics.h"

#include "gdi/GDI_Font.h"
#include "graphics/FontStorage.h"
#include "pix/PIX_CachedFont.h"

#include <cmath>

namespace {
// The cached font owns the system font and draws through it natively.
constexpr int kFontFlags = PIX_FONT_FLAG_OWNS_HFONT | PIX_FONT_FLAG_PREFER_NATIVE;

int QualityFor(IText::EQuality quality) {
  switch (quality) {
    case IText::kQualityDefault:
      return GDI_DEFAULT_QUALITY;
    case IText::kQualityAntiAliased:
    case IText::kQualityClearType:
      return GDI_ANTIALIASED_QUALITY;
    default:
      return GDI_NONANTIALIASED_QUALITY;
  }
}

HFONT RequestFont(const IText* txt, int size) {
  const int tenths = txt->mOrientation * 10;
  return GDI_CreateFont(
      size < 2 ? 2 : size, 0, tenths, tenths, txt->mStyle == IText::kStyleBold ? GDI_FW_BOLD : GDI_FW_NORMAL,
      txt->mStyle == IText::kStyleItalic, 0, 0, 0, 0, 0, QualityFor(txt->mQuality), 0, txt->mFont);
}
}  // namespace

bool IGraphics::MeasureIText(IText* txt, const char* str, IRECT* destRect) {
  return DrawIText(txt, str, destRect, true);
}

bool IGraphics::DrawIText(IText* txt, const char* str, IRECT* rect, bool measure) {
  if (!str || !*str) return true;
  if (!txt || !rect) return false;
  PIX_IBitmap* back = BackBuffer();
  if (!back && !measure) return false;
  const double s = GetDrawScale();
  if (s == 1.0) return DrawTextPixels(txt, str, rect, measure, back);
  // Text is set at the pixel size, not stretched; measurements come back in layout units.
  IText scaled = *txt;
  scaled.mSize = ScaledLength(txt->mSize, s);
  scaled.mCached = nullptr;
  IRECT px = ToPixels(*rect);
  if (!DrawTextPixels(&scaled, str, &px, measure, back)) return false;
  if (measure) {
    rect->L = static_cast<int>(std::floor(px.L / s));
    rect->T = static_cast<int>(std::floor(px.T / s));
    rect->R = static_cast<int>(std::ceil(px.R / s));
    rect->B = static_cast<int>(std::ceil(px.B / s));
  }
  return true;
}

bool IGraphics::DrawTextPixels(IText* txt, const char* str, IRECT* rect, bool measure, PIX_IBitmap* back) {
  PIX_IFont* font = txt->mCached ? txt->mCached : CacheFont(txt);
  if (!font) return false;

  font->SetTextColor(txt->mColor.ToPixel());
  unsigned flags = PIX_DT_NOCLIP;
  if (txt->mAlign == IText::kAlignCenter)
    flags |= PIX_DT_CENTER;
  else if (txt->mAlign == IText::kAlignFar)
    flags |= PIX_DT_RIGHT;
  if (txt->mColor.A < 255) flags |= PIX_DT_USEFGALPHA;

  if (!measure) {
    RECT r{rect->L, rect->T, rect->R, rect->B};
    font->DrawText(back, str, -1, &r, flags);
    return true;
  }

  RECT r{0, 0, 0, 0};
  font->DrawText(back, str, -1, &r, flags | PIX_DT_CALCRECT);
  const int w = r.right - r.left, h = r.bottom - r.top;
  switch (txt->mAlign) {
    case IText::kAlignNear:
      rect->R = rect->L + w;
      break;
    case IText::kAlignCenter:
      rect->L = static_cast<int>((rect->L + rect->R) * 0.5) - w / 2;
      rect->R = rect->L + w;
      break;
    case IText::kAlignFar:
      rect->L = rect->R - w;
      break;
  }
  rect->B = rect->T + h;
  return true;
}

PIX_IFont* IGraphics::CacheFont(IText* txt) {
  FontStorage& cache = FontStorage::Shared();
  // Held from lookup to insertion so two editors asking at once make one font.
  RecursiveMutexLock lock(cache.Mutex());
  PIX_IFont* found = cache.Find(txt);
  if (found) {
    txt->mCached = found;
    return found;
  }

  auto* font = new PIX_CachedFont();
  HFONT hfont = RequestFont(txt, txt->mSize);
  if (!hfont) {
    delete font;
    return nullptr;
  }
  font->SetFromHFont(hfont, kFontFlags);

  // A face whose line height differs from the request is asked again once, scaled to match.
  const int height = txt->mSize < 2 ? 2 : txt->mSize;
  const int lineHeight = font->GetLineHeight();
  if (lineHeight > 0 && lineHeight != height) {
    const double squared = txt->mSize < 2 ? 4.0 : static_cast<double>(txt->mSize) * txt->mSize;
    const double corrected = squared / lineHeight + 0.5;
    hfont = corrected < 1e6 ? RequestFont(txt, static_cast<int>(corrected)) : nullptr;
    if (!hfont) {
      delete font;
      return nullptr;
    }
    font->SetFromHFont(hfont, kFontFlags);
  }

  cache.Add(font, txt);
  txt->mCached = font;
  return font;
}
