// Envelope follower set-up.
#include "plugin/dsp/EnvFollower.h"

#include <cmath>

double envFollower::coefficient(double ms, double rate) { return std::pow(0.01, 1.0 / (ms * rate * 0.001)); }

int32_t envFollower::samplesFor(double samples) {
  if (!(samples >= 0.0)) return 0;
  if (samples >= 2147483647.0) return 2147483647;
  return static_cast<int32_t>(samples);
}

void envFollower::init(int newMode, double attackMs, double releaseMs, double holdMs, double rate) {
  mMode = newMode;
  mSampleRate = rate;
  mAttackCoef = coefficient(attackMs, rate);
  mReleaseCoef = coefficient(releaseMs, rate);
  mHoldSamples = samplesFor(holdMs / 1000.0 * rate);
  mEnvelope = 0.0;
  mHoldCount = 0;
}
