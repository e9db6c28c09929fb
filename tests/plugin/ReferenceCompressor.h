// The compressor's per-sample linked-stereo step, as the processing rules state it: the detector takes
// the larger signed value of the pair (the second one alone in release-only mode), then one follower
// and gain-computer step. The product runs these steps in blocks; this is what they must equal.
#pragma once

#include "plugin/dsp/Compressor.h"

inline double ProcessStereo(compressor& c, double a, double b) {
  return c.step(c.detector().mode() == 0 ? (b > a ? b : a) : b);
}
