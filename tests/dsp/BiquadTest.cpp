// Biquad: defaults, response types by their gains at DC, centre and Nyquist, and slot independence.
#include "plugin/dsp/Biquad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

// Magnitude of the response at a frequency, from the coefficients.
double MagnitudeDb(const Biquad& f, double hz) {
  const double w = 6.283185307179586 * hz / f.getFs();
  const Biquad::Coefficients c = f.coefficients();
  const std::complex<double> z1 = std::polar(1.0, -w), z2 = z1 * z1;
  const std::complex<double> h = (double(c.b0) + double(c.b1) * z1 + double(c.b2) * z2) /
                                 (double(c.a0) + double(c.a1) * z1 + double(c.a2) * z2);
  return 20.0 * std::log10(std::abs(h));
}

Biquad Make(int type, float freq, float q, float gainDb, float fs = 48000.0f) {
  Biquad f;
  f.setType(type);
  f.setAmpdB(gainDb);
  f.setQ(q);
  f.setFs(fs);
  f.setFreq(freq);
  return f;
}

}  // namespace

TEST(Biquad, DefaultPassesInputAndDerivedDefaultsAgree) {
  Biquad f;
  for (float x : {1.0f, -0.5f, 0.25f, 0.0f, 3.0f}) EXPECT_EQ(f.processSample(x, 0), x);
  EXPECT_FLOAT_EQ(f.getW0(), 20.0f * 6.2831855f / 48000.0f);
  EXPECT_FLOAT_EQ(f.getAlpha(), std::sin(f.getW0()) / (2.0f * 0.707f));
}

TEST(Biquad, ResponseTypes) {
  const Biquad lp = Make(kLowPass, 1000, 0.707f, 0);
  EXPECT_NEAR(MagnitudeDb(lp, 1), 0.0, 0.01);
  EXPECT_NEAR(MagnitudeDb(lp, 1000), -3.01, 0.05);
  EXPECT_LT(MagnitudeDb(lp, 20000), -30.0);
  EXPECT_EQ(lp.coefficients().a1, static_cast<float>(-2.0 * std::cos(static_cast<double>(lp.getW0()))));

  const Biquad hp = Make(kHighPass, 1000, 0.707f, 1);  // gain ignored
  EXPECT_LT(MagnitudeDb(hp, 20), -60.0);
  EXPECT_NEAR(MagnitudeDb(hp, 1000), -3.01, 0.05);
  EXPECT_NEAR(MagnitudeDb(hp, 23000), 0.0, 0.01);

  const Biquad bpPeak = Make(kBandPassPeak, 2000, 2.0f, 0);
  EXPECT_NEAR(MagnitudeDb(bpPeak, 2000), 0.0, 0.01);
  const Biquad bpSkirt = Make(kBandPassSkirt, 2000, 2.0f, 0);
  EXPECT_NEAR(MagnitudeDb(bpSkirt, 2000), 20.0 * std::log10(2.0), 0.05);  // peak gain = Q
  const Biquad notch = Make(kNotch, 2000, 2.0f, 0);
  EXPECT_LT(MagnitudeDb(notch, 2000), -80.0);
  EXPECT_NEAR(MagnitudeDb(notch, 20), 0.0, 0.01);

  const Biquad peak = Make(kPeaking, 1600, 0.507f, 6);
  EXPECT_NEAR(MagnitudeDb(peak, 1600), 6.0, 0.01);
  EXPECT_NEAR(MagnitudeDb(peak, 10), 0.0, 0.05);
  const Biquad flat = Make(kPeaking, 1600, 0.507f, 0);
  EXPECT_EQ(flat.coefficients().b0, flat.coefficients().a0);
  EXPECT_EQ(flat.coefficients().b2, flat.coefficients().a2);

  const Biquad hs = Make(kHighShelf, 5000, 0.3f, 10);
  EXPECT_NEAR(MagnitudeDb(hs, 23900), 10.0, 0.2);
  EXPECT_NEAR(MagnitudeDb(hs, 20), 0.0, 0.2);
  const Biquad ls = Make(kLowShelf, 200, 0.3f, -8);
  EXPECT_NEAR(MagnitudeDb(ls, 5), -8.0, 0.2);
  EXPECT_NEAR(MagnitudeDb(ls, 20000), 0.0, 0.2);

  const Biquad ap = Make(kAllPass, 3000, 0.7f, 0);
  for (double hz : {50.0, 3000.0, 15000.0}) EXPECT_NEAR(MagnitudeDb(ap, hz), 0.0, 0.01);

  // Unknown types filter as a low-pass, with a single-precision cosine.
  const Biquad odd = Make(9, 1000, 0.707f, 0);
  EXPECT_EQ(odd.coefficients().b0, lp.coefficients().b0);
  EXPECT_EQ(odd.coefficients().a1, -2.0f * std::cos(odd.getW0()));
  EXPECT_NEAR(MagnitudeDb(odd, 1000), -3.01, 0.05);
}

TEST(Biquad, SetFsAloneKeepsTheOldNormalisedFrequency) {
  Biquad f = Make(kLowPass, 1000, 0.707f, 0, 48000.0f);
  const float w0 = f.getW0();
  f.setFs(96000.0f);
  EXPECT_EQ(f.getW0(), w0);
  EXPECT_NEAR(MagnitudeDb(f, 2000), -3.01, 0.05);  // cut-off moved with the rate
  f.setFreq(1000.0f);
  EXPECT_NEAR(MagnitudeDb(f, 1000), -3.01, 0.05);
  // Writing the type does not recompute until a setter runs.
  f.setType(kHighPass);
  EXPECT_NEAR(MagnitudeDb(f, 1000), -3.01, 0.05);
  EXPECT_GT(MagnitudeDb(f, 10), -0.1);
  f.setQ(0.707f);
  EXPECT_LT(MagnitudeDb(f, 10), -60.0);
}

TEST(Biquad, SlotsAreIndependentAndMatchTheBlockFilter) {
  Biquad shared = Make(kPeaking, 1600, 0.507f, 6);
  Biquad solo0 = shared, solo1 = shared;
  std::vector<float> a(64), b(64);
  for (int i = 0; i < 64; ++i) {
    a[i] = std::sin(0.3f * i);
    b[i] = (i % 7 == 0) ? 1.0f : -0.25f;
  }
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(shared.processSample(a[i], 0), solo0.processSample(a[i], 0));
    EXPECT_EQ(shared.processSample(b[i], 1), solo1.processSample(b[i], 1));
  }
  Biquad block = Make(kPeaking, 1600, 0.507f, 6);
  Biquad sampleWise = block;
  std::vector<float> buf = a;
  block.processBuffer(buf.data(), 64, 1);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(buf[i], sampleWise.processSample(a[i], 1));

  // Two filters side by side in one register: each lane bit for bit its own filter, state included.
  Biquad l = Make(kHighPass, 120, 0.707f, 1), r = Make(kHighShelf, 5000, 0.3f, 10);
  Biquad lRef = l, rRef = r;
  Biquad::PairRun run(l, r, 1);
  for (int i = 0; i < 64; ++i) {
    const PairF y = run.step(PairF::Of(a[i], b[i]));
    EXPECT_EQ(y.L(), lRef.processSample(a[i], 1));
    EXPECT_EQ(y.R(), rRef.processSample(b[i], 1));
  }
  run.clear(2);  // the right channel starts again from silence
  rRef.clear(1);
  run.finish();
  EXPECT_EQ(l.processSample(0.5f, 1), lRef.processSample(0.5f, 1));
  EXPECT_EQ(r.processSample(0.5f, 1), rRef.processSample(0.5f, 1));
}
