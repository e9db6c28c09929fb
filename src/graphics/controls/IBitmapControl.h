// IBitmapControl: shows the frame of a film strip that matches the control's value. Also the
// frame-selection and placement rules every film-strip control shares.
#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

// 1-based frame of an nFrames strip for a normalized value: frames are spread evenly over [0, 1]
// and the nearest one wins.
int BitmapFrameForValue(int nFrames, double value);

// The rectangle one frame of the bitmap covers when its top-left corner is at (x, y). A bitmap
// that failed to load gives an empty-sized rectangle rather than a division by zero.
IRECT BitmapFrameRect(int x, int y, const IBitmap& bitmap);

class IBitmapControl : public IControl {
 public:
  IBitmapControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  // Draws nothing when the image failed to load; the control still takes input.
  bool Draw(IGraphics* graphics) override;

  IBitmap* GetBitmap() { return &mBitmap; }

 protected:
  IBitmap mBitmap;
};
