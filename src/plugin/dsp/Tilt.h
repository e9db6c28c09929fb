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
// every rate. Once a smoothing step leaves the smoothed controls where they were, the same controls
// change nothing but the recursion's state, and Process runs the recursion alone, with the same
// results. ProcessUncached recomputes everything on every sample, for reference implementations.
//
// Threads: a plain value with no lock of its own; in the plug-in only the signal chain calls it, on the
// audio thread under the plug-in's mutex.
#pragma once

#include <cmath>
#include <cstdint>

#include "plugin/dsp/StereoPair.h"

class Tilt {
 public:
  Tilt();

  void Calc(double sampleRate);
  double Process(double x, double c1, double c2, double c3, double c4) {
    if (!Ready(c1, c2, c3, c4)) Smooth(c1, c2, c3, c4);
    return Recursion(x);
  }
  double ProcessUncached(double x, double c1, double c2, double c3, double c4);
  // Both shapers of a stereo pair over n samples under the same controls: input(i, left, right)
  // supplies each sample's two inputs, each(i, left, right) receives the two outputs. The same
  // results as Process on each channel, with the settled recursions of both channels in one
  // register. Both callbacks are inlined into the loop, so the caller's own recursions run alongside.
  template <class Input, class Each>
  static void ProcessPair(Tilt& l, Tilt& r, int n, double c1, double c2, double c3, double c4, Input&& input,
                          Each&& each) {
    int i = 0;
    for (; i < n && !(l.Ready(c1, c2, c3, c4) && r.Ready(c1, c2, c3, c4)); ++i) {
      double xl, xr;
      input(i, xl, xr);
      const double yl = l.Process(xl, c1, c2, c3, c4);
      const double yr = r.Process(xr, c1, c2, c3, c4);
      each(i, yl, yr);
    }
    if (i < n) RecursionPair(l, r, i, n, input, each);
  }
  void Reset();

  // True when both shapers of a pair are settled under these controls: from here on, until the
  // controls or the rate change, each step is the recursion alone and SettledPair may run it.
  static bool PairReady(const Tilt& l, const Tilt& r, double c1, double c2, double c3, double c4) {
    return l.Ready(c1, c2, c3, c4) && r.Ready(c1, c2, c3, c4);
  }

  // The settled recursions of a left and a right shaper side by side in one register, lane by lane
  // the same operations in the same order as Recursion, so that a caller's loop can carry its own
  // recursions alongside. The state rides in registers until finish().
  class SettledPair {
   public:
    SettledPair(Tilt& l, Tilt& r) : mL(l), mR(r) {
      for (int k = 0; k < 6; ++k) {
        mA[k] = PairD::Of(l.mA[k], r.mA[k]);
        mB[k] = PairD::Of(l.mB[k], r.mB[k]);
        mZ[k] = PairD::Of(l.mZ[k], r.mZ[k]);
      }
      mGain = PairD::Of(l.mGain, r.mGain);
    }
    void step(double inL, double inR, double& yl, double& yr) { next<true>(inL, inR, yl, yr); }
    // The state alone, for a caller that has no use for the output.
    void advance(double inL, double inR) {
      double unused[2];
      next<false>(inL, inR, unused[0], unused[1]);
    }
    void finish() { store(); }

   private:
    template <bool kOutput>
    void next(double inL, double inR, double& yl, double& yr) {
      // A non-finite input needs no test of its own: it makes z0 non-finite, and the channels' own
      // steps below take it as 0, as Recursion does.
      const PairD* a = mA;
      const PairD* b = mB;
      PairD* z = mZ;
      const PairD z0 = PairD::Of(2.0, 2.0) * PairD::Of(inL, inR) -
                       (a[1] * z[1] + a[2] * z[2] + a[3] * z[3] + a[4] * z[4] + a[5] * z[5]) / a[0];
      if (z0.Beyond(kStateLimit)) {
        // Each channel's own step clears a state that overflowed.
        store();
        yl = mL.Recursion(inL);
        yr = mR.Recursion(inR);
        for (int k = 1; k < 6; ++k) z[k] = PairD::Of(mL.mZ[k], mR.mZ[k]);
        return;
      }
      if constexpr (kOutput) {
        const PairD y =
            mGain * (b[0] * z0 + b[1] * z[1] + b[2] * z[2] + b[3] * z[3] + b[4] * z[4] + b[5] * z[5]) / a[0];
        yl = y.L();
        yr = y.R();
      }
      z[5] = z[4];
      z[4] = z[3];
      z[3] = z[2];
      z[2] = z[1];
      z[1] = z0;
    }
    void store() {
      for (int k = 1; k < 6; ++k) {
        mL.mZ[k] = mZ[k].L();
        mR.mZ[k] = mZ[k].R();
      }
    }
    Tilt& mL;
    Tilt& mR;
    PairD mA[6], mB[6], mZ[6], mGain;
  };

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

  // The fifth-order recursion. The feedback and feedforward sums are taken in the written order and
  // divided by A0 afterwards: their terms nearly cancel, so another order, or coefficients rounded
  // differently, would move the output by far more than one rounding.
  double Recursion(double x) {
    if (!std::isfinite(x)) x = 0.0;
    double* z = mZ;
    const double* a = mA;
    const double* b = mB;
    double z0 = 2.0 * x - (a[1] * z[1] + a[2] * z[2] + a[3] * z[3] + a[4] * z[4] + a[5] * z[5]) / a[0];
    if (!(std::fabs(z0) <= kStateLimit)) {
      for (int i = 1; i < 6; ++i) z[i] = 0.0;
      z0 = 0.0;
    }
    const double y =
        mGain * (b[0] * z0 + b[1] * z[1] + b[2] * z[2] + b[3] * z[3] + b[4] * z[4] + b[5] * z[5]) / a[0];
    z[5] = z[4];
    z[4] = z[3];
    z[3] = z[2];
    z[2] = z[1];
    z[1] = z0;
    return y;
  }
  bool Ready(double c1, double c2, double c3, double c4) const {
    return mSettled && c1 == mControl[0] && c2 == mControl[1] && c3 == mControl[2] && c4 == mControl[3];
  }
  // The settled recursions of l and r from sample i to n.
  template <class Input, class Each>
  static void RecursionPair(Tilt& l, Tilt& r, int i, int n, Input& input, Each& each) {
    SettledPair pair(l, r);
    for (; i < n; ++i) {
      double inL, inR, yl, yr;
      input(i, inL, inR);
      pair.step(inL, inR, yl, yr);
      each(i, yl, yr);
    }
    pair.finish();
  }
  // One smoothing step towards the targets; rebuilds the coefficients if the smoothed values moved.
  void Smooth(double c1, double c2, double c3, double c4);
  double Target(int index, double c, double lo, double hi) const;
  void Tapers(const double t[4], double taper[4]);
  void BuildCoefficients(double s2, double s3, double s4);

  int32_t mSampleRateInt = 0;
  double mFsClamped = 0.0;
  double mOutScale = 0.0;
  double mSmoothed[4] = {};
  double mZ[6] = {};
  double mDenTerms[6][6] = {};
  double mNumTerms[6][8] = {};
  double mTarget[4] = {};
  double mTaper[4] = {};  // e^c - 1 (or e^(1 - c) - 1) of mTarget; control 2 needs none
  double mA[6] = {};
  double mB[6] = {};
  double mGain = 0.0;  // outScale * s1
  bool mCoefValid = false;
  // The last step left the smoothed controls unchanged under the controls in mControl.
  bool mSettled = false;
  double mControl[4] = {};
};
