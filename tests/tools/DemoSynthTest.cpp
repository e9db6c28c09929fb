// The built-in demo loop: the same rate and length always give the same samples, however the
// host happens to split the reads, and the material is a usable level for a compressor.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/audio/DemoSynth.h"
#include "host/audio/Levels.h"

using namespace qvhost;

namespace {

std::vector<std::vector<double>> renderDemo(double rate, double seconds, size_t chunk) {
  DemoSynth synth(rate, seconds);
  std::vector<std::vector<double>> out(2);
  std::vector<double> l(chunk), r(chunk);
  double* ptrs[2] = {l.data(), r.data()};
  for (;;) {
    const size_t n = synth.read(ptrs, chunk);
    if (n == 0) break;
    out[0].insert(out[0].end(), l.begin(), l.begin() + static_cast<std::ptrdiff_t>(n));
    out[1].insert(out[1].end(), r.begin(), r.begin() + static_cast<std::ptrdiff_t>(n));
  }
  return out;
}

}  // namespace

TEST(DemoSynth, IsDeterministicWhateverTheReadSizes) {
  const auto a = renderDemo(48000, 3.0, 512);
  const auto b = renderDemo(48000, 3.0, 37);
  const auto c = renderDemo(48000, 3.0, 48000 * 3);
  ASSERT_EQ(a[0].size(), 144000u);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  DemoSynth synth(48000, 3.0);
  EXPECT_EQ(synth.totalFrames(), 144000);
  EXPECT_EQ(synth.channelCount(), 2);
}

TEST(DemoSynth, ProducesAStereoLoopAtAUsableLevel) {
  const auto a = renderDemo(44100, 2.0, 1024);
  ASSERT_EQ(a[0].size(), 88200u);
  LevelMeter meter;
  const double* ptrs[2] = {a[0].data(), a[1].data()};
  meter.add(ptrs, 2, a[0].size());
  EXPECT_LT(meter.peakDb(), -0.5);
  EXPECT_GT(meter.peakDb(), -12.0);
  EXPECT_GT(meter.rmsDb(), -30.0);
  // Hats are panned, so the channels differ; every sample is finite.
  EXPECT_NE(a[0], a[1]);
  for (const auto& ch : a) {
    for (double v : ch) ASSERT_TRUE(std::isfinite(v));
  }
}

TEST(DemoSynth, LevelMeterReportsSilenceAsMinusInfinity) {
  LevelMeter meter;
  EXPECT_TRUE(std::isinf(meter.rmsDb()) && meter.rmsDb() < 0);
  std::vector<double> zeros(100, 0.0), half(100, 0.5);
  const double* z[1] = {zeros.data()};
  meter.add(z, 1, zeros.size());
  EXPECT_TRUE(std::isinf(meter.peakDb()));
  const double* h[1] = {half.data()};
  meter.add(h, 1, half.size());
  EXPECT_NEAR(meter.peakDb(), -6.0206, 1e-3);
  EXPECT_NEAR(meter.rmsDb(), 20 * std::log10(std::sqrt(0.125)), 1e-9);
}
