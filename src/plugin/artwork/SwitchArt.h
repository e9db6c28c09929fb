// Illuminated push buttons: a dark cap with a cream legend when off, an amber backlit cap with a
// glow around it when lit. Frames are kSwitchW x kSwitchH; the faceplate cuts the well.
#pragma once

#include "plugin/artwork/Canvas.h"
#include "plugin/artwork/Typeface.h"

namespace button {
// The cap inside its frame (design units).
constexpr double kCapX = 4, kCapY = 5, kCapW = 62, kCapH = 26, kCapRadius = 4;
}  // namespace button

void DrawSwitch(Canvas& c, const Typeface& legendFace, const char* legend, bool lit);
