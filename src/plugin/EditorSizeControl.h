// The Quorvane logo as the editor's size menu: a click offers 100 % to 200 %, and the pointer over
// it shows a faint frame, so the logo reads as something to click. Sizes whose window would not fit
// the screen are greyed out.
#pragma once

#include "graphics/IControl.h"

class EditorSizeControl : public IControl {
 public:
  EditorSizeControl(IPlugin* plug, const IRECT& rect);

  bool Draw(IGraphics* graphics) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseOver(int x, int y, IMouseMod* mod) override;
  void OnMouseOut() override;

  // The menu item for a scale: the nearest of IGraphics::kScaleSteps.
  static int ItemForScale(double scale);

 private:
  bool mHover = false;
};
