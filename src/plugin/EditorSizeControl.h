// The Quorvane logo as the editor's size menu: a click offers 100 % to 200 %, and the pointer over
// it shows a faint frame, so the logo reads as something to click.
#pragma once

#include "graphics/IControl.h"

class EditorSizeControl : public IControl {
 public:
  static constexpr double kSizes[] = {1.0, 1.25, 1.5, 1.75, 2.0};

  EditorSizeControl(IPlugin* plug, const IRECT& rect);

  bool Draw(IGraphics* graphics) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseOver(int x, int y, IMouseMod* mod) override;
  void OnMouseOut() override;

  // The menu item for a scale: the nearest size.
  static int ItemForScale(double scale);

 private:
  bool mHover = false;
};
