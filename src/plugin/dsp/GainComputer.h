// Feed-forward gain computer: threshold, ratio and a quadratic soft knee whose width is a fraction of
// the threshold, from the detector's envelope to a gain reduction in dB.
#pragma once

#include <cmath>
#include <cstdint>

class GainComputer {
 public:
  // Threshold 0 dB (a hard knee), limiter off, no reduction.
  void init(double ratio, double kneeFactor);

  // One step on the detector's envelope; returns the gain reduction in dB (<= 0).
  double process(double envelope) {
    const double levelDb = std::log(std::fabs(envelope)) * 8.685889638065037;
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

  // A block of steps by a (vector) form of process: envelopes, the threshold in effect at each
  // sample, one knee factor and the slope outside the knee; out come the reductions in dB and their
  // linear gains.
  using BlockForm = void (*)(const double* env, const double* threshold, double* reductionDb, double* gain,
                             int n, double kneeFactor, double slope);
  // n >= 1 steps by `form`, with settings pushed after every step as the signal chain does: the first
  // step runs on the settings held, the rest on `ratio` and `kneeFactor` (limiter off) and
  // threshold[i]; threshold[n] is left in effect for the next step.
  void processBlock(BlockForm form, const double* env, const double* threshold, double* reductionDb,
                    double* gain, int n, double ratio, double kneeFactor);

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
