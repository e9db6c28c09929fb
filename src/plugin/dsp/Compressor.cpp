// Compressor set-up and the mono step.
#include "plugin/dsp/Compressor.h"

#include <cmath>

#include "plugin/dsp/Decibels.h"

void compressor::init(double attackMs, double releaseMs, double holdMs, double ratio, double kneeFactor,
                      double rate) {
  mDetector.init(0, attackMs, releaseMs, holdMs, rate);
  mGain.init(ratio, kneeFactor);
}

double compressor::process(double x) { return x * std::exp(step(x) * decibels::kNeperPerDb); }
