// Feed-forward compressor: the envelope follower plus a gain computer with ratio, threshold and a
// quadratic soft knee whose width is a fraction of the threshold.
#pragma once

#include "plugin/dsp/EnvFollower.h"

class compressor : public envFollower {
 public:
  compressor() = default;
  using envFollower::init;

  void init(double attackMs, double releaseMs, double holdMs, double ratio, double kneeFactor,
            double sampleRate);

  // One linked-stereo detector and gain-computer step; returns the gain reduction in dB (<= 0).
  double processStereo(double a, double b) {
    if (mode == 0) {
      follow(b > a ? b : a);
    } else {
      follow(b);
    }
    return computeGain();
  }

  double process(double x) override;

  void setAttack(double ms) { attackCoef = coefficient(ms, sampleRate); }
  void setRelease(double ms) { releaseCoef = coefficient(ms, sampleRate); }
  void setHold(double ms) { holdSamples = samplesFor(sampleRate * ms / 1000.0); }
  void setRatio(double r) {
    if (r != ratio) {
      ratio = r;
      updateKnee();
    }
  }
  void setThreshold(double dB) {
    if (dB != thresholdDb) {
      thresholdDb = dB;
      updateKnee();
    }
  }
  void setKneeFactor(double k) {
    if (k != kneeFactor) {
      kneeFactor = k;
      updateKnee();
    }
  }
  void setLimiter(bool on) {
    limiterMode = on ? 1 : 0;
    slope = on ? 1.0 : 1.0 - 1.0 / ratio;
  }

  double gainReductionDb = 0.0;
  double kneeFactor = 0.0;
  double ratio = 4.0;
  double thresholdDb = 0.0;
  double kneeWidthDb = -0.0;
  double kneeLowDb = 0.0;
  double kneeHighDb = 0.0;
  double slope = 0.75;
  int32_t limiterMode = 0;

 private:
  void updateKnee() {
    kneeWidthDb = -kneeFactor * thresholdDb;
    kneeLowDb = thresholdDb + 0.5 * kneeFactor * thresholdDb;
    kneeHighDb = thresholdDb - 0.5 * kneeFactor * thresholdDb;
    slope = limiterMode != 0 ? 1.0 : 1.0 - 1.0 / ratio;
  }

  double computeGain() {
    const double levelDb = std::log(std::fabs(envelope)) * 8.685889638065037;
    slope = limiterMode != 0 ? 1.0 : 1.0 - 1.0 / ratio;
    if (kneeWidthDb > 0.0 && kneeLowDb < levelDb && levelDb < kneeHighDb) {
      slope = slope * (levelDb - kneeLowDb) / kneeWidthDb * 0.5;
      gainReductionDb = (kneeLowDb - levelDb) * slope;
    } else {
      const double g = (thresholdDb - levelDb) * slope;
      gainReductionDb = g < 0.0 ? g : 0.0;  // also 0 for NaN
    }
    return gainReductionDb;
  }
};
