// Envelope follower set-up and the plain mono step.
#include "plugin/dsp/EnvFollower.h"

#include <cmath>

double envFollower::coefficient(double ms, double rate) { return std::pow(0.01, 1.0 / (ms * rate * 0.001)); }

int32_t envFollower::samplesFor(double samples) {
  if (!(samples >= 0.0)) return 0;
  if (samples >= 2147483647.0) return 2147483647;
  return static_cast<int32_t>(samples);
}

void envFollower::init(int newMode, double attackMs, double releaseMs, double holdMs, double rate) {
  mode = newMode;
  sampleRate = rate;
  attackCoef = coefficient(attackMs, rate);
  releaseCoef = coefficient(releaseMs, rate);
  holdSamples = samplesFor(holdMs / 1000.0 * rate);
  envelope = 0.0;
  holdCount = 0;
}

double envFollower::process(double x) {
  follow(x);
  return envelope;
}
