// The faceplate's one palette: warm anthracite metal, cream legends, one amber accent for
// lit buttons and the meter's backlight.
#pragma once

#include "plugin/artwork/Colour.h"

namespace palette {
const Colour kPanelTop = Hex(0x363431);
const Colour kPanelBottom = Hex(0x282624);
const Colour kRecess = Hex(0x1A1918);
const Colour kEdgeLight = Hex(0x5A5650);
const Colour kShadow = Hex(0x000000);
const Colour kLegend = Hex(0xEDE3CB);
const Colour kLegendDim = Hex(0xB4AA94);
const Colour kAccent = Hex(0xFFAE3A);
const Colour kAccentDeep = Hex(0xE07A12);
const Colour kKnobBody = Hex(0x1E1E1F);
const Colour kKnobCap = Hex(0x9C9C9A);
const Colour kPointer = Hex(0xF4EEDF);
const Colour kMeterFace = Hex(0xF2E7C9);
const Colour kMeterFaceEdge = Hex(0xCDB98A);
const Colour kMeterInk = Hex(0x2A231C);
const Colour kMeterRed = Hex(0xB8401E);
const Colour kNeedle = Hex(0x17130F);
}  // namespace palette

// Legend faces (fontconfig family names; the condensed cut comes with fonts-dejavu-extra).
constexpr const char* kFaceCondensed = "DejaVu Sans Condensed";
constexpr const char* kFaceWide = "DejaVu Sans";
