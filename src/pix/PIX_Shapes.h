// Rectangle outlines and rounded rectangles built from lines and arcs.
#pragma once

#include "pix/PIX_IBitmap.h"

// Lines (x, y)-(x + w, y)-(x + w, y + h)-(x, y + h)-(x, y), not anti-aliased.
void PIX_DrawRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_Pixel colour, float weight, int mode);
// A fill of (x + 1, y + 1, w - 1, h - 1) then the outline in the border colour.
void PIX_BorderedRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_Pixel fillColour,
                      PIX_Pixel borderColour, float weight, int mode);
// Corner radii below 2 give the plain outline.
void PIX_RoundRect(PIX_IBitmap* bm, int x, int y, int w, int h, int cornerRadius, PIX_Pixel colour,
                   float weight, int mode, bool antialias);
