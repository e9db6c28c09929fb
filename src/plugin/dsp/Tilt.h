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
// the smoothed controls have settled; ProcessUncached recomputes everything every sample with
// bit-identical results, for reference implementations and benchmarks.
#pragma once

#include <cstdint>

class Tilt {
public:
  Tilt();

  void Calc(double sampleRate);
  double Process(double x, double c1, double c2, double c3, double c4);
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
};
