// Gain computer set-up and its block form.
#include "plugin/dsp/GainComputer.h"

void GainComputer::init(double ratio, double kneeFactor) {
  mGainReductionDb = 0.0;
  mLimiterMode = 0;
  mKneeFactor = kneeFactor;
  mRatio = ratio;
  mThresholdDb = 0.0;
  updateKnee();
}

void GainComputer::processBlock(BlockForm form, const double* env, const double* threshold,
                                double* reductionDb, double* gain, int n, double ratio, double kneeFactor) {
  const double heldSlope = mLimiterMode != 0 ? 1.0 : 1.0 - 1.0 / mRatio, slope = 1.0 - 1.0 / ratio;
  if (kneeFactor == mKneeFactor && slope == heldSlope) {
    // The settings pushed are those held: one run (a vector form would spend a whole vector on the
    // first step alone).
    form(env, threshold, reductionDb, gain, n, kneeFactor, slope);
  } else {
    form(env, threshold, reductionDb, gain, 1, mKneeFactor, heldSlope);
    if (n > 1) form(env + 1, threshold + 1, reductionDb + 1, gain + 1, n - 1, kneeFactor, slope);
  }
  setRatio(ratio);
  setKneeFactor(kneeFactor);
  mGainReductionDb = reductionDb[n - 1];
  setThreshold(threshold[n]);
  setLimiter(false);
}
