// The chain's stateless passes, written once for any vector type (VecScalar, VecSse2, VecAvx2): the
// saturation curves of dsp/Shapers.h, the compressor's gain computer and its exponential, each run
// across a whole chunk. Every lane is computed alone, so a value's result does not depend on where
// it sits in a block. The passes read and write whole vectors: buffers are padded to a multiple of
// the widest vector.
#pragma once

#include <array>

namespace chainpass {

// The pre-shaper's curve widened to double, as the lookup reads it (ChainKernels.cpp).
extern const std::array<double, 200> kTiltPreWide;

template <class V>
V SoftSat(V x) {
  const V x2 = x * x;
  const V x3 = x2 * x;
  const V x7 = x3 * x3 * x;
  return x + V(0.04) * Tanh(x3) + V(0.001) * Tanh(x2) - V(0.01) * Atan(x7);
}

template <class V>
V XformerShape(V s) {
  const V s2 = s * s;
  const V s3 = s2 * s;
  const V s4 = s2 * s2;
  return Tanh(s) + Sin(Tanh(s3) + Tanh(s4));
}

// The program's input stage, in place: a 5 dB pad around the soft saturator, or with "XFormer" the
// transformer shaper behind a 15 dB pad.
template <class V>
void InputStage(double* x, int n, int xformer) {
  for (int i = 0; i < n; i += V::kWidth) {
    const V v = V::Load(x + i);
    const V y = xformer == 1 ? V(5.623413251903491) * XformerShape(SoftSat(V(0.1778279410038923) * v))
                             : V(1.7782794100389228) * SoftSat(V(0.5623413251903491) * v);
    y.Store(x + i);
  }
}

// The detector's soft saturator, in place.
template <class V>
void DetectorSaturator(double* x, int n) {
  for (int i = 0; i < n; i += V::kWidth) SoftSat(V::Load(x + i)).Store(x + i);
}

// The "XFormer" output stage, in place.
template <class V>
void OutputStage(double* x, int n) {
  for (int i = 0; i < n; i += V::kWidth)
    (V(5.623413251903491) * XformerShape(V(0.1778279410038923) * V::Load(x + i))).Store(x + i);
}

// The transient pre-shaper (dsp/TiltPreTable.h) on the filtered detector signal, driven by B and
// scaled back by it: the same lookup, interpolation and sign, lane by lane.
template <class V>
void PreShaper(const double* x, double* y, int n, double drive) {
  const V B(drive), zero(0.0), one(1.0);
  for (int i = 0; i < n; i += V::kWidth) {
    const V v = V::Load(x + i) * B;
    const V a = Abs(v) * V(142.14300537109375);
    // In range: an index up to 198. Beyond it the curve's last value; a NaN gives 0.
    const auto inRange = a < V(199.0);
    const V at = Select(inRange, a, zero);
    const V k = Trunc(at);
    const V f = at - k;
    const V lerp = V::Gather(kTiltPreWide.data(), k) * (one - f) + V::Gather(kTiltPreWide.data() + 1, k) * f;
    const V r = Select(inRange, lerp, Select(zero < a, V(0.8333333134651184), zero));
    (Select(v < zero, -r, r) / B).Store(y + i);
  }
}

// The compressor's gain computer on envelopes and the thresholds in effect at each sample, with one
// ratio and knee factor: the gain reduction in dB, and as a linear gain.
template <class V>
void GainComputer(const double* env, const double* threshold, double* reductionDb, double* gain, int n,
                  double kneeFactor, double slope) {
  const V k(kneeFactor), half(0.5), zero(0.0), s(slope);
  for (int i = 0; i < n; i += V::kWidth) {
    const V level = Log(Abs(V::Load(env + i))) * V(8.685889638065037);
    const V t = V::Load(threshold + i);
    const V width = zero - k * t;
    const V low = t + half * k * t;
    const V high = t - half * k * t;
    const V knee = (low - level) * (s * (level - low) / width * half);
    const V hard = (t - level) * s;
    // A NaN from the hard branch fails the comparison and counts as no reduction.
    const V gr = Select(zero < width && low < level && level < high, knee, Select(hard < zero, hard, zero));
    gr.Store(reductionDb + i);
    Exp(gr * V(0.1151292546497)).Store(gain + i);
  }
}

}  // namespace chainpass
