// Quadratic and cubic curves drawn as runs of line segments, and the area under a cubic curve.
#pragma once

#include "pix/PIX_IBitmap.h"

// Three control points.
void PIX_DrawQBezier(PIX_IBitmap* bm, const float* xs, const float* ys, PIX_Pixel colour, float weight,
                     int mode, bool antialias);
// Four control points.
void PIX_DrawCBezier(PIX_IBitmap* bm, const float* xs, const float* ys, PIX_Pixel colour, float weight,
                     int mode, bool antialias);
// Fills every column the cubic curve passes over, from the curve to the row baseY inclusive.
void PIX_FillCBezier(PIX_IBitmap* bm, const float* xs, const float* ys, int baseY, PIX_Pixel colour,
                     float weight, int mode);
