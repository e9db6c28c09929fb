// Compressor set-up and the mono step.
#include "plugin/dsp/Compressor.h"

#include <cmath>

void compressor::init(double attackMs, double releaseMs, double holdMs, double newRatio, double newKneeFactor,
                      double rate) {
  envFollower::init(0, attackMs, releaseMs, holdMs, rate);
  gainReductionDb = 0.0;
  limiterMode = 0;
  kneeFactor = newKneeFactor;
  ratio = newRatio;
  thresholdDb = 0.0;
  updateKnee();
}

double compressor::process(double x) {
  follow(x);
  computeGain();
  return x * std::exp(gainReductionDb * 0.1151292546497);
}
