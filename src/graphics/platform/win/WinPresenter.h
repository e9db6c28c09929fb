// Copies a rectangle of a raster bitmap (0xAARRGGBB words, which are a 32-bit DIB's BGRA bytes) to
// the same place in a device context. UI thread.
#pragma once

#include "pix/PIX_IBitmap.h"

#include <windows.h>

// Clipped to the bitmap; false when nothing could be copied.
bool PresentBitmap(HDC dc, PIX_IBitmap* bitmap, int x, int y, int w, int h);
