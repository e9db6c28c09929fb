// The editor's 18 film strips: names, frame counts and sizes, positions, and rendering of a whole
// strip (frames stacked vertically) into one bitmap.
#pragma once

#include "pix/PIX_MemBitmap.h"

#include <string>
#include <vector>

struct StripInfo {
  std::string file;  // "ATTACK.png"
  int frames;
  int frameW, frameH;  // design units
  int x, y;            // top-left on the editor
};

// Sorted by file name.
const std::vector<StripInfo>& AllStrips();
const StripInfo* FindStrip(const std::string& file);

// Renders the strip at the scale into out. False for an unknown strip or a missing font.
bool RenderStrip(const StripInfo& strip, double scale, PIX_MemBitmap* out);
