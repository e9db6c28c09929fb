// IBitmapControl and the film-strip helpers.
#include "graphics/controls/IBitmapControl.h"

#include "graphics/IGraphics.h"

int BitmapFrameForValue(int nFrames, double value) {
  if (nFrames < 2) return 1;
  // Values outside [0, 1] pick the end frames anyway; clamping first keeps the cast defined.
  const double v = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
  const int k = static_cast<int>(static_cast<double>(nFrames - 1) * v + 0.5);
  if (k < 0) return 1;
  return k < nFrames ? k + 1 : nFrames;
}

IRECT BitmapFrameRect(int x, int y, const IBitmap& bitmap) {
  return IRECT(x, y, x + bitmap.FrameWidth(), y + bitmap.FrameHeight());
}

IBitmapControl::IBitmapControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                               IChannelBlend::EBlendMethod blendMethod)
    : IControl(plug, BitmapFrameRect(x, y, bitmap ? *bitmap : IBitmap()), paramIdx, blendMethod),
      mBitmap(bitmap ? *bitmap : IBitmap()) {}

bool IBitmapControl::Draw(IGraphics* graphics) {
  if (!mBitmap.mData) return true;
  const int frame = mBitmap.N < 2 ? 1 : BitmapFrameForValue(mBitmap.N, GetValue());
  return graphics->DrawBitmap(&mBitmap, &mRECT, frame, &mBlend);
}
