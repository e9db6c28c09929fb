// Behaviour of the signal chain as a user hears it: pass-through, mix, detector voicings, ramps,
// block-size independence and robustness against bad samples and extreme rates.
#include "plugin/QuorvaneChain.h"
#include "plugin/TestSignals.h"
#include "plugin/chain/FlushDenormals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

constexpr double kFs = 48000.0;

struct Rig {
  std::unique_ptr<QuorvaneChain> chain = std::make_unique<QuorvaneChain>();
  QuorvaneSettings s;
  QuorvaneSwitches sw;
  double fs = kFs;

  Rig() { chain->Reset(s, fs); }
  void Reset() { chain->Reset(s, fs); }

  // Processes n frames of constant or generated input; returns the outputs.
  StereoOutput Process(StereoSignal& sig, int blockSize = 512) {
    StereoOutput out(sig.frames);
    RenderInBlocks(*chain, sig, out, s, sw, fs, blockSize);
    return out;
  }
};

StereoSignal Constant(int n, double l, double r, double scL = 0.0, double scR = 0.0) {
  StereoSignal sig(n);
  for (int i = 0; i < n; ++i) {
    sig.ch[0][i] = l;
    sig.ch[1][i] = r;
    sig.ch[2][i] = scL;
    sig.ch[3][i] = scR;
  }
  return sig;
}

StereoSignal Sine(int n, double hz, double ampL, double ampR, double fs = kFs) {
  StereoSignal sig(n);
  for (int i = 0; i < n; ++i) {
    const double v = std::sin(6.283185307179586 * hz * i / fs);
    sig.ch[0][i] = ampL * v;
    sig.ch[1][i] = ampR * v;
    sig.ch[2][i] = sig.ch[3][i] = 0.0;
  }
  return sig;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b, size_t from = 0) {
  return a.size() == b.size() &&
         std::memcmp(a.data() + from, b.data() + from, (a.size() - from) * sizeof(double)) == 0;
}

double Offset(int i) { return i % 2 == 0 ? 1e-15 : -1e-15; }

}  // namespace

TEST(Chain, SilenceInGivesSilenceOutAndNoReduction) {
  Rig run;
  auto sig = Constant(4800, 0.0, 0.0);
  int calls = 0;
  double last = 2.0;
  StereoOutput out(sig.frames);
  const double* const* in = sig.inputs();
  double* o[2] = {out.l.data(), out.r.data()};
  std::pair<int*, double*> meterState(&calls, &last);
  run.chain->Process(
      in, o, sig.frames, run.s, run.sw, run.fs,
      [](void* ctx, const double* levels, int count) {
        auto* p = static_cast<std::pair<int*, double*>*>(ctx);
        for (int i = 0; i < count; ++i) {
          ++*p->first;
          EXPECT_LE(levels[i], *p->second);  // the meter falls from full scale
          *p->second = levels[i];
        }
      },
      &meterState);
  EXPECT_EQ(calls, sig.frames);
  for (int i = 0; i < sig.frames; ++i) {
    EXPECT_LT(std::fabs(out.l[i]), 1e-14);
    EXPECT_LT(std::fabs(out.r[i]), 1e-14);
  }
  EXPECT_EQ(run.chain->GainReductionDb(), 0.0);
  EXPECT_LT(run.chain->MeterLevel(), 0.8);
}

TEST(Chain, BypassZeroPassesInputPlusOffsetWhateverElse) {
  Rig run;
  run.sw.bypass = 0;
  run.sw.xformer = 1;
  run.sw.turbo = 1;
  run.s.makeUpGain = 5.6;
  run.s.thresholdPos = -15.0;
  run.s.compMix = 0.3;
  StereoSignal sig(6000);
  const auto out = run.Process(sig, 333);
  for (int i = 0; i < sig.frames; ++i) {
    ASSERT_EQ(out.l[i], sig.ch[0][i] + Offset(i)) << i;
    ASSERT_EQ(out.r[i], sig.ch[1][i] + Offset(i)) << i;
  }
  EXPECT_LT(run.chain->GainReductionDb(), 0.0);  // the compressor keeps running behind the bypass
}

TEST(Chain, CompressorMixEndsAtDryAndWet) {
  StereoSignal sig(24000);
  Rig dry, half, wet;
  dry.s.compMix = 0.0;
  half.s.compMix = 0.5;
  for (Rig* r : {&dry, &half, &wet}) {
    r->s.thresholdPos = -15.0;
    r->s.ratio = 4.0;
    r->s.kneeFactor = 0.7;
  }
  const auto d = dry.Process(sig), h = half.Process(sig), w = wet.Process(sig);
  // A wet share starting at 0 and aiming at 0 stays 0: exactly the input.
  EXPECT_TRUE(SameBits(d.l, sig.ch[0]));
  EXPECT_TRUE(SameBits(d.r, sig.ch[1]));
  // Once settled, 50 % is the average of dry and fully processed, and the processed part is compressed.
  double reduced = 0.0;
  for (int i = 4800; i < sig.frames; ++i) {
    EXPECT_NEAR(w.l[i], 2.0 * h.l[i] - sig.ch[0][i], 1e-9);
    reduced = std::max(reduced, std::fabs(sig.ch[0][i]) - std::fabs(w.l[i]));
  }
  EXPECT_GT(reduced, 0.05);
}

TEST(Chain, ExternalSidechainWithoutSignalNeverReduces) {
  Rig run;
  run.sw.externalSidechain = 1;
  run.s.thresholdPos = -15.0;
  run.s.ratio = 10.0;
  run.s.kneeFactor = 0.3;
  StereoSignal sig(9600);
  for (int c = 2; c < 4; ++c) std::fill(sig.ch[c].begin(), sig.ch[c].end(), 0.0);
  StereoOutput out(sig.frames);
  const double* const* in = sig.inputs();
  for (int pos = 0; pos < sig.frames; pos += 64) {
    const double* bi[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
    double* bo[2] = {out.l.data() + pos, out.r.data() + pos};
    run.chain->Process(bi, bo, 64, run.s, run.sw, run.fs);
    ASSERT_EQ(run.chain->GainReductionDb(), 0.0);
  }
}

TEST(Chain, TurboAveragesTheChannelsWhileLinkedModeTakesTheLargerValue) {
  auto envelopeFor = [](int turbo, double ampR) {
    Rig run;
    run.sw.turbo = turbo;
    run.s.releaseMs = 2000.0;
    auto sig = Sine(9600, 1000.0, 0.5, ampR);
    run.Process(sig);
    return run.chain->Comp().detector().envelope();
  };
  EXPECT_NEAR(envelopeFor(1, 0.0) / envelopeFor(1, 0.5), 0.5, 0.01);
  EXPECT_NEAR(envelopeFor(0, 0.0) / envelopeFor(0, 0.5), 1.0, 0.02);
}

TEST(Chain, HighPassFrequencyFollowsHpfAndTurbo) {
  const struct {
    double pos;
    int turbo;
    float hz;
  } cases[] = {{20, 0, 120.0f}, {20, 1, 20.0f}, {500, 0, 1000.0f}, {500, 1, 1000.0f}, {260, 0, 560.0f}};
  for (const auto& c : cases) {
    Rig run;
    run.s.hpfPos = c.pos;
    run.sw.turbo = c.turbo;
    auto sig = Constant(1, 0.0, 0.0);
    run.Process(sig);
    EXPECT_FLOAT_EQ(run.chain->Filter(QuorvaneChain::kHighPassL).getFreq(), c.hz);
    EXPECT_FLOAT_EQ(run.chain->Filter(QuorvaneChain::kHighPassR).getFreq(), c.hz);
    EXPECT_FLOAT_EQ(run.chain->Filter(QuorvaneChain::kPeakL).getAmpdB(), c.turbo ? 0.0f : 4.0f);
  }
}

TEST(Chain, TransientControlsAreInaudibleWithoutTransientMix) {
  StereoSignal sig(9600);
  Rig a, b;
  for (Rig* r : {&a, &b}) r->s.thresholdPos = -15.0;
  b.s.boostGain = std::pow(10.0, 0.5);
  b.s.transientTilt = 1.25;
  const auto oa = a.Process(sig), ob = b.Process(sig);
  EXPECT_TRUE(SameBits(oa.l, ob.l));
  EXPECT_TRUE(SameBits(oa.r, ob.r));
  // ...and audible with it.
  Rig c;
  c.s.thresholdPos = -15.0;
  c.s.transientMix = 1.0;
  c.s.transientTilt = 1.25;
  EXPECT_FALSE(SameBits(c.Process(sig).l, oa.l));
}

TEST(Chain, MakeUpGainRampsWithTwoStepsPerSample) {
  Rig run;
  auto sig = Constant(48000, 0.01, 0.01);
  const auto settled = run.Process(sig);
  const double before = settled.l.back();
  run.s.makeUpGain = std::pow(10.0, 15.0 / 20.0);
  auto step = Constant(2000, 0.01, 0.01);
  const auto out = run.Process(step);
  const double g = std::exp(-6.283185307179586 * 10.0 / kFs);
  for (int n : {1, 10, 100, 1000, 2000}) {
    const double expected = run.s.makeUpGain - (run.s.makeUpGain - 1.0) * std::pow(g, 2 * n - 1);
    EXPECT_NEAR(out.l[n - 1] / before, expected, 1e-6) << n;
  }
  EXPECT_LT(out.l[0] / before, 1.01);  // not instant
}

TEST(Chain, GainFollowsReductionWithThreeSmootherStepsPerSample) {
  // The sidechain steps from silence to a loud 5 kHz tone; the program is a constant, so the output
  // traces the smoothed gain. A 50 Hz one-pole stepped three times per sample reaches 63 % in 1.06 ms.
  Rig run;
  run.sw.externalSidechain = 1;
  run.s.thresholdPos = -15.0;
  run.s.ratio = 2.0;
  run.s.kneeFactor = 0.9;
  run.s.releaseMs = 2000.0;
  auto quiet = Constant(48000, 0.01, 0.01);
  const double before = run.Process(quiet).l.back();
  StereoSignal loud(4800);
  for (int i = 0; i < loud.frames; ++i) {
    loud.ch[0][i] = loud.ch[1][i] = 0.01;
    loud.ch[2][i] = loud.ch[3][i] = 0.5 * std::sin(6.283185307179586 * 5000.0 * i / kFs);
  }
  const auto out = run.Process(loud);
  const double after = out.l.back();
  ASSERT_LT(after, 0.8 * before);
  int i = 0;
  while (i < loud.frames && out.l[i] > before - 0.632 * (before - after)) ++i;
  const double ms = 1000.0 * i / kFs;
  EXPECT_GT(ms, 1.0);
  EXPECT_LT(ms, 1.4);  // two steps per sample would take 1.6 ms
}

TEST(Chain, OutputDoesNotDependOnBlockSize) {
  StereoSignal sig(8192);
  StereoOutput ref(0);
  for (int block : {1, 64, 512, 4096}) {
    Rig run;
    run.s.thresholdPos = -10.0;
    run.s.transientMix = 0.6;
    run.sw.xformer = 1;
    const auto out = run.Process(sig, block);
    if (block == 1) {
      ref = out;
      continue;
    }
    EXPECT_TRUE(SameBits(out.l, ref.l)) << block;
    EXPECT_TRUE(SameBits(out.r, ref.r)) << block;
  }
}

TEST(Chain, NonFiniteSamplesAreHeardAsSilenceByTheDetector) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 1e300};
  for (int ext = 0; ext < 2; ++ext) {
    for (double b : bad) {
      SCOPED_TRACE(std::to_string(ext) + " " + std::to_string(b));
      const int n = 24000, at = 3001, ch = ext ? 2 : 0;
      StereoSignal clean(n), dirty(n);
      clean.ch[ch][at] = 0.0;
      dirty.ch[ch][at] = b;
      Rig a, c;
      for (Rig* r : {&a, &c}) {
        r->sw.externalSidechain = ext;
        r->s.thresholdPos = -15.0;
        r->s.transientMix = 0.5;
      }
      const auto oa = a.Process(clean);
      // Compression must carry on after the bad sample.
      StereoOutput oc(n);
      double deepest = 0.0;
      const double* const* in = dirty.inputs();
      for (int pos = 0; pos < n; pos += 100) {
        const double* bi[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
        double* bo[2] = {oc.l.data() + pos, oc.r.data() + pos};
        c.chain->Process(bi, bo, 100, c.s, c.sw, c.fs);
        if (pos > at) deepest = std::min(deepest, c.chain->GainReductionDb());
      }
      EXPECT_LT(deepest, -3.0);
      if (std::isfinite(b)) {
        // Huge but finite: the detector clips it, and nothing downstream overflows.
        for (int i = at + 1; i < n; ++i) ASSERT_TRUE(std::isfinite(oc.l[i]) && std::isfinite(oc.r[i]));
        continue;
      }
      EXPECT_TRUE(SameBits(oa.l, oc.l, at + 1));
      EXPECT_TRUE(SameBits(oa.r, oc.r, at + 1));
    }
  }
}

TEST(Chain, ExtremeSampleRatesStayFiniteAndStillCompress) {
  for (double fs : {1000.0, 8000.0, 1.2e6}) {
    SCOPED_TRACE(fs);
    Rig run;
    run.fs = fs;
    run.s.thresholdPos = -15.0;
    run.s.hfDb = -10.0;
    run.s.midGainDb = 6.0;
    run.s.transientMix = 0.5;
    run.Reset();
    auto sig = Sine(fs > 1e5 ? 60000 : 20000, 300.0, 0.7, 0.7, fs);
    const auto out = run.Process(sig);
    for (int i = 0; i < sig.frames; ++i) ASSERT_TRUE(std::isfinite(out.l[i]) && std::isfinite(out.r[i])) << i;
    EXPECT_LT(run.chain->GainReductionDb(), -1.0);
    EXPECT_LE(run.chain->Filter(QuorvaneChain::kShelfL).getFreq(), 0.5f * static_cast<float>(fs));
  }
}

TEST(Chain, OutOfRangeSwitchesActAsTheNearestValidSetting) {
  StereoSignal sig(4096);
  Rig odd, clamped;
  odd.sw = {2, -3, 9, 5};
  clamped.sw = {1, 0, 1, 1};
  const auto a = odd.Process(sig), b = clamped.Process(sig);
  EXPECT_TRUE(SameBits(a.l, b.l));
  EXPECT_TRUE(SameBits(a.r, b.r));
}

namespace {

// The floating-point control register (MXCSR on x86-64, FPCR on arm64), to see that it comes back.
uint64_t ControlRegister() {
#if defined(__SSE2__)
  return _mm_getcsr();
#elif defined(__aarch64__)
  uint64_t fpcr;
  __asm__ __volatile__("mrs %0, fpcr" : "=r"(fpcr));
  return fpcr;
#else
  return 0;
#endif
}

// True when this thread flushes subnormal results and reads subnormal operands as zero.
bool Flushing() {
  volatile double tiny = 1e-300, subnormal = 1e-310;
  return tiny * 1e-10 == 0.0 && subnormal * 1.0 == 0.0;
}

}  // namespace

// A decay through the whole subnormal range under the chain's setting never holds a subnormal value:
// each step is either a normal number or zero. This is what keeps the recursions' long decays into
// silence at full speed.
TEST(Chain, SubnormalsNeverReachTheRecursions) {
  ASSERT_FALSE(Flushing());
  {
    const FlushDenormals flush;
    EXPECT_TRUE(Flushing());
    volatile double y = 1.0;
    int steps = 0;
    while (y != 0.0 && steps < 2000) {
      y = y * 0.5;
      ++steps;
      ASSERT_TRUE(y == 0.0 || std::fabs(y) >= std::numeric_limits<double>::min()) << y;
    }
    EXPECT_EQ(y, 0.0);
    EXPECT_LT(steps, 1030);  // 2^-1022 is the smallest normal number
  }
  EXPECT_FALSE(Flushing());
}

// The chain's own passes (the meter sink is called from inside them) run flushed, and the caller's
// setting is back afterwards, also after subnormal input.
TEST(Chain, FlushesDenormalsOnlyWhileProcessing) {
  Rig run;
  const uint64_t before = ControlRegister();
  auto sig = Constant(300, 1e-310, -1e-310);
  StereoOutput out(sig.frames);
  const double* const* in = sig.inputs();
  double* outs[2] = {out.l.data(), out.r.data()};
  int flushedCalls = 0, calls = 0;
  struct Seen {
    int* flushed;
    int* calls;
  } seen{&flushedCalls, &calls};
  auto sink = [](void* context, const double*, int) {
    const Seen* s = static_cast<const Seen*>(context);
    ++*s->calls;
    if (Flushing()) ++*s->flushed;
  };
  run.chain->Process(in, outs, sig.frames, run.s, run.sw, run.fs, sink, &seen);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(flushedCalls, calls);
  EXPECT_EQ(ControlRegister(), before);
  EXPECT_FALSE(Flushing());
  for (int i = 0; i < sig.frames; ++i) ASSERT_TRUE(std::isfinite(out.l[i]));
}
