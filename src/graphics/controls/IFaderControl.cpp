// IFaderControl: handle placement and pointer tracking.
#include "graphics/controls/IFaderControl.h"

#include "graphics/IGraphics.h"
#include "graphics/controls/IKnobControls.h"

namespace {
IRECT FaderRect(int x, int y, int len, const IBitmap& handle, EDirection direction) {
  return direction == kHorizontal ? IRECT(x, y, x + len, y + handle.H) : IRECT(x, y, x + handle.W, y + len);
}
}  // namespace

IFaderControl::IFaderControl(IPlugin* plug, int x, int y, int len, int paramIdx, const IBitmap* bitmap,
                             EDirection direction, bool onlyHandle)
    : IControl(plug, FaderRect(x, y, len, bitmap ? *bitmap : IBitmap(), direction), paramIdx),
      mLen(len),
      mBitmap(bitmap ? *bitmap : IBitmap()),
      mDirection(direction),
      mOnlyHandle(onlyHandle) {
  mHandleSize = direction == kHorizontal ? mBitmap.W : mBitmap.H;
}

IRECT IFaderControl::GetHandleRECT(double value) const {
  if (value < 0.0) value = GetValue();
  const int travel = mLen - mHandleSize;
  if (mDirection == kHorizontal) {
    const int offset = static_cast<int>(value * travel);
    return IRECT(mRECT.L + offset, mRECT.T, mRECT.L + mBitmap.W + offset, mRECT.T + mBitmap.H);
  }
  const int offset = static_cast<int>(travel * (1.0 - value));
  return IRECT(mRECT.L, mRECT.T + offset, mRECT.L + mBitmap.W, mRECT.T + mBitmap.H + offset);
}

void IFaderControl::SnapToMouse(int x, int y) {
  const int travel = mLen - mHandleSize;
  // A handle as long as the track has nowhere to move.
  if (travel <= 0) return;
  const int half = mHandleSize / 2;
  if (mDirection == kHorizontal)
    SetValue(static_cast<double>(x - mRECT.L - half) / travel);
  else
    SetValue(1.0 - static_cast<double>(y - mRECT.T - half) / travel);
  SetDirty(true);
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* mod) {
  if (mod && mod->R)
    PromptUserInput();
  else
    SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, IMouseMod*) { SnapToMouse(x, y); }

void IFaderControl::OnMouseWheel(int, int, IMouseMod* mod, int d) {
  SetValue(GetValue() + KnobWheelStep(mod, d));
  SetDirty(true);
}

bool IFaderControl::Draw(IGraphics* graphics) {
  if (!mBitmap.mData) return true;
  IRECT handle = GetHandleRECT();
  return graphics->DrawBitmap(&mBitmap, &handle, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y) {
  return mOnlyHandle ? GetHandleRECT().Contains(x, y) : IControl::IsHit(x, y);
}
