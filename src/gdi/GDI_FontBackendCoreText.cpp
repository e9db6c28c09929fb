// Font rasteriser for macOS: CoreText finds and renders the face, CoreGraphics provides the
// grey-scale scratch context each glyph is drawn into.
#if defined(__APPLE__)

#include "gdi/GDI_FontImpl.h"
#include "gdi/GDI_FontSubst.h"

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <CoreText/CoreText.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr double kPi = 3.14159265358979323846;
// Skew of synthesised italics, as a slope.
constexpr double kObliqueSlope = 0.2;

std::string ToStdString(CFStringRef s) {
  if (!s) return std::string();
  const CFIndex n = CFStringGetMaximumSizeForEncoding(CFStringGetLength(s), kCFStringEncodingUTF8) + 1;
  std::vector<char> buf(size_t(n), 0);
  if (!CFStringGetCString(s, buf.data(), n, kCFStringEncodingUTF8)) return std::string();
  return std::string(buf.data());
}

CTFontRef CreateNamed(const char* name, double size) {
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingUTF8);
  if (!s) return nullptr;
  CTFontRef f = CTFontCreateWithName(s, size, nullptr);
  CFRelease(s);
  return f;
}

const char* GenericFace(const char* generic) {
  if (std::string(generic) == "monospace") return "Menlo";
  if (std::string(generic) == "serif") return "Times";
  return "Helvetica";
}

int RoundPx(double v) { return static_cast<int>(std::lround(v)); }

class CoreTextBackend final : public GDI_FontBackend {
 public:
  ~CoreTextBackend() override {
    if (mFont) CFRelease(mFont);
    if (mGrey) CGColorSpaceRelease(mGrey);
  }

  bool Open(const GDI_FontRequest& req) {
    const char* face = req.face.empty() ? "Helvetica" : req.face.c_str();
    CTFontRef base = CreateNamed(face, 12.0);
    // CoreText answers an unknown name with a default face; keep the request's character instead.
    if (base) {
      CFStringRef fam = CTFontCopyFamilyName(base);
      const bool same = GDI_SameFaceName(ToStdString(fam).c_str(), face);
      if (fam) CFRelease(fam);
      if (!same) {
        CFRelease(base);
        base = nullptr;
      }
    }
    if (!base) base = CreateNamed(GenericFace(GDI_GenericFamilyFor(face)), 12.0);
    if (!base) return false;

    const bool bold = req.weight >= 600;
    const CTFontSymbolicTraits boldBit = CTFontSymbolicTraits(kCTFontBoldTrait);
    const CTFontSymbolicTraits italicBit = CTFontSymbolicTraits(kCTFontItalicTrait);
    const CTFontSymbolicTraits want = (bold ? boldBit : 0u) | (req.italic ? italicBit : 0u);
    CTFontRef styled =
        want ? CTFontCreateCopyWithSymbolicTraits(base, 0.0, nullptr, want, boldBit | italicBit) : nullptr;
    CTFontRef chosen = styled ? styled : base;
    const CTFontSymbolicTraits have = CTFontGetSymbolicTraits(chosen);
    mEmbolden = bold && !(have & boldBit);
    mOblique = req.italic && !(have & italicBit);

    const double asc12 = CTFontGetAscent(chosen), desc12 = CTFontGetDescent(chosen);
    const double cell12 = asc12 + desc12 > 0 ? asc12 + desc12 : 12.0;
    double em;
    if (req.height > 0) {
      em = req.height * 12.0 / cell12;
      mMetrics.ascent = RoundPx(asc12 * req.height / cell12);
      mMetrics.descent = req.height - mMetrics.ascent;
    } else {
      em = -req.height;
      mMetrics.ascent = static_cast<int>(std::ceil(asc12 * em / 12.0));
      mMetrics.descent = static_cast<int>(std::ceil(desc12 * em / 12.0));
    }
    mFont = CTFontCreateCopyWithAttributes(chosen, em, nullptr, nullptr);
    if (styled) CFRelease(styled);
    CFRelease(base);
    if (!mFont) return false;

    CFStringRef fam = CTFontCopyFamilyName(mFont);
    mFamily = ToStdString(fam);
    if (fam) CFRelease(fam);
    mMetrics.emSize = RoundPx(em);
    mMetrics.underlinePos = std::max(1, RoundPx(-CTFontGetUnderlinePosition(mFont)));
    mMetrics.lineThickness = std::max(1, RoundPx(CTFontGetUnderlineThickness(mFont)));
    const CGRect box = CTFontGetBoundingBox(mFont);
    mMetrics.maxCharWidth = std::max(1, RoundPx(box.size.width));
    mMetrics.avgCharWidth = std::max(1, RoundPx(AdvanceOf('x')));
    mAntiAlias = req.antiAlias;
    mAngle = req.escapement * kPi / 1800.0;
    mGrey = CGColorSpaceCreateDeviceGray();
    return mGrey != nullptr;
  }

  const GDI_FontMetrics& Metrics() const override { return mMetrics; }
  const std::string& Family() const override { return mFamily; }

  bool RenderGlyph(uint32_t cp, GDI_Glyph* out) override {
    CGGlyph glyph = 0;
    if (!GlyphFor(cp, &glyph)) glyph = 0;  // the face's placeholder glyph
    CGSize adv = CGSizeMake(0, 0);
    CTFontGetAdvancesForGlyphs(mFont, kCTFontOrientationHorizontal, &glyph, &adv, 1);
    const double advance = std::round(adv.width);
    const double cs = std::cos(mAngle), sn = std::sin(mAngle);
    out->advanceX = static_cast<int32_t>(std::lround(advance * cs * 64.0));
    out->advanceY = static_cast<int32_t>(std::lround(-advance * sn * 64.0));

    // Glyph bounds in y-up space after skew and rotation, padded for emboldening and coverage.
    CGRect bb = CTFontGetBoundingRectsForGlyphs(mFont, kCTFontOrientationHorizontal, &glyph, nullptr, 1);
    if (CGRectIsEmpty(bb) || CGRectIsNull(bb)) {
      out->width = out->height = 0;
      out->coverage.clear();
      return true;
    }
    const CGAffineTransform xf = GlyphTransform();
    const CGRect turned = CGRectApplyAffineTransform(bb, xf);
    const double pad = mEmbolden ? 2.0 : 1.0;
    const int x0 = static_cast<int>(std::floor(CGRectGetMinX(turned) - pad));
    const int y0 = static_cast<int>(std::floor(CGRectGetMinY(turned) - pad));
    const int x1 = static_cast<int>(std::ceil(CGRectGetMaxX(turned) + pad));
    const int y1 = static_cast<int>(std::ceil(CGRectGetMaxY(turned) + pad));
    const int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return false;

    out->coverage.assign(size_t(w) * size_t(h), 0);
    CGContextRef ctx = CGBitmapContextCreate(out->coverage.data(), size_t(w), size_t(h), 8, size_t(w), mGrey,
                                             kCGImageAlphaNone);
    if (!ctx) return false;
    CGContextSetGrayFillColor(ctx, 1.0, 1.0);
    CGContextSetGrayStrokeColor(ctx, 1.0, 1.0);
    CGContextSetShouldAntialias(ctx, mAntiAlias);
    CGContextSetAllowsFontSmoothing(ctx, false);
    CGContextSetShouldSmoothFonts(ctx, false);
    CGContextTranslateCTM(ctx, -x0, -y0);
    CGContextConcatCTM(ctx, xf);
    if (mEmbolden) {
      CGContextSetTextDrawingMode(ctx, kCGTextFillStroke);
      CGContextSetLineWidth(ctx, std::max(1.0, CTFontGetSize(mFont) / 24.0));
    }
    const CGPoint origin = CGPointMake(0, 0);
    CTFontDrawGlyphs(mFont, &glyph, &origin, 1, ctx);
    CGContextFlush(ctx);
    CGContextRelease(ctx);

    // The context's first row is the top of the image.
    out->width = w;
    out->height = h;
    out->left = x0;
    out->top = -y1;
    return true;
  }

 private:
  CGAffineTransform GlyphTransform() const {
    CGAffineTransform xf = CGAffineTransformMakeRotation(mAngle);
    if (mOblique) xf = CGAffineTransformConcat(CGAffineTransformMake(1, 0, kObliqueSlope, 1, 0, 0), xf);
    return xf;
  }

  bool GlyphFor(uint32_t cp, CGGlyph* glyph) const {
    UniChar u[2];
    CGGlyph g[2] = {0, 0};
    CFIndex n = 1;
    if (cp >= 0x10000) {
      const uint32_t v = cp - 0x10000;
      u[0] = UniChar(0xD800 + (v >> 10));
      u[1] = UniChar(0xDC00 + (v & 0x3FF));
      n = 2;
    } else
      u[0] = UniChar(cp);
    if (!CTFontGetGlyphsForCharacters(mFont, u, g, n)) return false;
    *glyph = g[0];
    return true;
  }

  double AdvanceOf(uint32_t cp) const {
    CGGlyph g = 0;
    if (!GlyphFor(cp, &g)) return 0.0;
    CGSize adv = CGSizeMake(0, 0);
    CTFontGetAdvancesForGlyphs(mFont, kCTFontOrientationHorizontal, &g, &adv, 1);
    return adv.width;
  }

  CTFontRef mFont = nullptr;
  CGColorSpaceRef mGrey = nullptr;
  std::string mFamily;
  GDI_FontMetrics mMetrics;
  bool mEmbolden = false;
  bool mOblique = false;
  bool mAntiAlias = true;
  double mAngle = 0.0;
};
}  // namespace

std::unique_ptr<GDI_FontBackend> GDI_OpenFontBackend(const GDI_FontRequest& req) {
  std::unique_ptr<CoreTextBackend> b(new CoreTextBackend);
  if (!b->Open(req)) return nullptr;
  return b;
}

#endif
