// Each vector form of the chain's passes against the plain per-value functions: the pre-shaper bit
// for bit (the tilt that follows magnifies any difference), the saturators and the gain computer
// to a few units in the last place, and the same answers for infinities and NaNs.
#include "plugin/chain/ChainKernels.h"
#include "plugin/chain/CpuFeatures.h"
#include "plugin/dsp/GainComputer.h"
#include "plugin/dsp/Shapers.h"
#include "plugin/dsp/TiltPreTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Close to within a few ulp, or the same kind of non-finite value.
void ExpectClose(double got, double want, const char* what, double x) {
  if (!std::isfinite(want)) {
    EXPECT_EQ(std::isnan(got), std::isnan(want)) << what << "(" << x << ")";
    if (!std::isnan(want)) {
      EXPECT_EQ(got, want) << what << "(" << x << ")";
    }
    return;
  }
  EXPECT_NEAR(got, want, 1e-14 * std::max(1.0, std::fabs(want))) << what << "(" << x << ")";
}

std::vector<double> Inputs() {
  std::vector<double> v = {0.0, -0.0, 1e-300, -1e-12, 0.3, -0.7, 1.0, 2.5, -40.0, 1e300, kInf, -kInf, NAN};
  for (int i = -300; i <= 300; ++i) v.push_back(i * 0.0137);
  while (v.size() % ChainKernels::kPad) v.push_back(0.5);
  return v;
}

}  // namespace

TEST(ChainKernels, EveryVectorFormAgreesWithThePlainFunctions) {
  const std::vector<double> in = Inputs();
  const int n = static_cast<int>(in.size());
  for (int k = 0; k < ChainKernels::Count(); ++k) {
    const ChainKernels& kern = ChainKernels::At(k);
    SCOPED_TRACE(kern.name);
    std::vector<double> a(in), b(in), c(n + ChainKernels::kPad), gr(n + ChainKernels::kPad),
        g(n + ChainKernels::kPad);
    kern.inputStage(a.data(), n, 0);
    kern.inputStage(b.data(), n, 1);
    for (int i = 0; i < n; ++i) {
      ExpectClose(a[i], 1.7782794100389228 * softSat(0.5623413251903491 * in[i]), "stage", in[i]);
      ExpectClose(b[i], 5.623413251903491 * xformerShape(softSat(0.1778279410038923 * in[i])), "xformer",
                  in[i]);
    }
    a = in;
    kern.detectorSaturator(a.data(), n);
    b = in;
    kern.outputStage(b.data(), n);
    for (int i = 0; i < n; ++i) {
      ExpectClose(a[i], softSat(in[i]), "softSat", in[i]);
      ExpectClose(b[i], 5.623413251903491 * xformerShape(0.1778279410038923 * in[i]), "output", in[i]);
    }
    kern.preShaper(in.data(), c.data(), n, 7.5);
    for (int i = 0; i < n; ++i) {
      const double want = tiltPreShape(in[i] * 7.5) / 7.5;
      EXPECT_EQ(std::memcmp(&c[i], &want, sizeof want), 0) << "preShaper(" << in[i] << ")";
    }
    // Envelopes from silence to far above the threshold, with a knee and without one.
    std::vector<double> env(n), threshold(n, -20.0);
    for (int i = 0; i < n; ++i) env[i] = std::fabs(in[i]) * 0.1;
    for (double knee : {0.0, 0.95}) {
      kern.gainComputer({env.data(), gr.data(), g.data(), n}, {threshold.data(), 4.0, knee});
      GainComputer computer;
      computer.init(4.0, knee);
      computer.setThreshold(-20.0);
      for (int i = 0; i < n; ++i) {
        if (!std::isfinite(env[i])) continue;
        const double want = computer.process(env[i]);
        ExpectClose(gr[i], want, "gain computer", env[i]);
        ExpectClose(g[i], std::exp(want * 0.1151292546497), "gain", env[i]);
      }
    }
  }
}

// A value's result must not depend on the values beside it in a vector (the passes take shortcuts for
// small values): otherwise the output would change with where block boundaries fall.
TEST(ChainKernels, EachValueIsComputedAlone) {
  for (int k = 0; k < ChainKernels::Count(); ++k) {
    const ChainKernels& kern = ChainKernels::At(k);
    SCOPED_TRACE(kern.name);
    for (double v : {0.01, 0.29, 0.31, 0.5, -0.52, 1.0, -2.0, 2.3, 2.5}) {
      for (int xformer = 0; xformer < 2; ++xformer) {
        std::vector<double> quiet(ChainKernels::kPad, 0.001), loud(ChainKernels::kPad, 40.0);
        quiet[0] = loud[0] = v;
        kern.inputStage(quiet.data(), 1, xformer);
        kern.inputStage(loud.data(), 1, xformer);
        EXPECT_EQ(std::memcmp(&quiet[0], &loud[0], sizeof v), 0) << v << " xformer " << xformer;
      }
    }
  }
}

// Quiet vectors skip the log and exp: a value near the knee's lower edge (-29.5 dB here) must give the
// same bits, the sign of a zero reduction included, whether its vector skips or takes the full path.
TEST(ChainKernels, QuietSkipGivesTheFullPathsBits) {
  const double edge = std::pow(10.0, -29.5 / 20.0);
  const int n = 64;
  for (int k = 0; k < ChainKernels::Count(); ++k) {
    const ChainKernels& kern = ChainKernels::At(k);
    SCOPED_TRACE(kern.name);
    // A settled threshold and one still moving: the quiet bound is found in two ways.
    for (double stepDb : {0.0, 0.001}) {
      for (double v : {0.0, -0.0, 4e-320, 1e-5, edge * (1 - 2e-6), -edge * (1 - 5e-7), edge, edge * 1.001}) {
        std::vector<double> quiet(n + ChainKernels::kPad, v), mixed(quiet), threshold(quiet.size());
        for (size_t i = 0; i < threshold.size(); ++i) threshold[i] = -20.0 + stepDb * static_cast<double>(i);
        for (size_t i = 1; i < mixed.size(); i += 2) mixed[i] = 1.0;
        std::vector<double> gr[2], g[2];
        for (int m = 0; m < 2; ++m) {
          gr[m].resize(quiet.size());
          g[m].resize(quiet.size());
          kern.gainComputer({m == 0 ? quiet.data() : mixed.data(), gr[m].data(), g[m].data(), n},
                            {threshold.data(), 4.0, 0.95});
        }
        for (int i = 0; i < n; i += 2) {
          EXPECT_EQ(std::memcmp(&gr[0][i], &gr[1][i], sizeof v), 0) << v << " at " << i;
          EXPECT_EQ(std::memcmp(&g[0][i], &g[1][i], sizeof v), 0) << v << " at " << i;
        }
      }
    }
  }
}

// The wider forms only where the CPU has the instructions and the system saves their registers:
// an AVX-512 CPU whose system has not enabled the ZMM state (macOS before a thread's first use) runs
// AVX2, and XCR0 means nothing without OSXSAVE.
TEST(ChainKernels, CpuFeaturesNeedInstructionsAndSavedState) {
  const uint32_t osxsave = 1u << 27, fma = 1u << 12, avx2 = 1u << 5, avx512f = 1u << 16;
  const struct {
    uint32_t ecx, ebx;
    uint64_t xcr0;
    bool avx2Fma, avx512f;
  } cases[] = {
      {osxsave | fma, avx2 | avx512f, 0xE7, true, true},  {osxsave | fma, avx2 | avx512f, 0x07, true, false},
      {osxsave | fma, avx2 | avx512f, 0x67, true, false}, {fma, avx2 | avx512f, 0xE7, false, false},
      {osxsave, avx2 | avx512f, 0xE7, false, false},      {osxsave | fma, avx512f, 0xE7, false, false},
      {osxsave | fma, avx2, 0x03, false, false},          {osxsave | fma, avx2, 0x05, false, false},
  };
  for (const auto& c : cases) {
    const CpuFeatures f = CpuFeatures::FromRegisters(c.ecx, c.ebx, c.xcr0);
    EXPECT_EQ(f.avx2Fma, c.avx2Fma) << std::hex << c.ecx << " " << c.ebx << " " << c.xcr0;
    EXPECT_EQ(f.avx512f, c.avx512f) << std::hex << c.ecx << " " << c.ebx << " " << c.xcr0;
  }
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__APPLE__)
  // This machine's answer agrees with the compiler runtime's own test.
  __builtin_cpu_init();
  EXPECT_EQ(CpuFeatures::Detect().avx2Fma, __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"));
  EXPECT_EQ(CpuFeatures::Detect().avx512f, __builtin_cpu_supports("avx512f") != 0);
#endif
#if !defined(__x86_64__)
  // Other architectures (arm64) run the portable passes alone, on NEON.
  EXPECT_FALSE(CpuFeatures::Detect().avx2Fma);
  EXPECT_EQ(ChainKernels::Count(), 1);
  EXPECT_STREQ(ChainKernels::Best().name, "portable");
#endif
}
