// IRadioButtonsControl: button layout, picking and drawing.
#include "graphics/controls/IRadioButtonsControl.h"

#include "graphics/IGraphics.h"
#include "graphics/controls/PickRect.h"

#include <algorithm>

IRadioButtonsControl::IRadioButtonsControl(IPlugin* plug, const IRECT& rect, int paramIdx, int nButtons,
                                           const IBitmap* bitmap, EDirection direction, bool reverse)
    : IControl(plug, rect, paramIdx), mBitmap(bitmap ? *bitmap : IBitmap()) {
  const int n = nButtons;
  if (n < 1) return;
  const int w = mBitmap.W;
  const int f = mBitmap.N > 0 ? mBitmap.H / mBitmap.N : mBitmap.H;
  // A single button has no gaps to spread.
  const int d = n > 1 ? n - 1 : 1;
  const int gy = static_cast<int>(static_cast<double>(mRECT.H() - n * f) / d);
  const int gx = static_cast<int>(static_cast<double>(mRECT.W() - n * w) / d);

  if (direction == kVertical && !reverse) {
    for (int i = 0, y = mRECT.T; i < n; ++i, y += f + gy) mRECTs.emplace_back(mRECT.L, y, mRECT.L + w, y + f);
  } else if (direction == kVertical) {
    // Reversed layouts mirror the plain ones: the first button sits flush with the far edge, so
    // the last one stays inside the control (and can be clicked) rather than one gap beyond it.
    for (int i = 0, bottom = mRECT.B; i < n; ++i, bottom -= f + gy)
      mRECTs.emplace_back(mRECT.L, bottom - f, mRECT.L + w, bottom);
  } else if (!reverse) {
    for (int i = 0, x = mRECT.L; i < n; ++i, x += gx + w) mRECTs.emplace_back(x, mRECT.T, x + w, mRECT.T + f);
  } else {
    for (int i = 0, x = mRECT.R - w; i < n; ++i, x -= gx + w)
      mRECTs.emplace_back(x, mRECT.T, x + w, mRECT.T + f);
  }
}

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* mod) {
  if (mod && mod->R) {
    PromptUserInput();
    return;
  }
  double value = GetValue();
  PickRect(mRECTs, x, y, &value);
  SetValue(value);
  SetDirty(true);
}

bool IRadioButtonsControl::Draw(IGraphics* graphics) {
  const int n = static_cast<int>(mRECTs.size());
  if (!mBitmap.mData || n == 0) return true;
  // Clamping the value first keeps the cast defined for out-of-range plug-in values.
  const double v = std::min(1.0, std::max(0.0, GetValue()));
  const int active = static_cast<int>(static_cast<double>(n - 1) * v + 0.5);
  for (int i = 0; i < n; ++i)
    graphics->DrawBitmap(&mBitmap, &mRECTs[static_cast<size_t>(i)], i == active ? 2 : 1, &mBlend);
  return true;
}
