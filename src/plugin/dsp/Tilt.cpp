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
  }
  for (double& z : mZ) z = 0.0;
  mCoefValid = false;
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

double Tilt::Target(int index, double c, double lo, double hi) const {
  if (!std::isfinite(c)) return mTarget[index];
  return c < lo ? lo : (c > hi ? hi : c);
}

// Targets for c1..c4 and their tapers: e^c - 1 for controls 1 and 3, e^(1 - c) - 1 for control 4.
void Tilt::Tapers(const double t[4], double taper[4]) {
  taper[0] = std::exp(t[0]) - 1.0;
  taper[1] = 0.0;
  taper[2] = std::exp(t[2]) - 1.0;
  taper[3] = std::exp(1.0 - t[3]) - 1.0;
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
    mB[i] = n[0] + n[1] * s2 + n[2] * s3 + n[3] * s4 + n[4] * s23 + n[5] * s24 + n[6] * s34 + n[7] * s234;
  }
}

void Tilt::Smooth(double c1, double c2, double c3, double c4) {
  const double t[4] = {Target(0, c1, 0.0, 1.0), Target(1, c2, 0.0, 1.25), Target(2, c3, 0.0, 1.25),
                       Target(3, c4, 0.0, 1.0)};
  if (!(mCoefValid && t[0] == mTarget[0] && t[2] == mTarget[2] && t[3] == mTarget[3])) Tapers(t, mTaper);
  for (int i = 0; i < 4; ++i) mTarget[i] = t[i];

  const double s[4] = {
      kFeedback * mSmoothed[0] + kLogGain * mTaper[0], kFeedback * mSmoothed[1] + kLinearGain * t[1],
      kFeedback * mSmoothed[2] + kLogGain * mTaper[2], kFeedback * mSmoothed[3] + kLogGain * mTaper[3]};
  const bool moved = !mCoefValid || s[0] != mSmoothed[0] || s[1] != mSmoothed[1] || s[2] != mSmoothed[2] ||
                     s[3] != mSmoothed[3];
  for (int i = 0; i < 4; ++i) mSmoothed[i] = s[i];
  if (moved) BuildCoefficients(s[1], s[2], s[3]);
  mGain = mOutScale * s[0];
  mCoefValid = true;
  mSettled = !moved;
  mControl[0] = c1;
  mControl[1] = c2;
  mControl[2] = c3;
  mControl[3] = c4;
}

double Tilt::ProcessUncached(double x, double c1, double c2, double c3, double c4) {
  const double t[4] = {Target(0, c1, 0.0, 1.0), Target(1, c2, 0.0, 1.25), Target(2, c3, 0.0, 1.25),
                       Target(3, c4, 0.0, 1.0)};
  Tapers(t, mTaper);
  for (int i = 0; i < 4; ++i) mTarget[i] = t[i];
  const double s1 = kFeedback * mSmoothed[0] + kLogGain * mTaper[0];
  const double s2 = kFeedback * mSmoothed[1] + kLinearGain * t[1];
  const double s3 = kFeedback * mSmoothed[2] + kLogGain * mTaper[2];
  const double s4 = kFeedback * mSmoothed[3] + kLogGain * mTaper[3];
  mSmoothed[0] = s1;
  mSmoothed[1] = s2;
  mSmoothed[2] = s3;
  mSmoothed[3] = s4;
  BuildCoefficients(s2, s3, s4);
  mCoefValid = false;  // the normalised coefficients were not kept up to date
  mSettled = false;

  if (!std::isfinite(x)) x = 0.0;
  const double* a = mA;
  const double* b = mB;
  double* z = mZ;
  double z0 = 2.0 * x - (a[1] * z[1] + a[2] * z[2] + a[3] * z[3] + a[4] * z[4] + a[5] * z[5]) / a[0];
  if (!(std::fabs(z0) <= kStateLimit)) {
    for (int i = 0; i < 6; ++i) z[i] = 0.0;
    z0 = 0.0;
  }
  z[0] = z0;
  const double y = mOutScale * s1 *
                   (b[0] * z[0] + b[1] * z[1] + b[2] * z[2] + b[3] * z[3] + b[4] * z[4] + b[5] * z[5]) / a[0];
  z[5] = z[4];
  z[4] = z[3];
  z[3] = z[2];
  z[2] = z[1];
  z[1] = z[0];
  return y;
}
