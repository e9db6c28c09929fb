// Feed-forward gain computer: threshold, ratio and a quadratic soft knee whose width is a fraction of
// the threshold, from the detector's envelope to a gain reduction in dB.
//
// Threads: a plain value with no lock of its own. In the plug-in every call comes under the plug-in's
// mutex: init from Reset (processing set-up, on the host's set-up thread), everything else from the
// signal chain on the audio thread.
#pragma once

#include <cmath>
#include <cstdint>

#include "plugin/dsp/Decibels.h"

class GainComputer {
 public:
  // The settings of a run of steps. The threshold glides (the chain smooths it sample by sample), so it
  // comes as the value in effect at each step, plus one more for the step after the run.
  struct Settings {
    const double* thresholdDb;  // n + 1 values
    double ratio;
    double kneeFactor;  // the knee's width as a fraction of the threshold's magnitude
  };
  // The detector's levels in, the reductions in dB and their linear gains out: n of each.
  struct Buffers {
    const double* level;
    double* reductionDb;
    double* gain;
    int n;
  };
  // A (vector) form of process over a run whose settings hold throughout (thresholdDb[n] unused).
  using BlockForm = void (*)(const Buffers& io, const Settings& s);

  // Threshold 0 dB (a hard knee), limiter off, no reduction.
  void init(double ratio, double kneeFactor);

  // One step on the detector's envelope; returns the gain reduction in dB (<= 0).
  double process(double envelope) {
    const double levelDb = std::log(std::fabs(envelope)) * decibels::kDbPerNeper;
    mSlope = mLimiterMode != 0 ? 1.0 : 1.0 - 1.0 / mRatio;
    if (mKneeWidthDb > 0.0 && mKneeLowDb < levelDb && levelDb < mKneeHighDb) {
      mSlope = mSlope * (levelDb - mKneeLowDb) / mKneeWidthDb * 0.5;
      mGainReductionDb = (mKneeLowDb - levelDb) * mSlope;
    } else {
      const double g = (mThresholdDb - levelDb) * mSlope;
      mGainReductionDb = g < 0.0 ? g : 0.0;  // also 0 for NaN
    }
    return mGainReductionDb;
  }

  // io.n >= 1 steps by `form`, with the settings pushed after every step as the signal chain does: the
  // first step runs on the settings held, the rest on s (limiter off); s.thresholdDb[n] is left in
  // effect for the next step.
  void processBlock(const Buffers& io, const Settings& s, BlockForm form);

  // The settings recompute the knee only when they change.
  void setRatio(double r) {
    if (r != mRatio) {
      mRatio = r;
      updateKnee();
    }
  }
  void setThreshold(double dB) {
    if (dB != mThresholdDb) {
      mThresholdDb = dB;
      updateKnee();
    }
  }
  void setKneeFactor(double k) {
    if (k != mKneeFactor) {
      mKneeFactor = k;
      updateKnee();
    }
  }
  void setLimiter(bool on) {
    mLimiterMode = on ? 1 : 0;
    mSlope = on ? 1.0 : 1.0 - 1.0 / mRatio;
  }

  double gainReductionDb() const { return mGainReductionDb; }
  double kneeFactor() const { return mKneeFactor; }
  double ratio() const { return mRatio; }
  double thresholdDb() const { return mThresholdDb; }
  double kneeWidthDb() const { return mKneeWidthDb; }
  double kneeLowDb() const { return mKneeLowDb; }
  double kneeHighDb() const { return mKneeHighDb; }
  double slope() const { return mSlope; }
  bool limiter() const { return mLimiterMode != 0; }

 private:
  void updateKnee() {
    mKneeWidthDb = -mKneeFactor * mThresholdDb;
    mKneeLowDb = mThresholdDb + 0.5 * mKneeFactor * mThresholdDb;
    mKneeHighDb = mThresholdDb - 0.5 * mKneeFactor * mThresholdDb;
    mSlope = mLimiterMode != 0 ? 1.0 : 1.0 - 1.0 / mRatio;
  }

  double mGainReductionDb = 0.0;
  double mKneeFactor = 0.0;
  double mRatio = 4.0;
  double mThresholdDb = 0.0;
  double mKneeWidthDb = -0.0;
  double mKneeLowDb = 0.0;
  double mKneeHighDb = 0.0;
  double mSlope = 0.75;  // 1 - 1/ratio, or 1 in limiter mode; rescaled inside the knee
  int32_t mLimiterMode = 0;
};
