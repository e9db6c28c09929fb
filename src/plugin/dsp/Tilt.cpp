// Transient tilt shaper: control smoothing, coefficient assembly and the fifth-order recursion.
#include "plugin/dsp/Tilt.h"

#include <cmath>
#include <limits>

#include "plugin/dsp/TiltCoefficients.h"

namespace {

constexpr double kFeedback = 0.993;
constexpr double kLinearGain = 0.007000000000000006;
constexpr double kLogGain = 0.004073836948085289;  // 0.007 / (e - 1): settles at (e^c - 1) / (e - 1)
constexpr double kMaxFs = 192000.0;

int32_t TruncateRate(double sampleRate) {
  if (std::isnan(sampleRate)) return 0;
  if (sampleRate >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (sampleRate <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sampleRate);
}

}  // namespace

Tilt::Tilt() { Calc(44100.0); }

void Tilt::Reset() {
  for (int i = 0; i < 4; ++i) {
    mSmoothed[i] = 0.0;
    mTarget[i] = 0.0;
    mTaperValid[i] = false;
  }
  for (double& z : mZ) z = 0.0;
  mSettled = false;
}

void Tilt::Calc(double sampleRate) {
  mSampleRateInt = TruncateRate(sampleRate);
  double fs = static_cast<double>(mSampleRateInt);
  if (fs < 1.0) fs = 1.0;
  if (fs > kMaxFs) fs = kMaxFs;
  if (fs == mFsClamped) return;  // same terms as before
  mFsClamped = fs;
  const float f = static_cast<float>(fs);
  mOutScale = 0.1 * static_cast<double>(f * f);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const double* c = kTiltDenTerms[i][j];
      mDenTerms[i][j] = ((((c[5] * fs + c[4]) * fs + c[3]) * fs + c[2]) * fs + c[1]) * fs + c[0];
    }
    for (int j = 0; j < 8; ++j) {
      const double* c = kTiltNumTerms[i][j];
      mNumTerms[i][j] = ((((c[5] * fs + c[4]) * fs + c[3]) * fs + c[2]) * fs + c[1]) * fs + c[0];
    }
  }
  mCoefValid = false;
  mSettled = false;
}

double Tilt::Target(int index, double c, double lo, double hi) {
  if (!std::isfinite(c)) return mTarget[index];
  return c < lo ? lo : (c > hi ? hi : c);
}

void Tilt::BuildCoefficients(double s2, double s3, double s4) {
  const double s3s3 = s3 * s3;
  const double s23 = s2 * s3;
  const double s24 = s2 * s4;
  const double s34 = s3 * s4;
  const double s234 = s23 * s4;
  for (int i = 0; i < 6; ++i) {
    const double* d = mDenTerms[i];
    mA[i] = d[0] + d[1] * s3 + d[2] * s3s3 + s2 * (d[3] + d[4] * s3 + d[5] * s3s3);
    const double* n = mNumTerms[i];
    mB[i] = n[0] + n[1] * s2 + n[2] * s3 + n[3] * s4 + n[4] * s23 + n[5] * s24 + n[6] * s34 +
            n[7] * s234;
  }
  mCoefS[0] = s2;
  mCoefS[1] = s3;
  mCoefS[2] = s4;
  mCoefValid = true;
}

template <bool kCached>
double Tilt::Step(double x, double c1, double c2, double c3, double c4) {
  const double t[4] = {Target(0, c1, 0.0, 1.0), Target(1, c2, 0.0, 1.25), Target(2, c3, 0.0, 1.25),
                       Target(3, c4, 0.0, 1.0)};
  // Tapers: e^c - 1 for controls 1 and 3, e^(1 - c) - 1 for control 4. The exponentials only change
  // with their targets.
  for (int i = 0; i < 4; ++i) {
    if (i == 1) continue;
    if (!kCached || !mTaperValid[i] || t[i] != mTarget[i]) {
      mTaper[i] = std::exp(i == 3 ? 1.0 - t[i] : t[i]) - 1.0;
      mTaperValid[i] = true;
    }
    mTarget[i] = t[i];
  }
  mTarget[1] = t[1];

  const double s1 = kFeedback * mSmoothed[0] + kLogGain * mTaper[0];
  const double s2 = kFeedback * mSmoothed[1] + kLinearGain * t[1];
  const double s3 = kFeedback * mSmoothed[2] + kLogGain * mTaper[2];
  const double s4 = kFeedback * mSmoothed[3] + kLogGain * mTaper[3];
  mSmoothed[0] = s1;
  mSmoothed[1] = s2;
  mSmoothed[2] = s3;
  mSmoothed[3] = s4;

  // Once the smoothed controls have settled they repeat exactly, and so would the coefficients.
  if (!kCached || !mCoefValid || s2 != mCoefS[0] || s3 != mCoefS[1] || s4 != mCoefS[2])
    BuildCoefficients(s2, s3, s4);

  mGain = mOutScale * s1;
  mSettled = false;
  return Recursion(x);
}

double Tilt::ProcessSettling(double x, double c1, double c2, double c3, double c4) {
  uint64_t before[4];
  for (int i = 0; i < 4; ++i) before[i] = Bits(mSmoothed[i]);
  const double y = Step<true>(x, c1, c2, c3, c4);
  bool settled = true;
  for (int i = 0; i < 4; ++i) settled &= Bits(mSmoothed[i]) == before[i];
  mSettled = settled;
  mLastControl[0] = Bits(c1);
  mLastControl[1] = Bits(c2);
  mLastControl[2] = Bits(c3);
  mLastControl[3] = Bits(c4);
  return y;
}

double Tilt::ProcessUncached(double x, double c1, double c2, double c3, double c4) {
  return Step<false>(x, c1, c2, c3, c4);
}
