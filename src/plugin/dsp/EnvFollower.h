// Peak envelope follower with attack, hold and release: the detector core of the compressor.
#pragma once

#include <cmath>
#include <cstdint>

class envFollower {
 public:
  envFollower() = default;

  virtual void init(int mode, double attackMs, double releaseMs, double holdMs, double sampleRate);
  virtual double process(double x);

  // Per-sample coefficient that follows a step to within 1 % after `ms` milliseconds.
  static double coefficient(double ms, double sampleRate);
  // Hold length in samples, truncated; a length that does not fit (or is not a number) holds nothing.
  static int32_t samplesFor(double samples);

  double attackCoef = 0.9793314582608171;   // 5 ms at 44100 Hz
  double releaseCoef = 0.9979136668688285;  // 50 ms at 44100 Hz
  double envelope = 0.0;
  double sampleRate = 44100.0;
  int32_t holdCount = 0;
  int32_t holdSamples = 0;
  int32_t mode = 0;  // 0 peak follower, 1 release-only follower

 protected:
  // One follower step on an already selected (not yet rectified) input.
  void follow(double x) {
    double r = x;
    if (mode == 0) {
      r = std::fabs(x);
      if (r > envelope) {
        envelope = (envelope - r) * attackCoef + r;
        holdCount = 0;
        return;
      }
    }
    if (holdCount < holdSamples) {
      ++holdCount;
      return;
    }
    envelope = (envelope - r) * releaseCoef + r;
  }
};
