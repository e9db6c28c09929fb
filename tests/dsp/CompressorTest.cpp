// Envelope follower and compressor: detector selection, knee geometry, hold/release and set-up.
#include "plugin/dsp/Compressor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A compressor whose envelope is pinned at a level (in dB) before one gain-computer step.
double GainAt(double levelDb, double thresholdDb, double ratio, double knee) {
  compressor c;
  c.init(0.1, 100.0, 0.0, ratio, knee, 48000.0);
  c.setThreshold(thresholdDb);
  c.attackCoef = 0.0;  // the envelope jumps straight to the input
  const double x = std::pow(10.0, levelDb / 20.0);
  return c.processStereo(x, x);
}

}  // namespace

TEST(Compressor, DefaultsAndInit) {
  compressor c;
  EXPECT_DOUBLE_EQ(c.attackCoef, envFollower::coefficient(5.0, 44100.0));
  EXPECT_DOUBLE_EQ(c.releaseCoef, envFollower::coefficient(50.0, 44100.0));
  EXPECT_EQ(c.ratio, 4.0);
  EXPECT_EQ(c.slope, 0.75);
  EXPECT_TRUE(std::signbit(c.kneeWidthDb));

  c.envelope = 0.3;
  c.init(10.0, 600.0, 2.0, 3.0, 0.8, 48000.0);
  EXPECT_EQ(c.envelope, 0.0);
  EXPECT_EQ(c.holdSamples, 96);
  EXPECT_EQ(c.thresholdDb, 0.0);
  EXPECT_EQ(c.kneeWidthDb, 0.0);  // threshold 0 dB: hard knee
  EXPECT_DOUBLE_EQ(c.slope, 1.0 - 1.0 / 3.0);
  // 1 % of a step is left after the attack time.
  double e = 0.0;
  for (int i = 0; i < 480; ++i) e = (e - 1.0) * c.attackCoef + 1.0;
  EXPECT_NEAR(e, 0.99, 1e-9);
}

TEST(Compressor, SilenceGivesNoReduction) {
  compressor c;
  c.init(0.1, 100.0, 0.0, 10.0, 0.3, 48000.0);
  c.setThreshold(-40.0);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(c.processStereo(0.0, 0.0), 0.0);
}

TEST(Compressor, HardAndSoftKnee) {
  EXPECT_NEAR(GainAt(0.0, -20.0, 4.0, 0.0), -15.0, 1e-9);
  EXPECT_EQ(GainAt(-25.0, -20.0, 4.0, 0.0), 0.0);
  // Knee from -29.5 to -10.5 dB; quadratic inside, continuous with the straight line at both edges.
  EXPECT_NEAR(GainAt(-20.0, -20.0, 4.0, 0.95), -1.78125, 1e-9);
  EXPECT_NEAR(GainAt(-29.4, -20.0, 4.0, 0.95), -0.75 * 0.01 / 38.0, 1e-9);
  EXPECT_NEAR(GainAt(-10.6, -20.0, 4.0, 0.95), (-20.0 + 10.6) * 0.75, 0.02);
  EXPECT_EQ(GainAt(-30.0, -20.0, 4.0, 0.95), 0.0);
  EXPECT_NEAR(GainAt(-5.0, -20.0, 4.0, 0.95), -11.25, 1e-9);
}

TEST(Compressor, StereoDetectorTakesLargerSignedValue) {
  compressor c;
  c.init(0.1, 100.0, 0.0, 4.0, 0.0, 48000.0);
  c.attackCoef = 0.0;
  c.processStereo(-0.9, 0.1);
  EXPECT_EQ(c.envelope, 0.1);
  c.envelope = 0.0;
  c.processStereo(-0.5, -0.9);
  EXPECT_EQ(c.envelope, 0.5);
  c.envelope = 0.0;
  c.processStereo(0.2, 0.2);
  EXPECT_EQ(c.envelope, 0.2);

  // Release-only mode follows the second input unrectified.
  envFollower f;
  f.init(1, 1.0, 1.0, 0.0, 48000.0);
  f.process(-1.0);
  EXPECT_LT(f.envelope, 0.0);
}

TEST(Compressor, HoldThenRelease) {
  envFollower f;
  f.init(0, 0.1, 10.0, 0.0, 48000.0);
  f.attackCoef = 0.0;
  f.process(1.0);
  EXPECT_LT(f.process(0.0), 1.0);  // no hold: releases on the first sample after the peak

  f.init(0, 0.1, 10.0, 1.0, 3000.0);  // 3 samples of hold
  f.attackCoef = 0.0;
  f.process(1.0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.process(0.0), 1.0);
  EXPECT_LT(f.process(0.0), 1.0);
  f.process(1.0);  // an attack restarts the hold
  EXPECT_EQ(f.process(0.5), 1.0);
}

TEST(Compressor, SettersOnlyActOnChange) {
  compressor c;
  c.init(0.1, 100.0, 0.0, 4.0, 0.95, 48000.0);
  c.setThreshold(-20.0);
  EXPECT_DOUBLE_EQ(c.kneeLowDb, -29.5);
  EXPECT_DOUBLE_EQ(c.kneeHighDb, -10.5);
  EXPECT_DOUBLE_EQ(c.kneeWidthDb, 19.0);

  c.attackCoef = 0.0;
  c.processStereo(0.1, 0.1);  // -20 dB: inside the knee, slope rescaled
  const double rescaled = c.slope;
  EXPECT_NE(rescaled, 0.75);
  c.setRatio(4.0);
  c.setThreshold(-20.0);
  c.setKneeFactor(0.95);
  EXPECT_EQ(c.slope, rescaled);
  c.setRatio(2.0);
  EXPECT_EQ(c.slope, 0.5);
  c.setLimiter(true);
  EXPECT_EQ(c.slope, 1.0);
  EXPECT_NEAR(c.processStereo(1.0, 1.0), -20.0, 1e-9);  // limiter: everything above is removed

  c.setHold(2.0);
  EXPECT_EQ(c.holdSamples, 96);
  c.setAttack(10.0);
  EXPECT_EQ(c.attackCoef, envFollower::coefficient(10.0, 48000.0));
}

TEST(Compressor, MonoStepAppliesGain) {
  compressor c;
  c.init(0.1, 100.0, 0.0, 4.0, 0.0, 48000.0);
  c.setThreshold(-20.0);
  c.attackCoef = 0.0;
  EXPECT_NEAR(c.process(1.0), std::pow(10.0, -15.0 / 20.0), 1e-9);
}
