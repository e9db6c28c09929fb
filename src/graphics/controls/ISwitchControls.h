// The switch family: film-strip buttons that step, prompt, spring back or pick a frame by where
// they are clicked, plus an invisible toggle area.
#pragma once

#include "graphics/controls/IBitmapControl.h"

#include <vector>

// Each press advances one frame and wraps after the last.
class ISwitchControl : public IBitmapControl {
 public:
  ISwitchControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
};

// A press opens the parameter's menu or text entry instead of stepping.
class ISwitchPopUpControl : public ISwitchControl {
 public:
  ISwitchPopUpControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
};

// A momentary button: pressed steps like a switch, released returns to 0.
class IContactControl : public ISwitchControl {
 public:
  IContactControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap);

  void OnMouseUp(int x, int y, IMouseMod* mod) override;
};

// An overlay shown while the value is at least 0.5. While hidden it listens on a separate
// target area (the thing that opens it); while shown, on its own rectangle.
class IBitmapOverlayControl : public ISwitchControl {
 public:
  IBitmapOverlayControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                        const IRECT& targetArea);

  bool Draw(IGraphics* graphics) override;

 protected:
  IRECT mTargetArea;
};

// One hit rectangle per frame, laid side by side (or stacked) over the control; a press selects
// the frame under the pointer.
class ISwitchFramesControl : public IBitmapControl {
 public:
  ISwitchFramesControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                       bool imagesAreHorizontal = false,
                       IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;

  const std::vector<IRECT>& GetFrameRects() const { return mRECTs; }

 protected:
  std::vector<IRECT> mRECTs;
};

// A toggle with no image, for clickable parts of a background.
class IInvisibleSwitchControl : public IControl {
 public:
  IInvisibleSwitchControl(IPlugin* plug, const IRECT& rect, int paramIdx);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics*) override { return true; }
};
