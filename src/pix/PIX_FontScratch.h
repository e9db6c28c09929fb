// The process-wide scratch bitmaps every cached font renders through, the mutex guarding them
// and the count of live fonts that decides when they are freed.
#pragma once

#include <mutex>

class PIX_SysBitmap;

namespace PIX_FontScratch {
// Held around every use of the scratch bitmaps: editors of different plug-in instances may draw
// on different threads in some hosts.
std::recursive_mutex& Mutex();

// Registers a font; the last Release frees both scratch bitmaps. Call with Mutex() held.
void Retain();
void Release();

// The scratch bitmaps grown to at least w x h (the glyph one with white text on black, in
// transparent mode); null when memory runs out. Call with Mutex() held.
PIX_SysBitmap* Glyph(int w, int h);
PIX_SysBitmap* Native(int w, int h);
}  // namespace PIX_FontScratch
