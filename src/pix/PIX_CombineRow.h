// Row combiners: one specialised loop per combine function, combining a run of source pixels into
// a run of destination pixels. Blits pick one per call, not per pixel.
#pragma once

#include "pix/PIX_Pixel.h"

typedef void (*PIX_RowCombiner)(PIX_Pixel* d, const PIX_Pixel* s, int count, int w);

// The loop for (mode AND 0x100FF) at integer weight w: copy clobbers at 256 and draws nothing for
// negative weights, copy with source alpha ignores the weight at 256. Null when nothing is drawn.
PIX_RowCombiner PIX_GetRowCombiner(int mode, int w);

// True for the loop that stores source pixels unchanged.
bool PIX_IsClobberRow(PIX_RowCombiner f);
