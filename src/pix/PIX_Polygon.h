// Filled trapezoids, convex polygons and triangles.
#pragma once

#include "pix/PIX_IBitmap.h"

// Rows y1 to y2, each from the left to the right edge interpolated between the spans x1a..x1b at
// y1 and x2a..x2b at y2; both end pixels of every span are filled.
void PIX_FillTrapezoid(PIX_IBitmap* bm, int x1a, int x1b, int y1, int x2a, int x2b, int y2, PIX_Pixel colour,
                       float weight, int mode);
// n >= 3 points; all on one row fill the span between the smallest and largest x.
void PIX_FillConvexPolygon(PIX_IBitmap* bm, const int* xs, const int* ys, int n, PIX_Pixel colour,
                           float weight, int mode);
void PIX_FillTriangle(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, PIX_Pixel colour,
                      float weight, int mode);
