// IPanelControl: fills its rectangle with one colour.
#include "graphics/controls/IPanelControl.h"

#include "graphics/IGraphics.h"

IPanelControl::IPanelControl(IPlugin* plug, const IRECT& rect, const IColor* color,
                             IChannelBlend::EBlendMethod blendMethod)
    : IControl(plug, rect, -1, blendMethod), mColor(color ? *color : COLOR_BLACK) {}

bool IPanelControl::Draw(IGraphics* graphics) {
  graphics->FillIRect(&mColor, &mRECT, &mBlend);
  return true;
}
