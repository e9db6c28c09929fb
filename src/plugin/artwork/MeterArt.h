// The gain-reduction meter: a backlit cream face with a scale linear in gain (the faceplate
// prints it) and a black needle (the film strip's frames). Meter value v = 1 - gain: v = 0 rests
// at the right, a mark of d dB sits at v = 1 - 10^(-d/20).
#pragma once

#include "plugin/artwork/Canvas.h"
#include "plugin/artwork/Layout.h"
#include "plugin/artwork/Typeface.h"

namespace meter {
// Frame-local geometry (design units): the pivot hides below the apron at the window's foot.
constexpr double kPivotX = kMeterW / 2.0, kPivotY = 206;
constexpr double kApronTop = 143;
constexpr double kArcR = 164;
constexpr double kNeedleR = 177;

double Angle(double v);
// v of a reduction of dB decibels.
double ValueOfDb(double dB);
}  // namespace meter

// The face, scale, captions and bezel, drawn on the faceplate with the window's top-left at
// (x, y) design units.
void DrawMeterFace(Canvas& c, double x, double y, const Typeface& scaleFace, const Typeface& captionFace);
// One frame: the needle (and its shadow) at value v, in a kMeterW x kMeterH canvas.
void DrawNeedle(Canvas& c, double v);
