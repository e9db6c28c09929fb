// Transient tilt shaper: a fifth-order recursive tilt equaliser with four smoothed, tapered controls,
// used on the detector's transient branch.
//
// Use from the signal chain (one instance per channel):
//   Tilt t;                                   // controls and state at zero, 44.1 kHz terms until Calc
//   t.Calc(fs);                               // at every block start; free while the rate is unchanged
//   double y = t.Process(x, 0.55, tilt, tilt, 0.25);  // one sample: level, tilt (linear), tilt (log),
//                                             // second level (reverse log, unity at 0.25)
// The plug-in's Reset does not touch the shaper: its state and controls carry on. Tilt::Reset goes back
// to the constructed state (the controls fade in again) and keeps the rate.
// Targets are clamped to 0..1.25 (c2, c3) and 0..1 (c1, c4); a non-finite target keeps the previous
// one. A non-finite input counts as 0 and a state that overflows is cleared, so the output is finite at
// every rate. Process reuses the taper exponentials while the targets hold and the coefficients once
// the smoothed controls have settled; once they repeat exactly and the controls arrive unchanged, it
// runs the recursion alone. ProcessUncached recomputes everything every sample with bit-identical
// results, for reference implementations and benchmarks.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

class Tilt {
public:
  Tilt();

  void Calc(double sampleRate);
  double Process(double x, double c1, double c2, double c3, double c4) {
    if (mSettled && SameControls(c1, c2, c3, c4)) return Recursion(x);
    return ProcessSettling(x, c1, c2, c3, c4);
  }
  double ProcessUncached(double x, double c1, double c2, double c3, double c4);
  void Reset();

  int32_t SampleRateInt() const { return mSampleRateInt; }
  double FsClamped() const { return mFsClamped; }
  double OutScale() const { return mOutScale; }
  // Smoothed value of control 1..4 after the last Process.
  double Smoothed(int control) const { return mSmoothed[control - 1]; }
  // The recursion's coefficients A0..A5 and B0..B5 as of the last Process (for analysis).
  void Coefficients(double a[6], double b[6]) const {
    for (int i = 0; i < 6; ++i) {
      a[i] = mA[i];
      b[i] = mB[i];
    }
  }

private:
  // Far above anything a finite signal drives the state to; beyond it the state is cleared, which also
  // catches infinities and NaNs.
  static constexpr double kStateLimit = 1e100;

  static uint64_t Bits(double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
  }
  // Compared by their bits: the same bits give the same targets, non-finite ones included.
  bool SameControls(double c1, double c2, double c3, double c4) const {
    return ((Bits(c1) ^ mLastControl[0]) | (Bits(c2) ^ mLastControl[1]) | (Bits(c3) ^ mLastControl[2]) |
            (Bits(c4) ^ mLastControl[3])) == 0;
  }
  // The fifth-order recursion on the current coefficients; mGain is mOutScale times the smoothed level.
  double Recursion(double x) {
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
    const double y =
        mGain * (b[0] * z[0] + b[1] * z[1] + b[2] * z[2] + b[3] * z[3] + b[4] * z[4] + b[5] * z[5]) / a[0];
    z[5] = z[4];
    z[4] = z[3];
    z[3] = z[2];
    z[2] = z[1];
    z[1] = z[0];
    return y;
  }
  double ProcessSettling(double x, double c1, double c2, double c3, double c4);
  template <bool kCached>
  double Step(double x, double c1, double c2, double c3, double c4);
  double Target(int index, double c, double lo, double hi);
  void BuildCoefficients(double s2, double s3, double s4);

  int32_t mSampleRateInt = 0;
  double mFsClamped = 0.0;
  double mOutScale = 0.0;
  double mSmoothed[4] = {};
  double mZ[6] = {};
  double mDenTerms[6][6] = {};
  double mNumTerms[6][8] = {};

  // Caches: each holds exactly what the uncached computation would produce from the same inputs.
  double mTarget[4] = {};
  double mTaper[4] = {};   // e^c - 1 (or e^(1 - c) - 1) for mTarget; control 2 needs none
  bool mTaperValid[4] = {};
  double mA[6] = {};
  double mB[6] = {};
  double mCoefS[3] = {};   // s2, s3, s4 that mA and mB were built from
  bool mCoefValid = false;
  double mGain = 0.0;      // mOutScale * s1 of the last step
  // The last step left every smoothed control exactly where it found it, under the controls whose bits
  // are in mLastControl: the same controls then change nothing but the recursion's state.
  bool mSettled = false;
  uint64_t mLastControl[4] = {};
};
