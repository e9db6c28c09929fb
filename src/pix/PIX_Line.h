// Lines: clipped, exact straight and diagonal runs, and lines walked from both ends toward the
// middle (plain or anti-aliased). Only the low byte of the mode is used; the colour's alpha byte
// is combined like the colour bytes.
#pragma once

#include "pix/PIX_IBitmap.h"

// Both end points are drawn.
void PIX_Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_Pixel colour, float weight, int mode,
              bool antialias);
void PIX_FLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_Pixel colour, float weight,
               int mode, bool antialias);

// Clip a segment to the pixels left..right-1, top..bottom-1 (integer version, end points rounded)
// or to the closed area [left, right] x [top, bottom] (float version). False when nothing remains.
bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int left, int top, int right, int bottom);
bool PIX_ClipFLine(float* x1, float* y1, float* x2, float* y2, float left, float top, float right,
                   float bottom);

// Alternates pixelsOn drawn and pixelsOff skipped pixels along the line, starting at (x1, y1).
void PIX_DashedLine(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_Pixel colour, float weight, int mode,
                    int pixelsOn, int pixelsOff);
