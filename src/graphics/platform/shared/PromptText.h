// Single-line text in the bitmaps of our own prompts (text entry, popup menu), through the
// engine's cached fonts.
#pragma once

#include "pix/PIX_IFont.h"

// Width in pixels of the first len bytes (-1: all) of UTF-8 text; 0 without a font.
int PromptTextWidth(PIX_IFont* font, const char* text, int len = -1);
// Draws text left-aligned from x, centred vertically in rows top..bottom, clipped to them.
void PromptDrawText(PIX_IBitmap* bm, PIX_IFont* font, PIX_Pixel colour, const char* text, int x, int top,
                    int right, int bottom);
