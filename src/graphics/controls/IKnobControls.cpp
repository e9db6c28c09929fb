// The knob family: dragging, wheel steps and the four ways of drawing a knob.
#include "graphics/controls/IKnobControls.h"

#include "graphics/IGraphics.h"
#include "graphics/controls/IBitmapControl.h"

#include <cmath>

namespace {
bool FineMotion(const IMouseMod* mod) { return mod && (mod->S || mod->C); }

IBitmap Copy(const IBitmap* bitmap) { return bitmap ? *bitmap : IBitmap(); }
}  // namespace

double KnobWheelStep(const IMouseMod* mod, int d) { return d * (FineMotion(mod) ? 0.001 : 0.01); }

IKnobControl::IKnobControl(IPlugin* plug, const IRECT& rect, int paramIdx, EDirection direction,
                           double gearing, IChannelBlend::EBlendMethod blendMethod)
    : IControl(plug, rect, paramIdx, blendMethod), mDirection(direction), mGearing(gearing) {}

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, IMouseMod* mod) {
  double gearing = mGearing;
  if (FineMotion(mod)) gearing *= 10.0;
  // T - B is negative, so dragging up raises the value.
  const int span = mDirection == kVertical ? mRECT.T - mRECT.B : mRECT.R - mRECT.L;
  // A flat rectangle or zero gearing gives no rate: ignore the drag rather than store inf or NaN.
  if (span == 0 || gearing == 0.0) return;
  const double delta = (mDirection == kVertical ? dY : dX) / static_cast<double>(span) / gearing;
  if (!std::isfinite(delta)) return;
  SetValue(GetValue() + delta);
  SetDirty(true);
}

void IKnobControl::OnMouseWheel(int, int, IMouseMod* mod, int d) {
  SetValue(GetValue() + KnobWheelStep(mod, d));
  SetDirty(true);
}

IKnobLineControl::IKnobLineControl(IPlugin* plug, const IRECT& rect, int paramIdx, const IColor* color,
                                   double innerRadius, double outerRadius, double minAngle, double maxAngle,
                                   EDirection direction, double gearing)
    : IKnobControl(plug, rect, paramIdx, direction, gearing, IChannelBlend::kBlendClobber),
      mColor(color ? *color : COLOR_BLACK),
      mMinAngle(static_cast<float>(minAngle)),
      mMaxAngle(static_cast<float>(maxAngle)),
      mInnerRadius(static_cast<float>(innerRadius)),
      mOuterRadius(static_cast<float>(outerRadius)) {
  if (mOuterRadius == 0.0f) mOuterRadius = 0.5f * static_cast<float>(rect.W());
}

bool IKnobLineControl::Draw(IGraphics* graphics) {
  const double angle = mMinAngle + GetValue() * (mMaxAngle - mMinAngle);
  const float sinA = static_cast<float>(std::sin(angle)), cosA = static_cast<float>(std::cos(angle));
  const float cx = mRECT.MW(), cy = mRECT.MH();
  return graphics->DrawLine(&mColor, cx + sinA * mInnerRadius, cy - cosA * mInnerRadius,
                            cx + sinA * mOuterRadius, cy - cosA * mOuterRadius, &mBlend, true);
}

IKnobRotaterControl::IKnobRotaterControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                                         double minAngle, double maxAngle, int yOffset, EDirection direction,
                                         double gearing)
    : IKnobControl(plug, BitmapFrameRect(x, y, Copy(bitmap)), paramIdx, direction, gearing),
      mBitmap(Copy(bitmap)),
      mMinAngle(minAngle),
      mMaxAngle(maxAngle),
      mYOffset(yOffset) {}

bool IKnobRotaterControl::Draw(IGraphics* graphics) {
  if (!mBitmap.mData) return true;
  const double angle = mMinAngle + GetValue() * (mMaxAngle - mMinAngle);
  return graphics->DrawRotatedBitmap(&mBitmap, (mRECT.L + mRECT.R) / 2, (mRECT.T + mRECT.B) / 2, angle,
                                     mYOffset, &mBlend);
}

IKnobMultiControl::IKnobMultiControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                                     EDirection direction, double gearing)
    : IKnobControl(plug, BitmapFrameRect(x, y, Copy(bitmap)), paramIdx, direction, gearing),
      mBitmap(Copy(bitmap)) {}

bool IKnobMultiControl::Draw(IGraphics* graphics) {
  if (!mBitmap.mData) return true;
  return graphics->DrawBitmap(&mBitmap, &mRECT, BitmapFrameForValue(mBitmap.N, GetValue()), &mBlend);
}

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IPlugin* plug, int x, int y, int paramIdx,
                                                   const IBitmap* base, const IBitmap* mask,
                                                   const IBitmap* top, double minAngle, double maxAngle,
                                                   EDirection direction, double gearing)
    : IKnobControl(plug, BitmapFrameRect(x, y, Copy(base)), paramIdx, direction, gearing),
      mBase(Copy(base)),
      mMask(Copy(mask)),
      mTop(Copy(top)),
      mMinAngle(minAngle),
      mMaxAngle(maxAngle) {}

bool IKnobRotatingMaskControl::Draw(IGraphics* graphics) {
  if (!mBase.mData || !mMask.mData || !mTop.mData) return true;
  const double angle = mMinAngle + GetValue() * (mMaxAngle - mMinAngle);
  return graphics->DrawRotatedMask(&mBase, &mMask, &mTop, mRECT.L, mRECT.T, angle, &mBlend);
}
