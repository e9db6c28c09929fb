// IPanelControl: a plain colour fill over the control's rectangle, typically the editor's
// background when there is no background image.
#pragma once

#include "graphics/IColor.h"
#include "graphics/IControl.h"

class IPanelControl : public IControl {
 public:
  IPanelControl(IPlugin* plug, const IRECT& rect, const IColor* color,
                IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  bool Draw(IGraphics* graphics) override;

 protected:
  IColor mColor;
};
