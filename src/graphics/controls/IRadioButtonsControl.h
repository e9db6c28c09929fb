// IRadioButtonsControl: a row or column of buttons sharing one value; the button nearest the
// value shows its second frame.
#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

#include <vector>

class IRadioButtonsControl : public IControl {
 public:
  // The bitmap is one button: frame 1 off, frame 2 on.
  IRadioButtonsControl(IPlugin* plug, const IRECT& rect, int paramIdx, int nButtons, const IBitmap* bitmap,
                       EDirection direction = kVertical, bool reverse = false);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  const std::vector<IRECT>& GetButtonRects() const { return mRECTs; }

 protected:
  std::vector<IRECT> mRECTs;
  IBitmap mBitmap;
};
