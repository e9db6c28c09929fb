// Rectangle fills and single-pixel access.
#pragma once

#include "pix/PIX_IBitmap.h"
#include "pix/PIX_Mode.h"

// With PIX_BLIT_USE_SRC_ALPHA the colour's alpha scales the weight; the low byte picks the combine.
void PIX_FillRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float weight, int mode);
void PIX_Clear(PIX_IBitmap* dest, PIX_Pixel colour);
// pixel = (pixel AND mask) OR orBits inside the clipped rectangle.
void PIX_ClearRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel mask, PIX_Pixel orBits);
// 0 outside the bitmap.
PIX_Pixel PIX_GetPixel(PIX_IBitmap* bm, int x, int y);
// As a 1 x 1 PIX_FillRect, except that the colour's alpha never scales the weight.
void PIX_PutPixel(PIX_IBitmap* bm, int x, int y, PIX_Pixel colour, float weight, int mode);
