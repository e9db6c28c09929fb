// The switch family's stepping, prompting and frame picking.
#include "graphics/controls/ISwitchControls.h"

#include "graphics/controls/PickRect.h"

ISwitchControl::ISwitchControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IBitmapControl(plug, x, y, paramIdx, bitmap, blendMethod) {}

void ISwitchControl::OnMouseDown(int, int, IMouseMod*) {
  // A single-frame switch still toggles between 0 and 1.
  const double step = mBitmap.N >= 2 ? 1.0 / static_cast<double>(mBitmap.N - 1) : 1.0;
  double value = GetValue() + step;
  // The tolerance lets accumulated steps land on 1 without wrapping early.
  if (value > 1.001) value = 0.0;
  SetValue(value);
  SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, IMouseMod* mod) { OnMouseDown(x, y, mod); }

ISwitchPopUpControl::ISwitchPopUpControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap)
    : ISwitchControl(plug, x, y, paramIdx, bitmap) {
  // Prompting is all this control does, so it cannot start disabled.
  DisablePrompt(false);
}

void ISwitchPopUpControl::OnMouseDown(int, int, IMouseMod*) {
  PromptUserInput();
  SetDirty(true);
}

IContactControl::IContactControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap)
    : ISwitchControl(plug, x, y, paramIdx, bitmap) {}

void IContactControl::OnMouseUp(int, int, IMouseMod*) {
  SetValue(0.0);
  SetDirty(true);
}

IBitmapOverlayControl::IBitmapOverlayControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                                             const IRECT& targetArea)
    : ISwitchControl(plug, x, y, paramIdx, bitmap), mTargetArea(targetArea) {}

bool IBitmapOverlayControl::Draw(IGraphics* graphics) {
  if (GetValue() < 0.5) {
    mTargetRECT = mTargetArea;
    return true;
  }
  mTargetRECT = mRECT;
  return IBitmapControl::Draw(graphics);
}

ISwitchFramesControl::ISwitchFramesControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                                           bool imagesAreHorizontal, IChannelBlend::EBlendMethod blendMethod)
    : IBitmapControl(plug, x, y, paramIdx, bitmap, blendMethod) {
  DisablePrompt(false);
  const int n = mBitmap.N;
  if (n < 1) return;
  const float span = static_cast<float>(imagesAreHorizontal ? mRECT.W() : mRECT.H());
  const float u = span / static_cast<float>(n);
  for (int i = 0; i < n; ++i) {
    if (imagesAreHorizontal) {
      const int l = mRECT.L + static_cast<int>(static_cast<float>(i) * u);
      mRECTs.emplace_back(l, mRECT.T, static_cast<int>(static_cast<float>(l) + u), mRECT.B);
    } else {
      const int t = mRECT.T + static_cast<int>(static_cast<float>(i) * u);
      mRECTs.emplace_back(mRECT.L, t, mRECT.R, static_cast<int>(static_cast<float>(t) + u));
    }
  }
}

void ISwitchFramesControl::OnMouseDown(int x, int y, IMouseMod*) {
  double value = GetValue();
  PickRect(mRECTs, x, y, &value);
  SetValue(value);
  SetDirty(true);
}

IInvisibleSwitchControl::IInvisibleSwitchControl(IPlugin* plug, const IRECT& rect, int paramIdx)
    : IControl(plug, rect, paramIdx, IChannelBlend::kBlendClobber) {}

void IInvisibleSwitchControl::OnMouseDown(int, int, IMouseMod*) {
  SetValue(GetValue() < 0.5 ? 1.0 : 0.0);
  SetDirty(true);
}
