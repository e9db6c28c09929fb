// Envelope follower, gain computer and the compressor that joins them: detector selection, knee
// geometry, hold/release, set-up, and the block forms against the per-sample steps.
#include "plugin/ReferenceCompressor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// One gain-computer step at a detector level (in dB).
double GainAt(double levelDb, double thresholdDb, double ratio, double knee) {
  GainComputer g;
  g.init(ratio, knee);
  g.setThreshold(thresholdDb);
  return g.process(std::pow(10.0, levelDb / 20.0));
}

// A compressor whose detector jumps straight to its input (a 0 ms attack).
compressor Instant(double ratio, double knee) {
  compressor c;
  c.init(0.1, 100.0, 0.0, ratio, knee, 48000.0);
  c.setAttack(0.0);
  return c;
}

// A block form of the gain computer as the vector passes compute it, one value at a time.
void ScalarForm(const GainComputer::Buffers& io, const GainComputer::Settings& s) {
  const double kneeFactor = s.kneeFactor, slope = 1.0 - 1.0 / s.ratio;
  double* reductionDb = io.reductionDb;
  for (int i = 0; i < io.n; ++i) {
    const double level = std::log(std::fabs(io.level[i])) * 8.685889638065037, t = s.thresholdDb[i];
    const double width = 0.0 - kneeFactor * t, low = t + 0.5 * kneeFactor * t,
                 high = t - 0.5 * kneeFactor * t;
    const double hard = (t - level) * slope;
    reductionDb[i] = width > 0.0 && low < level && level < high
                         ? (low - level) * (slope * (level - low) / width * 0.5)
                         : (hard < 0.0 ? hard : 0.0);
    io.gain[i] = std::exp(reductionDb[i] * 0.1151292546497);
  }
}

}  // namespace

TEST(Compressor, DefaultsAndInit) {
  compressor c;
  EXPECT_DOUBLE_EQ(c.detector().attackCoef(), envFollower::coefficient(5.0, 44100.0));
  EXPECT_DOUBLE_EQ(c.detector().releaseCoef(), envFollower::coefficient(50.0, 44100.0));
  EXPECT_EQ(c.gainComputer().ratio(), 4.0);
  EXPECT_EQ(c.gainComputer().slope(), 0.75);
  EXPECT_TRUE(std::signbit(c.gainComputer().kneeWidthDb()));

  c.step(0.3);
  c.init(10.0, 600.0, 2.0, 3.0, 0.8, 48000.0);
  EXPECT_EQ(c.detector().envelope(), 0.0);
  EXPECT_EQ(c.detector().holdSamples(), 96);
  EXPECT_EQ(c.gainComputer().thresholdDb(), 0.0);
  EXPECT_EQ(c.gainComputer().kneeWidthDb(), 0.0);  // threshold 0 dB: hard knee
  EXPECT_DOUBLE_EQ(c.gainComputer().slope(), 1.0 - 1.0 / 3.0);
  // 1 % of a step is left after the attack time.
  double e = 0.0;
  for (int i = 0; i < 480; ++i) e = (e - 1.0) * c.detector().attackCoef() + 1.0;
  EXPECT_NEAR(e, 0.99, 1e-9);
}

TEST(Compressor, SilenceGivesNoReduction) {
  compressor c;
  c.init(0.1, 100.0, 0.0, 10.0, 0.3, 48000.0);
  c.setThreshold(-40.0);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ProcessStereo(c, 0.0, 0.0), 0.0);
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
  struct {
    double a, b, heard;
  } cases[] = {{-0.9, 0.1, 0.1}, {-0.5, -0.9, 0.5}, {0.2, 0.2, 0.2}};
  for (const auto& k : cases) {
    compressor c = Instant(4.0, 0.0);
    ProcessStereo(c, k.a, k.b);
    EXPECT_EQ(c.detector().envelope(), k.heard) << k.a << ", " << k.b;
  }

  // Release-only mode follows the second input unrectified.
  envFollower f;
  f.init(1, 1.0, 1.0, 0.0, 48000.0);
  f.process(-1.0);
  EXPECT_LT(f.envelope(), 0.0);
}

TEST(Compressor, HoldThenRelease) {
  envFollower f;
  f.init(0, 0.1, 10.0, 0.0, 48000.0);
  f.setAttack(0.0);
  f.process(1.0);
  EXPECT_LT(f.process(0.0), 1.0);  // no hold: releases on the first sample after the peak

  f.init(0, 0.1, 10.0, 1.0, 3000.0);  // 3 samples of hold
  f.setAttack(0.0);
  f.process(1.0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.process(0.0), 1.0);
  EXPECT_LT(f.process(0.0), 1.0);
  f.process(1.0);  // an attack restarts the hold
  EXPECT_EQ(f.process(0.5), 1.0);
}

TEST(Compressor, SettersOnlyActOnChange) {
  compressor c = Instant(4.0, 0.95);
  c.setThreshold(-20.0);
  const GainComputer& g = c.gainComputer();
  EXPECT_DOUBLE_EQ(g.kneeLowDb(), -29.5);
  EXPECT_DOUBLE_EQ(g.kneeHighDb(), -10.5);
  EXPECT_DOUBLE_EQ(g.kneeWidthDb(), 19.0);

  ProcessStereo(c, 0.1, 0.1);  // -20 dB: inside the knee, slope rescaled
  const double rescaled = g.slope();
  EXPECT_NE(rescaled, 0.75);
  c.setRatio(4.0);
  c.setThreshold(-20.0);
  c.setKneeFactor(0.95);
  EXPECT_EQ(g.slope(), rescaled);
  c.setRatio(2.0);
  EXPECT_EQ(g.slope(), 0.5);
  c.setLimiter(true);
  EXPECT_EQ(g.slope(), 1.0);
  EXPECT_NEAR(ProcessStereo(c, 1.0, 1.0), -20.0, 1e-9);  // limiter: everything above is removed

  c.setHold(2.0);
  EXPECT_EQ(c.detector().holdSamples(), 96);
  c.setAttack(10.0);
  EXPECT_EQ(c.detector().attackCoef(), envFollower::coefficient(10.0, 48000.0));
}

TEST(Compressor, MonoStepAppliesGain) {
  compressor c = Instant(4.0, 0.0);
  c.setThreshold(-20.0);
  EXPECT_NEAR(c.process(1.0), std::pow(10.0, -15.0 / 20.0), 1e-9);
}

// The block forms the signal chain runs equal per-sample steps with the settings pushed after each
// step: new times, ratio and knee act from the second sample on, each threshold from the next.
TEST(Compressor, BlockFormsEqualPerSampleSteps) {
  constexpr int n = 40;
  compressor block, steps;
  for (compressor* c : {&block, &steps}) {
    c->init(1.0, 30.0, 0.0, 2.0, 0.0, 48000.0);
    c->setThreshold(-10.0);
  }
  std::vector<double> in(n), env(n), threshold(n + 1), reduction(n + 1), gain(n + 1);
  for (int i = 0; i < n; ++i) in[i] = std::fabs(std::sin(0.4 * i)) * (i < n / 2 ? 1.0 : 0.05);
  for (int i = 0; i <= n; ++i) threshold[i] = -10.0 - 0.5 * i;

  envFollower::PeakRun run = block.detectorRun(3.0, 80.0);
  for (int i = 0; i < n; ++i) env[i] = run.step(in[i]);
  block.finishDetectorRun(run);
  block.computeGains({env.data(), reduction.data(), gain.data(), n}, {threshold.data(), 6.0, 0.5},
                     ScalarForm);

  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(steps.step(in[i]), reduction[i]) << i;
    EXPECT_EQ(steps.detector().envelope(), env[i]) << i;
    steps.setAttack(3.0);
    steps.setRelease(80.0);
    steps.setRatio(6.0);
    steps.setThreshold(threshold[i + 1]);
    steps.setKneeFactor(0.5);
    steps.setLimiter(false);
  }
  EXPECT_EQ(block.detector().attackCoef(), steps.detector().attackCoef());
  EXPECT_EQ(block.gainComputer().thresholdDb(), steps.gainComputer().thresholdDb());
  EXPECT_EQ(block.gainComputer().gainReductionDb(), steps.gainComputer().gainReductionDb());
  EXPECT_EQ(block.step(0.7), steps.step(0.7));
}
