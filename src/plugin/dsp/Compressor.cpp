// Compressor set-up and the mono step.
#include "plugin/dsp/Compressor.h"

#include <cmath>

void compressor::init(double attackMs, double releaseMs, double holdMs, double ratio, double kneeFactor,
                      double rate) {
  mDetector.init(0, attackMs, releaseMs, holdMs, rate);
  mGain.init(ratio, kneeFactor);
}

double compressor::process(double x) { return x * std::exp(step(x) * 0.1151292546497); }
