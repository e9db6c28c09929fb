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
  form(env, threshold, reductionDb, gain, 1, mKneeFactor, mLimiterMode != 0 ? 1.0 : 1.0 - 1.0 / mRatio);
  setRatio(ratio);
  setKneeFactor(kneeFactor);
  if (n > 1) form(env + 1, threshold + 1, reductionDb + 1, gain + 1, n - 1, kneeFactor, 1.0 - 1.0 / ratio);
  mGainReductionDb = reductionDb[n - 1];
  setThreshold(threshold[n]);
  setLimiter(false);
}
