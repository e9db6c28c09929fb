// A look at the whole editor: the background with one frame of every other strip laid over it
// the way the editor composites them (source alpha), for checking the artwork by eye.
#pragma once

#include "pix/PIX_MemBitmap.h"

#include <string>

// Reads the strips from dir. frameFraction picks the frame of each strip (0 first, 1 last);
// switches show their lit frame when litSwitches. False when a strip is missing.
bool ComposePreview(const std::string& dir, double frameFraction, bool litSwitches, double scale,
                    PIX_MemBitmap* out);

// The file a strip is written to at a scale: "BG.png" at 1, "BG@2x.png" at 2.
std::string StripFileName(const std::string& file, double scale);
