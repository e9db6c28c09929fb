// Blits: plain, scaled and rotated copies of one bitmap into another through the combine
// function the mode word selects. Null bitmaps or bitmaps without pixels draw nothing.
#pragma once

#include "gdi/GDI_Types.h"
#include "pix/PIX_IBitmap.h"
#include "pix/PIX_Mode.h"

// srcrect null = the whole source; right and bottom exclusive.
void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, const RECT* srcrect, float weight,
              int mode);
void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch,
              float weight, int mode);

// Resizes dest to the source size and copies it whole.
void PIX_Copy(PIX_IBitmap* dest, PIX_IBitmap* src);

// Maps the source rectangle onto the destination rectangle; a negative destination width or
// height mirrors. With PIX_BLIT_FILTER_BILINEAR, shrinking by 1.7 or more averages blocks,
// anything else interpolates bilinearly; without it the nearest pixel is used.
void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, float srcx,
                    float srcy, float srcw, float srch, float weight, int mode);

// Draws the source rectangle into the destination rectangle rotated by angle (radians) about the
// rectangle centre offset by (rotxcent, rotycent) source pixels.
void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth, int srcx,
                     int srcy, int srcw, int srch, double angle, bool clipToSourceRect, float weight,
                     int mode, double rotxcent = 0.0, double rotycent = 0.0);
