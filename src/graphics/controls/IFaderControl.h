// IFaderControl: a handle bitmap sliding along a straight track; the handle jumps to the pointer.
#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

class IFaderControl : public IControl {
 public:
  // len is the whole track including the handle; the handle bitmap is a single frame.
  IFaderControl(IPlugin* plug, int x, int y, int len, int paramIdx, const IBitmap* bitmap,
                EDirection direction = kVertical, bool onlyHandle = false);

  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  bool Draw(IGraphics* graphics) override;
  bool IsHit(int x, int y) override;

  // Centres the handle on the pointer along the track.
  virtual void SnapToMouse(int x, int y);

  // The handle's rectangle for a value; a negative value means the current one.
  IRECT GetHandleRECT(double value = -1.0) const;
  int GetLength() const { return mLen; }
  int GetHandleSize() const { return mHandleSize; }

 protected:
  int mLen, mHandleSize;
  IBitmap mBitmap;
  EDirection mDirection;
  bool mOnlyHandle;
};
