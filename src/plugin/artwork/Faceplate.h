// The background: brushed anthracite panel with screws, the meter face, button wells, the knobs'
// shadows and scales, and every legend of the editor.
#pragma once

#include "plugin/artwork/Canvas.h"

// False when a legend face is missing (see Typeface::ok).
bool DrawFaceplate(Canvas& c);
