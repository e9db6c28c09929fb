// Circles, discs and arcs. Angles are radians, 0 pointing up and growing clockwise: the point at
// angle a is (cx + r sin a, cy - r cos a). Centre and radius are rounded to whole pixels.
#pragma once

#include "pix/PIX_IBitmap.h"

void PIX_Circle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_Pixel colour, float weight, int mode,
                bool antialias);
void PIX_FillCircle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_Pixel colour, float weight, int mode,
                    bool antialias);
void PIX_Arc(PIX_IBitmap* bm, float cx, float cy, float r, float minAngle, float maxAngle, PIX_Pixel colour,
             float weight, int mode, bool antialias);
