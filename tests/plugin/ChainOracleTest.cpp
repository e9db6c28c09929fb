// The block-wise chain against the plain per-sample reference: output and meter within 1e-9 (-180 dB),
// in every voicing, at several rates and block sizes, on every vector form this CPU runs.
#include "plugin/ReferenceChain.h"
#include "plugin/TestSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double kTolerance = 1e-9;

struct Case {
  const char* name;
  QuorvaneSettings s;
  QuorvaneSwitches sw;
};

std::vector<Case> Cases() {
  std::vector<Case> v;
  v.push_back({"defaults", {}, {}});
  Case all{"everything on", {}, {}};
  all.sw.xformer = 1;
  all.sw.turbo = 1;
  all.sw.externalSidechain = 1;
  all.s.transientMix = 0.5;
  all.s.boostGain = std::pow(10.0, 5.0 / 20.0);
  all.s.hpfPos = 200.0;
  all.s.midGainDb = 3.0;
  all.s.hfDb = -4.0;
  all.s.compMix = 0.7;
  v.push_back(all);
  Case hard{"hard settings", {}, {}};
  hard.s.thresholdPos = -15.0;
  hard.s.ratio = 10.0;
  hard.s.kneeFactor = 0.3;
  hard.s.attackMs = 10.0;
  hard.s.releaseMs = 600.0;
  hard.s.hpfPos = 300.0;
  hard.s.midGainDb = -6.0;
  hard.s.hfDb = -10.0;
  hard.s.transientMix = 1.0;
  hard.s.transientTilt = 1.25;
  hard.s.makeUpGain = std::pow(10.0, 15.0 / 20.0);
  hard.s.compMix = 0.4;
  v.push_back(hard);
  Case dry{"bypass 0", {}, {}};
  dry.sw.bypass = 0;
  dry.s.transientMix = 0.3;
  v.push_back(dry);
  return v;
}

void Capture(void* ctx, const double* levels, int count) {
  auto* v = static_cast<std::vector<double>*>(ctx);
  v->insert(v->end(), levels, levels + count);
}

double MaxDiff(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return INFINITY;
  double worst = 0.0;
  for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
  return worst;
}

}  // namespace

TEST(ChainOracle, OutputAndMeterFollowTheReferenceAcrossVoicingsRatesAndBlocks) {
  for (int k = 0; k < ChainKernels::Count(); ++k) {
    const ChainKernels& kernels = ChainKernels::At(k);
    for (double fs : {44100.0, 48000.0, 96000.0}) {
      for (const Case& c : Cases()) {
        const int block = fs == 44100.0 ? 500 : (fs == 48000.0 ? 37 : 512);
        SCOPED_TRACE(std::string(kernels.name) + " " + c.name + " @" + std::to_string(fs));
        const int n = 12000;
        StereoSignal sig(n, fs);
        auto product = std::make_unique<QuorvaneChain>(kernels);
        auto oracle = std::make_unique<ReferenceChain>();
        product->Reset(c.s, fs);
        oracle->Reset(c.s, fs);
        StereoOutput a(n), b(n);
        std::vector<double> meterA, meterB;
        const double* const* in = sig.inputs();
        for (int pos = 0; pos < n; pos += block) {
          const int len = std::min(block, n - pos);
          const double* bi[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
          double* ao[2] = {a.l.data() + pos, a.r.data() + pos};
          double* bo[2] = {b.l.data() + pos, b.r.data() + pos};
          product->Process(bi, ao, len, c.s, c.sw, fs, Capture, &meterA);
          oracle->Process(bi, bo, len, c.s, c.sw, fs, Capture, &meterB);
        }
        EXPECT_LE(MaxDiff(a.l, b.l), kTolerance);
        EXPECT_LE(MaxDiff(a.r, b.r), kTolerance);
        EXPECT_LE(MaxDiff(meterA, meterB), kTolerance);
        EXPECT_NEAR(product->GainReductionDb(), oracle->gainReductionDb, kTolerance);
      }
    }
  }
}

// The chain and the reference side by side over n frames of a test signal in blocks, from the
// defaults at 48 kHz; before each block, change(k, s, sw, rate) may alter the settings, and a rate
// change resets both. Returns the largest difference between their outputs.
template <class Change>
double SideBySide(int n, int block, unsigned seed, Change change) {
  double fs = 48000.0;
  StereoSignal sig(n, fs, seed);
  auto product = std::make_unique<QuorvaneChain>();
  auto oracle = std::make_unique<ReferenceChain>();
  QuorvaneSettings s;
  QuorvaneSwitches sw;
  product->Reset(s, fs);
  oracle->Reset(s, fs);
  StereoOutput a(n), b(n);
  const double* const* in = sig.inputs();
  for (int pos = 0, k = 0; pos < n; pos += block, ++k) {
    double rate = fs;
    change(k, s, sw, rate);
    if (rate != fs) {
      fs = rate;
      product->Reset(s, fs);
      oracle->Reset(s, fs);
    }
    const double* bi[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
    double* ao[2] = {a.l.data() + pos, a.r.data() + pos};
    double* bo[2] = {b.l.data() + pos, b.r.data() + pos};
    product->Process(bi, ao, block, s, sw, fs);
    oracle->Process(bi, bo, block, s, sw, fs);
  }
  return std::max(MaxDiff(a.l, b.l), MaxDiff(a.r, b.r));
}

TEST(ChainOracle, ParameterChangesBetweenBlocksStayWithinTolerance) {
  // Sweep everything the block set-up and the caches depend on, including a rate change and Reset.
  const double worst =
      SideBySide(16384, 256, 7, [](int k, QuorvaneSettings& s, QuorvaneSwitches& sw, double& rate) {
        s.attackMs = (k % 3 == 0) ? 0.3 : 30.0;
        s.releaseMs = (k % 5 < 2) ? 100.0 : 1200.0;
        s.transientTilt = 0.25 + 0.05 * (k % 21);
        s.transientMix = (k % 4) * 0.3;
        s.thresholdPos = -15.0 + k % 30;
        sw.turbo = (k / 7) % 2;
        sw.xformer = (k / 11) % 2;
        sw.externalSidechain = (k / 13) % 2;
        if (k >= 40) rate = 44100.0;
      });
  EXPECT_LE(worst, kTolerance);
}

TEST(ChainOracle, EqualiserChangesBetweenBlocksStayWithinTolerance) {
  // Each filter input changes alone, and some blocks repeat the previous set exactly.
  const double worst = SideBySide(8192, 128, 11, [](int k, QuorvaneSettings& s, QuorvaneSwitches&, double&) {
    s.hpfPos = (k / 3) % 2 ? 250.0 : 20.0;
    s.midGainDb = (k / 5) % 2 ? 3.5 : -2.0;
    s.hfDb = (k / 7) % 2 ? -0.0 : 0.0;
    if (k % 11 == 10) s.hfDb = -7.5;
  });
  EXPECT_LE(worst, kTolerance);
}

TEST(ChainOracle, SettledRampsFollowALaterChange) {
  // A second at one setting lets the mix ramp settle (the chain then works its values out once a
  // chunk); the mix and make-up then move, and the ramps must move with them.
  const double worst = SideBySide(56320, 512, 5, [](int k, QuorvaneSettings& s, QuorvaneSwitches&, double&) {
    if (k >= 94) {
      s.compMix = 0.5;
      s.makeUpGain = 2.0;
    }
  });
  EXPECT_LE(worst, kTolerance);
}
