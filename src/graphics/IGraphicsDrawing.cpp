// IGraphics: the drawing operations controls use, each mapped onto one raster call with the weight
// and mode word of the control's blend. Nothing is drawn before PrepDraw (those calls answer
// false), and no argument can make a call touch memory outside a bitmap: the raster library clips
// to both bitmaps, and the few conversions done here keep non-finite or huge coordinates out.
#include "graphics/IGraphics.h"

#include "graphics/IArtSource.h"
#include "graphics/ScaledFrameCache.h"

#include "pix/PIX_Blit.h"
#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_Polygon.h"
#include "pix/PIX_Shapes.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {
constexpr double kDegToRad = 3.141592653589793 / 180.0;
// Far beyond any editor, small enough that sums of coordinates cannot overflow an int.
constexpr double kCoordLimit = 1 << 28;

// A coordinate as the int the raster call takes: truncated, or rounded when asked; false for NaN
// and infinities, which name no pixel.
bool ToCoord(double v, int* out, bool round = false) {
  if (!std::isfinite(v)) return false;
  if (round) v += 0.5;
  v = v < -kCoordLimit ? -kCoordLimit : (v > kCoordLimit ? kCoordLimit : v);
  *out = static_cast<int>(v);
  return true;
}

bool ToLine(double x1, double y1, double x2, double y2, int* ix1, int* iy1, int* ix2, int* iy2) {
  return ToCoord(x1, ix1) && ToCoord(y1, iy1) && ToCoord(x2, ix2) && ToCoord(y2, iy2);
}

float Clamp01(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }  // NaN gives 0
}  // namespace

bool IGraphics::BlitClipped(PIX_IBitmap* src, const IRECT& dest, int srcX, int srcY,
                            const IChannelBlend* blend) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !src) return false;
  // dest is in pixels; the clip rectangle is kept in layout units.
  const IRECT clip = dest.Intersect(ToPixels(mDrawRECT));
  // Wholly outside the clip rectangle (or inverted): a zero-size blit.
  if (clip.W() <= 0 || clip.H() <= 0) return true;
  PIX_Blit(back, src, clip.L, clip.T, srcX + clip.L - dest.L, srcY + clip.T - dest.T, clip.W(), clip.H(),
           BlendToWeight(blend), BlendToMode(blend));
  return true;
}

PIX_MemBitmap* IGraphics::ScaledFrame(IBitmap* bitmap, int frame) {
  const int n = bitmap->N > 0 ? bitmap->N : 1;
  const int k = frame < 1 ? 0 : (frame > n ? n - 1 : frame - 1);
  const void* key = bitmap->mArt ? static_cast<const void*>(bitmap->mArt) : bitmap->mData;
  if (!key) return nullptr;
  if (PIX_MemBitmap* hit = mFrames->Find(key, k, n)) return hit;
  const double s = GetDrawScale();
  auto image = std::make_unique<PIX_MemBitmap>();
  if (!bitmap->mArt || !bitmap->mArt->DrawFrame(k, n, s, image.get()) || !image->getBits()) {
    // Without art for this scale the 1x frame is resampled: soft, but in place.
    if (!bitmap->mData || !bitmap->mData->getBits()) return nullptr;
    const int fw = bitmap->FrameWidth(), fh = bitmap->FrameHeight();
    const int w = ScaledLength(fw, s), h = ScaledLength(fh, s);
    if (w <= 0 || h <= 0 || !image->resize(w, h) || !image->getBits()) return nullptr;
    const int sx = bitmap->mFramesAreHorizontal ? k * fw : 0, sy = bitmap->mFramesAreHorizontal ? 0 : k * fh;
    PIX_ScaledBlit(image.get(), bitmap->mData, 0, 0, w, h, static_cast<float>(sx), static_cast<float>(sy),
                   static_cast<float>(fw), static_cast<float>(fh), 1.0f,
                   PIX_BLIT_MODE_COPY | PIX_BLIT_FILTER_BILINEAR);
  }
  return mFrames->Add(key, k, n, std::move(image));
}

PIX_MemBitmap* IGraphics::LayoutScaleArtFrame(IBitmap* bitmap, int frame) {
  if (!bitmap->mArt || !bitmap->mArt->DrawsLayoutScale()) return nullptr;
  const int n = bitmap->N > 0 ? bitmap->N : 1;
  const int k = frame < 1 ? 0 : (frame > n ? n - 1 : frame - 1);
  if (PIX_MemBitmap* hit = mFrames->Find(bitmap->mArt, k, n)) return hit;
  auto image = std::make_unique<PIX_MemBitmap>();
  if (!bitmap->mArt->DrawFrame(k, n, 1.0, image.get()) || !image->getBits()) return nullptr;
  return mFrames->Add(bitmap->mArt, k, n, std::move(image));
}

bool IGraphics::DrawScaledBitmap(IBitmap* bitmap, const IRECT& dest, int frame, const IChannelBlend* blend) {
  if (!BackBuffer()) return false;
  PIX_MemBitmap* image = ScaledFrame(bitmap, frame);
  if (!image) return false;
  const IRECT px = ToPixels(dest);
  return BlitClipped(image, IRECT(px.L, px.T, px.L + image->getWidth(), px.T + image->getHeight()), 0, 0,
                     blend);
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int srcX, int srcY, const IChannelBlend* blend) {
  if (!bitmap || !dest) return false;
  if (GetDrawScale() != 1.0) {
    // An area of a single image: the whole image at scale, placed so the area lands on dest.
    IBitmap whole = *bitmap;
    whole.N = 1;
    if (bitmap->N > 1) whole.mArt = nullptr;  // art draws frames, not whole strips
    const IRECT shifted(dest->L - srcX, dest->T - srcY, dest->L - srcX + bitmap->W,
                        dest->T - srcY + bitmap->H);
    const IRECT saved = mDrawRECT;
    mDrawRECT = mDrawRECT.Intersect(*dest);
    const bool ok = mDrawRECT.Empty() || DrawScaledBitmap(&whole, shifted, 1, blend);
    mDrawRECT = saved;
    return ok;
  }
  return BlitClipped(bitmap->mData, *dest, srcX, srcY, blend);
}

bool IGraphics::DrawBitmap(IBitmap* bitmap, IRECT* dest, int frame, const IChannelBlend* blend) {
  if (!bitmap || !dest) return false;
  if (GetDrawScale() != 1.0) return DrawScaledBitmap(bitmap, *dest, frame, blend);
  // Frames the art draws at 1x stand in for the strip, which then need never be decoded.
  if (PIX_MemBitmap* drawn = LayoutScaleArtFrame(bitmap, frame))
    return BlitClipped(drawn, *dest, 0, 0, blend);
  int srcX = 0, srcY = 0;
  if (frame >= 2 && bitmap->N >= 2) {
    // Frames past the strip show the last one, as frames below 1 show the first.
    const double k = frame > bitmap->N ? bitmap->N - 1 : frame - 1;
    if (bitmap->mFramesAreHorizontal)
      srcX = static_cast<int>(k * bitmap->W / bitmap->N + 0.5);
    else
      srcY = static_cast<int>(k * bitmap->H / bitmap->N + 0.5);
  }
  return BlitClipped(bitmap->mData, *dest, srcX, srcY, blend);
}

bool IGraphics::DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle,
                                  int yOffsetZeroDeg, const IChannelBlend* blend) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !bitmap || !bitmap->mData) return false;
  PIX_IBitmap* image = bitmap->mData;
  const double s = GetDrawScale();
  if (s != 1.0) {
    IBitmap whole = *bitmap;
    whole.N = 1;
    if (!(image = ScaledFrame(&whole, 1))) return false;
    destCtrX = ScaledLength(destCtrX, s);
    destCtrY = ScaledLength(destCtrY, s);
    yOffsetZeroDeg = ScaledLength(yOffsetZeroDeg, s);
  }
  const int W = image->getWidth(), H = image->getHeight();
  PIX_RotatedBlit(back, image, destCtrX - W / 2, destCtrY - H / 2, W, H, 0, 0, W, H, angle, false,
                  BlendToWeight(blend), BlendToMode(blend) | PIX_BLIT_FILTER_BILINEAR, 0.0, yOffsetZeroDeg);
  return true;
}

bool IGraphics::DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y, double angle,
                                const IChannelBlend* blend) {
  if (!BackBuffer() || !base || !mask || !top || !base->mData || !mask->mData || !top->mData) return false;
  if (!mTmpBitmap) mTmpBitmap = new PIX_MemBitmap();
  PIX_IBitmap *baseImage = base->mData, *maskImage = mask->mData, *topImage = top->mData;
  const double s = GetDrawScale();
  if (s != 1.0) {
    IBitmap b = *base, m = *mask, t = *top;
    b.N = m.N = t.N = 1;
    if (!(baseImage = ScaledFrame(&b, 1)) || !(maskImage = ScaledFrame(&m, 1)) ||
        !(topImage = ScaledFrame(&t, 1)))
      return false;
  }
  const int W = baseImage->getWidth(), H = baseImage->getHeight();
  PIX_Copy(mTmpBitmap, baseImage);
  // Keep the base's colour but none of its alpha: the mask's alpha is added in its place.
  PIX_ClearRect(mTmpBitmap, 0, 0, W, H, 0x00FFFFFF, 0);
  const double rad = angle * kDegToRad;
  PIX_RotatedBlit(mTmpBitmap, maskImage, 0, 0, W, H, 0, 0, W, H, rad, true, 1.0f,
                  PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_FILTER_BILINEAR | PIX_BLIT_MODE_ADD, (W & 1) ? -0.5 : 0.0,
                  0.0);
  PIX_RotatedBlit(mTmpBitmap, topImage, 0, 0, W, H, 0, 0, W, H, rad, true, 1.0f,
                  PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_FILTER_BILINEAR | PIX_BLIT_MODE_COPY,
                  (W & 1) ? -0.5 : 0.0, 0.0);
  const IRECT at = ToPixels(IRECT(x, y, x, y));
  return BlitClipped(mTmpBitmap, IRECT(at.L, at.T, at.L + W, at.T + H), 0, 0, blend);
}

bool IGraphics::DrawPoint(const IColor* color, float x, float y, const IChannelBlend* blend, bool) {
  PIX_IBitmap* back = BackBuffer();
  int ix, iy;
  const float s = static_cast<float>(GetDrawScale());
  if (!back || !color || !ToCoord(x * s, &ix, true) || !ToCoord(y * s, &iy, true)) return false;
  PIX_PutPixel(back, ix, iy, color->ToPixel(), BlendToWeight(blend), BlendToMode(blend));
  return true;
}

bool IGraphics::ForcePixel(const IColor* color, int x, int y) {
  PIX_IBitmap* back = BackBuffer();
  if (GetDrawScale() != 1.0) {
    // One layout pixel is a block of pixels at scale.
    IRECT block(x, y, x + 1, y + 1);
    return back && FillIRect(color, &block);
  }
  if (!back || !color || x < 0 || y < 0 || x >= back->getWidth() || y >= back->getHeight()) return false;
  back->getBits()[static_cast<long>(y) * back->getRowSpan() + x] = color->ToPixel();
  return true;
}

IColor IGraphics::GetPoint(int x, int y) {
  PIX_IBitmap* back = BackBuffer();
  const IRECT px = ToPixels(IRECT(x, y, x, y));
  return IColor::FromPixel(back ? PIX_GetPixel(back, px.L, px.T) : 0);
}

bool IGraphics::DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                         const IChannelBlend* blend, bool antiAlias) {
  PIX_IBitmap* back = BackBuffer();
  int ix1, iy1, ix2, iy2;
  const float s = static_cast<float>(GetDrawScale());
  if (!back || !color || !ToLine(x1 * s, y1 * s, x2 * s, y2 * s, &ix1, &iy1, &ix2, &iy2)) return false;
  PIX_Line(back, ix1, iy1, ix2, iy2, color->ToPixel(), BlendToWeight(blend), BlendToMode(blend), antiAlias);
  return true;
}

bool IGraphics::DrawArc(const IColor* color, float cx, float cy, float r, float minAngle, float maxAngle,
                        const IChannelBlend* blend, bool antiAlias) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color) return false;
  const float s = static_cast<float>(GetDrawScale());
  PIX_Arc(back, cx * s, cy * s, r * s, minAngle, maxAngle, color->ToPixel(), BlendToWeight(blend),
          BlendToMode(blend), antiAlias);
  return true;
}

bool IGraphics::DrawCircle(const IColor* color, float cx, float cy, float r, const IChannelBlend* blend,
                           bool antiAlias) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color) return false;
  const float s = static_cast<float>(GetDrawScale());
  PIX_Circle(back, cx * s, cy * s, r * s, color->ToPixel(), BlendToWeight(blend), BlendToMode(blend),
             antiAlias);
  return true;
}

bool IGraphics::FillCircle(const IColor* color, int cx, int cy, float r, const IChannelBlend* blend,
                           bool antiAlias) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color) return false;
  const float s = static_cast<float>(GetDrawScale());
  PIX_FillCircle(back, static_cast<float>(cx) * s, static_cast<float>(cy) * s, r * s, color->ToPixel(),
                 BlendToWeight(blend), BlendToMode(blend), antiAlias);
  return true;
}

bool IGraphics::RoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cornerRadius,
                          bool antiAlias) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color || !rect) return false;
  if (rect->W() <= 0 || rect->H() <= 0) return true;
  const IRECT px = ToPixels(*rect);
  cornerRadius = ScaledLength(cornerRadius, GetDrawScale());
  PIX_RoundRect(back, px.L, px.T, px.W(), px.H(), cornerRadius, color->ToPixel(), BlendToWeight(blend),
                BlendToMode(blend), antiAlias);
  return true;
}

bool IGraphics::FillRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend, int cr,
                              bool antiAlias) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color || !rect) return false;
  const IRECT px = ToPixels(*rect);
  const int L = px.L, T = px.T, R = px.R, B = px.B, W = px.W(), H = px.H();
  if (W <= 0 || H <= 0) return true;
  cr = ScaledLength(cr, GetDrawScale());
  // Corners wider than half the rectangle would paint their circles outside it.
  if (cr > W / 2) cr = W / 2;
  if (cr > H / 2) cr = H / 2;
  if (cr < 0) cr = 0;
  const PIX_Pixel c = color->ToPixel();
  const float w = BlendToWeight(blend);
  const int mode = BlendToMode(blend);
  PIX_FillRect(back, L + cr, T, W - 2 * cr, H, c, w, mode);
  PIX_FillRect(back, L, T + cr, cr, H - 2 * cr, c, w, mode);
  PIX_FillRect(back, R - cr, T + cr, cr, H - 2 * cr, c, w, mode);
  const float r = static_cast<float>(cr);
  PIX_FillCircle(back, static_cast<float>(L + cr), static_cast<float>(T + cr), r, c, w, mode, antiAlias);
  PIX_FillCircle(back, static_cast<float>(R - cr - 1), static_cast<float>(B - cr - 1), r, c, w, mode,
                 antiAlias);
  PIX_FillCircle(back, static_cast<float>(R - cr - 1), static_cast<float>(T + cr), r, c, w, mode, antiAlias);
  PIX_FillCircle(back, static_cast<float>(L + cr), static_cast<float>(B - cr - 1), r, c, w, mode, antiAlias);
  return true;
}

bool IGraphics::FillIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color || !rect) return false;
  if (rect->W() <= 0 || rect->H() <= 0) return true;
  const IRECT px = ToPixels(*rect);
  PIX_FillRect(back, px.L, px.T, px.W(), px.H(), color->ToPixel(), BlendToWeight(blend), BlendToMode(blend));
  return true;
}

bool IGraphics::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IChannelBlend* blend) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color) return false;
  const double s = GetDrawScale();
  if (s != 1.0) {
    x1 = ScaledLength(x1, s), y1 = ScaledLength(y1, s), x2 = ScaledLength(x2, s), y2 = ScaledLength(y2, s);
    x3 = ScaledLength(x3, s), y3 = ScaledLength(y3, s);
  }
  PIX_FillTriangle(back, x1, y1, x2, y2, x3, y3, color->ToPixel(), BlendToWeight(blend), BlendToMode(blend));
  return true;
}

bool IGraphics::FillIConvexPolygon(const IColor* color, int* x, int* y, int n, const IChannelBlend* blend) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color || !x || !y || n < 3) return false;
  const double s = GetDrawScale();
  if (s != 1.0) {
    std::vector<int> xs(x, x + n), ys(y, y + n);
    for (int i = 0; i < n; ++i) xs[i] = ScaledLength(xs[i], s), ys[i] = ScaledLength(ys[i], s);
    PIX_FillConvexPolygon(back, xs.data(), ys.data(), n, color->ToPixel(), BlendToWeight(blend),
                          BlendToMode(blend));
    return true;
  }
  PIX_FillConvexPolygon(back, x, y, n, color->ToPixel(), BlendToWeight(blend), BlendToMode(blend));
  return true;
}

bool IGraphics::DrawRect(const IColor* color, IRECT* rect) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color || !rect) return false;
  const PIX_Pixel c = color->ToPixel();
  const IRECT r = ToPixels(*rect);
  PIX_Line(back, r.L, r.T, r.R, r.T, c, 1.0f, PIX_BLIT_MODE_COPY, false);
  PIX_Line(back, r.L, r.B, r.R, r.B, c, 1.0f, PIX_BLIT_MODE_COPY, false);
  PIX_Line(back, r.L, r.T, r.L, r.B, c, 1.0f, PIX_BLIT_MODE_COPY, false);
  PIX_Line(back, r.R, r.T, r.R, r.B, c, 1.0f, PIX_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color) return false;
  const IRECT r = ToPixels(IRECT(xi, yLo, xi, yHi));
  PIX_Line(back, r.L, r.T, r.L, r.B, color->ToPixel(), 1.0f, PIX_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi) {
  PIX_IBitmap* back = BackBuffer();
  if (!back || !color) return false;
  const IRECT r = ToPixels(IRECT(xLo, yi, xHi, yi));
  PIX_Line(back, r.L, r.T, r.R, r.T, color->ToPixel(), 1.0f, PIX_BLIT_MODE_COPY, false);
  return true;
}

bool IGraphics::DrawVerticalLine(const IColor* color, IRECT* rect, float x) {
  if (!rect) return false;
  return DrawVerticalLine(color, rect->L + static_cast<int>(rect->W() * Clamp01(x)), rect->T, rect->B);
}

bool IGraphics::DrawHorizontalLine(const IColor* color, IRECT* rect, float y) {
  if (!rect) return false;
  return DrawHorizontalLine(color, rect->B - static_cast<int>(rect->H() * Clamp01(y)), rect->L, rect->R);
}

bool IGraphics::DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin, float rMax,
                               const IChannelBlend* blend, bool antiAlias) {
  const float s = std::sin(angle), c = std::cos(angle);
  return DrawLine(color, cx + s * rMin, cy - c * rMin, cx + s * rMax, cy - c * rMax, blend, antiAlias);
}
