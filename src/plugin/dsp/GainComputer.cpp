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

void GainComputer::processBlock(const Buffers& io, const Settings& s, BlockForm form) {
  // Limiter mode is a slope of 1: an infinite ratio.
  const Settings held{s.thresholdDb, mLimiterMode != 0 ? INFINITY : mRatio, mKneeFactor};
  if (s.kneeFactor == held.kneeFactor && 1.0 - 1.0 / s.ratio == 1.0 - 1.0 / held.ratio) {
    // The settings pushed are those held: one run (a vector form would spend a whole vector on the
    // first step alone).
    form(io, s);
  } else {
    form({io.level, io.reductionDb, io.gain, 1}, held);
    if (io.n > 1) {
      form({io.level + 1, io.reductionDb + 1, io.gain + 1, io.n - 1},
           {s.thresholdDb + 1, s.ratio, s.kneeFactor});
    }
  }
  setRatio(s.ratio);
  setKneeFactor(s.kneeFactor);
  mGainReductionDb = io.reductionDb[io.n - 1];
  setThreshold(s.thresholdDb[io.n]);
  setLimiter(false);
}
