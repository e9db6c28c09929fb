// Font rasteriser for Windows: the system's GDI finds the face and renders each glyph's outline
// (GetGlyphOutlineW) into a grey map of its own, so text needs no library beyond the system.
#if defined(_WIN32)

#include "base/WideText.h"
#include "gdi/GDI_FontBackend.h"
#include "gdi/GDI_FontSubst.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
// GGO_GRAY8_BITMAP's coverage runs 0..64.
constexpr int kGray8Levels = 64;
// Larger glyph maps are refused, as with the other rasterisers.
constexpr unsigned kMaxGlyphSide = 8192;

// Faces of each generic family, most common on Windows first; the free ones close the lists for
// systems that carry those instead (wine takes the machine's fonts).
const char* const kMonospaceFaces[] = {"Consolas",         "Courier New",     "Lucida Console",
                                       "DejaVu Sans Mono", "Liberation Mono", nullptr};
const char* const kSerifFaces[] = {"Times New Roman", "Georgia",          "Cambria",
                                   "DejaVu Serif",    "Liberation Serif", nullptr};
const char* const kSansFaces[] = {"Arial", "Segoe UI", "Tahoma", "DejaVu Sans", "Liberation Sans", nullptr};

const char* const* GenericFaces(const char* generic) {
  if (std::string(generic) == "monospace") return kMonospaceFaces;
  if (std::string(generic) == "serif") return kSerifFaces;
  return kSansFaces;
}

FIXED ToFixed(double v) {
  const long l = std::lround(v * 65536.0);
  FIXED f;
  f.value = short(l >> 16);
  f.fract = WORD(l & 0xFFFF);
  return f;
}

int RoundPx(double v) { return static_cast<int>(std::lround(v)); }

class GdiBackend final : public GDI_FontBackend {
 public:
  ~GdiBackend() override {
    if (mDC) {
      if (mOld) SelectObject(mDC, mOld);
      DeleteDC(mDC);
    }
    if (mFont) DeleteObject(mFont);
  }

  bool Open(const GDI_FontRequest& req) {
    mDC = CreateCompatibleDC(nullptr);
    if (!mDC) return false;
    const char* face = req.face.empty() ? "Arial" : req.face.c_str();
    // GDI answers an unknown name with some default face; keep the request's character instead,
    // with the first face of its generic family that is installed.
    if (!Select(req, face)) {
      const char* const* generic = GenericFaces(GDI_GenericFamilyFor(face));
      bool found = false;
      for (int i = 0; generic[i] && !found; ++i) found = Select(req, generic[i]);
      if (!found && !mFont) return false;
    }
    TEXTMETRICW tm;
    if (!GetTextMetricsW(mDC, &tm) || tm.tmHeight <= 0) return false;
    // The request's height is kept exactly, as on the other systems: GDI rounds the cell and the
    // em of its own accord.
    if (req.height > 0) {
      mMetrics.ascent = RoundPx((double)tm.tmAscent * req.height / tm.tmHeight);
      mMetrics.descent = req.height - mMetrics.ascent;
      mMetrics.emSize = RoundPx((double)(tm.tmHeight - tm.tmInternalLeading) * req.height / tm.tmHeight);
    } else {
      mMetrics.ascent = tm.tmAscent;
      mMetrics.descent = tm.tmDescent;
      mMetrics.emSize = -req.height;
    }
    mMetrics.avgCharWidth = std::max<int>(1, tm.tmAveCharWidth);
    mMetrics.maxCharWidth = std::max<int>(1, tm.tmMaxCharWidth);
    mMetrics.underlinePos = std::max(1, RoundPx(mMetrics.emSize * 0.1));
    mMetrics.lineThickness = std::max(1, RoundPx(mMetrics.emSize / 16.0));
    const UINT otmSize = GetOutlineTextMetricsW(mDC, 0, nullptr);
    if (otmSize >= sizeof(OUTLINETEXTMETRICW)) {
      std::vector<char> buf(otmSize);
      OUTLINETEXTMETRICW* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buf.data());
      if (GetOutlineTextMetricsW(mDC, otmSize, otm)) {
        mMetrics.underlinePos = std::max(1, -otm->otmsUnderscorePosition);
        mMetrics.lineThickness = std::max(1, (int)otm->otmsUnderscoreSize);
      }
    }
    mAntiAlias = req.antiAlias;
    const double a = req.escapement * kPi / 1800.0;
    // Counter-clockwise in GDI's y-up glyph space.
    mMatrix.eM11 = ToFixed(std::cos(a));
    mMatrix.eM12 = ToFixed(std::sin(a));
    mMatrix.eM21 = ToFixed(-std::sin(a));
    mMatrix.eM22 = ToFixed(std::cos(a));
    return true;
  }

  const GDI_FontMetrics& Metrics() const override { return mMetrics; }
  const std::string& Family() const override { return mFamily; }

  bool RenderGlyph(uint32_t cp, GDI_Glyph* out) override {
    // Characters beyond the BMP and those the face lacks show its placeholder glyph (index 0).
    WORD index = 0;
    if (cp < 0x10000) {
      const wchar_t ch = wchar_t(cp);
      if (GetGlyphIndicesW(mDC, &ch, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR || index == 0xFFFF)
        index = 0;
    }
    // Unhinted outlines keep widths in proportion to the size, as the other systems' glyphs do.
    const UINT format = (mAntiAlias ? GGO_GRAY8_BITMAP : GGO_BITMAP) | GGO_GLYPH_INDEX | GGO_UNHINTED;
    GLYPHMETRICS gm;
    const DWORD size = GetGlyphOutlineW(mDC, index, format, &gm, 0, nullptr, &mMatrix);
    if (size == GDI_ERROR) return false;
    out->advanceX = static_cast<int32_t>(gm.gmCellIncX) * 64;
    out->advanceY = -static_cast<int32_t>(gm.gmCellIncY) * 64;
    out->coverage.clear();
    out->width = out->height = 0;
    // A blank glyph (a space) has no map; GDI still reports a 1 x 1 box for it.
    if (size == 0) return true;
    const unsigned w = gm.gmBlackBoxX, h = gm.gmBlackBoxY;
    if (w == 0 || h == 0 || w > kMaxGlyphSide || h > kMaxGlyphSide) return false;
    std::vector<BYTE> raw(size);
    if (GetGlyphOutlineW(mDC, index, format, &gm, size, raw.data(), &mMatrix) == GDI_ERROR) return false;
    // Rows are padded to four bytes: one byte per pixel in grey, one bit per pixel otherwise.
    const size_t pitch = mAntiAlias ? (w + 3u) & ~3u : ((w + 31u) / 32u) * 4u;
    if (pitch * h > raw.size()) return false;
    out->width = int(w);
    out->height = int(h);
    out->left = gm.gmptGlyphOrigin.x;
    out->top = -gm.gmptGlyphOrigin.y;
    out->coverage.assign(size_t(w) * h, 0);
    for (unsigned y = 0; y < h; ++y) {
      const BYTE* row = raw.data() + y * pitch;
      uint8_t* dst = out->coverage.data() + size_t(y) * w;
      for (unsigned x = 0; x < w; ++x) {
        if (mAntiAlias)
          dst[x] = uint8_t(std::min<int>(row[x], kGray8Levels) * 255 / kGray8Levels);
        else
          dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      }
    }
    return true;
  }

 private:
  // Creates the font for the request under that face name and selects it; mFamily is the face
  // GDI actually chose. False when that is another face than the one named.
  bool Select(const GDI_FontRequest& req, const char* face) {
    LOGFONTW lf = {};
    lf.lfHeight = req.height;
    lf.lfWeight = req.weight;
    lf.lfItalic = req.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lf.lfQuality = req.antiAlias ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, Utf8ToWide(face).c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font) return false;
    HGDIOBJ old = SelectObject(mDC, font);
    if (!mOld) mOld = old;
    if (mFont) DeleteObject(mFont);
    mFont = font;
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(mDC, LF_FACESIZE, chosen);
    mFamily = WideToUtf8(chosen);
    return GDI_SameFaceName(mFamily.c_str(), face);
  }

  HDC mDC = nullptr;
  HFONT mFont = nullptr;
  HGDIOBJ mOld = nullptr;
  MAT2 mMatrix = {};
  std::string mFamily;
  GDI_FontMetrics mMetrics;
  bool mAntiAlias = true;
};
}  // namespace

std::unique_ptr<GDI_FontBackend> GDI_OpenFontBackend(const GDI_FontRequest& req) {
  std::unique_ptr<GdiBackend> b(new GdiBackend);
  if (!b->Open(req)) return nullptr;
  return b;
}

#endif
