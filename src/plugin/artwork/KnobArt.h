// The knob: a fluted black body with a spun aluminium cap and a pointer, lit from the top left.
// Its frames turn the body and pointer; the light stays put. The scale around it belongs to the
// faceplate, which shares these radii.
#pragma once

#include "plugin/artwork/Canvas.h"
#include "plugin/artwork/Layout.h"

namespace knob {
constexpr double kCentre = kKnobSize / 2.0;
constexpr double kSkirtR = 27.5;  // outermost edge of the knob
constexpr double kBodyR = 24.5;
constexpr double kCapR = 17.5;
constexpr double kTickInner = 30.5, kTickOuter = 35.0;
constexpr double kLabelGap = 37.5;  // legends start this far from the centre

// Clock angle (radians) of the pointer at a fraction of the sweep: 300 degrees from about seven
// to about five o'clock, clockwise.
double Angle(double fraction);
}  // namespace knob

// One frame, knob centred in a kKnobSize square canvas, pointer at the fraction.
void DrawKnob(Canvas& c, double fraction);
