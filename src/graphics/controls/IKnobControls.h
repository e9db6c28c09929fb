// The knob family: controls turned by dragging along one axis or by the wheel, drawn as a line,
// a rotated image, a film-strip frame or a rotated pointer layer over a fixed base.
#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IColor.h"
#include "graphics/IControl.h"

// Value change for a wheel step of d notches; shift or control makes it ten times finer.
// Shared with the fader.
double KnobWheelStep(const IMouseMod* mod, int d);

// Drag and wheel behaviour shared by every knob; subclasses only draw.
class IKnobControl : public IControl {
 public:
  static constexpr double kDefaultGearing = 4.0;

  IKnobControl(IPlugin* plug, const IRECT& rect, int paramIdx, EDirection direction = kVertical,
               double gearing = kDefaultGearing,
               IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);

  // A drag across the whole rectangle sweeps 1/gearing of the range.
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;

  EDirection GetDirection() const { return mDirection; }
  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }

 protected:
  EDirection mDirection;
  double mGearing;
};

// A line from the inner to the outer radius; angles in radians, 0 up, clockwise.
class IKnobLineControl : public IKnobControl {
 public:
  // An outer radius of 0 reaches the rectangle's edge (half its width).
  IKnobLineControl(IPlugin* plug, const IRECT& rect, int paramIdx, const IColor* color,
                   double innerRadius = 0.0, double outerRadius = 0.0,
                   double minAngle = -0.75 * 3.141592653589793, double maxAngle = 0.75 * 3.141592653589793,
                   EDirection direction = kVertical, double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

 protected:
  IColor mColor;
  float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
};

// One image rotated about the control's centre; angles in radians. yOffset moves the rotation
// centre within the image, for pointers whose pivot is not the image centre.
class IKnobRotaterControl : public IKnobControl {
 public:
  IKnobRotaterControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                      double minAngle = -0.75 * 3.141592653589793, double maxAngle = 0.75 * 3.141592653589793,
                      int yOffset = 0, EDirection direction = kVertical, double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

 protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
  int mYOffset;
};

// One film-strip frame per position; the editor's own knobs.
class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* bitmap,
                    EDirection direction = kVertical, double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

 protected:
  IBitmap mBitmap;
};

// A pointer layer (mask, added) and a highlight layer (top) rotated over a fixed base image, all
// the base's size; angles in degrees.
class IKnobRotatingMaskControl : public IKnobControl {
 public:
  IKnobRotatingMaskControl(IPlugin* plug, int x, int y, int paramIdx, const IBitmap* base,
                           const IBitmap* mask, const IBitmap* top, double minAngle = -135.0,
                           double maxAngle = 135.0, EDirection direction = kVertical,
                           double gearing = kDefaultGearing);

  bool Draw(IGraphics* graphics) override;

 protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};
