// The system's PNG decoder behind PIX_PNG.h: libpng, or the Windows Imaging Component on Windows.
// Both give the same pixels: 8-bit, non-premultiplied, alpha from the file or opaque.
#pragma once

#include <cstddef>

#include "pix/PIX_IBitmap.h"

// 8192 x 8192 worth: six times the largest editor strip (280 x 35870), a quarter of a gigabyte.
constexpr unsigned long long PIX_PNG_MAX_PIXELS = 1ull << 26;

// Decodes a whole PNG file held in memory (its signature already checked) as PIX_LoadPNGFromMemory
// describes. Any thread.
PIX_IBitmap* PIX_DecodePNG(const unsigned char* data, size_t length, PIX_IBitmap* bitmap);
