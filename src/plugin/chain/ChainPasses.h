// The chain's stateless passes, written once for any vector type (VecPortable, VecSse2, VecAvx2, VecAvx512):
// the saturation curves of dsp/Shapers.h, the compressor's gain computer and its exponential, each run across
// a whole chunk. Every lane is computed alone, so a value's result does not depend on where it sits in a
// block. The passes read and write whole vectors: buffers are padded to a multiple of the widest vector.
// Threads: pure functions of their arguments (the chain calls them on the audio thread).
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "plugin/dsp/Decibels.h"
#include "plugin/dsp/GainComputer.h"
#include "plugin/dsp/Shapers.h"
#include "plugin/dsp/TiltPreTable.h"

namespace chainpass {

// The pre-shaper's curve widened to double, as the lookup reads it (ChainKernels.cpp).
extern const std::array<double, 200> kTiltPreWide;

// The shaping maths is inlined into each pass so that the independent evaluations of a vector (two
// tanh and an atan per saturator) overlap instead of waiting on one another's long dependency chains.
#define QV_CHAIN_INLINE inline __attribute__((always_inline))

// e^y split for the two exponentials below: y = k ln 2 + r with |r| <= ln 2 / 2, scale = 2^k and
// qr = e^r - 1 by its Taylor series to r^13 (the next term is below 1e-17), evaluated in Estrin's
// order for a short dependency chain.
template <class V>
struct ExpParts {
  V scale;
  V qr;
};

template <class V>
QV_CHAIN_INLINE ExpParts<V> ExpReduce(V y) {
  const V magic(6755399441055744.0);  // 1.5 * 2^52: adding it rounds to a whole number
  const V log2e(1.4426950408889634);
  // ln 2 split so that k times the first part is exact for any k in range.
  const V ln2High(0.6931471803691238), ln2Low(1.9082149292705877e-10);
  const V rounded = y * log2e + magic;  // k in the low bits of its mantissa
  const V k = rounded - magic;
  const V r = (y - k * ln2High) - k * ln2Low;
  // q(r) = (e^r - 1) / r = sum of r^i / (i + 1)! for i = 0..12
  const V r2 = r * r, r4 = r2 * r2, r8 = r4 * r4;
  const V a0 = V(1.0) + V(1.0 / 2.0) * r, a1 = V(1.0 / 6.0) + V(1.0 / 24.0) * r;
  const V a2 = V(1.0 / 120.0) + V(1.0 / 720.0) * r, a3 = V(1.0 / 5040.0) + V(1.0 / 40320.0) * r;
  const V a4 = V(1.0 / 362880.0) + V(1.0 / 3628800.0) * r;
  const V a5 = V(1.0 / 39916800.0) + V(1.0 / 479001600.0) * r;
  const V a6(1.0 / 6227020800.0);
  const V q = (a0 + a1 * r2) + (a2 + a3 * r2) * r4 + ((a4 + a5 * r2) + a6 * r4) * r8;
  return {Pow2OfRounded(rounded), q * r};
}

// e^y - 1 for 0 <= y <= 40 (or NaN), to a few units in the last place.
template <class V>
QV_CHAIN_INLINE V Expm1Small(V y) {
  const ExpParts<V> e = ExpReduce(y);
  return e.scale * e.qr + (e.scale - V(1.0));
}

// e^x for x <= 0 (a gain from a reduction in dB), to a few units in the last place; below -708
// (under 3e-308) the result is 0.
template <class V>
QV_CHAIN_INLINE V ExpNonPositive(V x) {
  const V lowest(-708.0);
  const ExpParts<V> e = ExpReduce(Select(x < lowest, lowest, x));
  return Select(x < lowest, V(0.0), e.scale + e.scale * e.qr);
}

// tanh as a fraction to a few units in the last place: tanh x = num / den with num = +-(e^2a - 1),
// den = e^2a + 1 and a = |x|; from a = 20 on the fraction is 1 to the last bit. Far cheaper than a
// general-purpose library tanh; NaN stays NaN. Divisions are the slowest vector operation, so
// callers combine fractions before dividing.
template <class V>
QV_CHAIN_INLINE void TanhFraction(V x, V& num, V& den) {
  const V a = Abs(x);
  const V e = Expm1Small(Select(V(20.0) < a, V(20.0), a) * V(2.0));
  num = Select(x < V(0.0), -e, e);
  den = e + V(2.0);
}

template <class V>
QV_CHAIN_INLINE V Tanh(V x) {
  V num, den;
  TanhFraction(x, num, den);
  return num / den;
}

// p tanh x + q tanh y with one division.
template <class V>
QV_CHAIN_INLINE V TanhSum(V p, V x, V q, V y) {
  V nx, dx, ny, dy;
  TanhFraction(x, nx, dx);
  TanhFraction(y, ny, dy);
  return (p * nx * dy + q * ny * dx) / (dx * dy);
}

// atan u for |u| <= tan(pi/12) by its Taylor series to u^27 (the next term is below 1e-17).
template <class V>
QV_CHAIN_INLINE V AtanSeries(V u) {
  const V u2 = u * u, u4 = u2 * u2, u8 = u4 * u4;
  // atan u = u + u^3 * p(u^2), p(w) = sum of (-1)^(i+1) w^i / (2i + 3) for i = 0..12
  const V a0 = V(-1.0 / 3.0) + V(1.0 / 5.0) * u2, a1 = V(-1.0 / 7.0) + V(1.0 / 9.0) * u2;
  const V a2 = V(-1.0 / 11.0) + V(1.0 / 13.0) * u2, a3 = V(-1.0 / 15.0) + V(1.0 / 17.0) * u2;
  const V a4 = V(-1.0 / 19.0) + V(1.0 / 21.0) * u2, a5 = V(-1.0 / 23.0) + V(1.0 / 25.0) * u2;
  const V a6(-1.0 / 27.0);
  const V p = (a0 + a1 * u4) + (a2 + a3 * u4) * u8 + ((a4 + a5 * u4) + a6 * u8) * (u8 * u8);
  return u + u * (u2 * p);
}

// atan to within 1e-16 or so: |x| above 1 through pi/2 - atan(1/|x|), above tan(pi/12) through
// pi/6 + atan((sqrt(3) t - 1) / (sqrt(3) + t)), then the series. NaN stays NaN; infinities give
// +-pi/2. A vector whose lanes all need no reduction skips it: the same bits, since such a lane's
// reduction is a division by 1.
template <class V>
QV_CHAIN_INLINE V Atan(V x) {
  const V a = Abs(x);
  const V tanPi12(0.2679491924311227);
  if (All(a < tanPi12)) {
    const V r = AtanSeries(a);
    return Select(x < V(0.0), -r, r);
  }
  // t = tn / td and u as one fraction: a single division.
  const auto inverted = V(1.0) < a;
  const V tn = Select(inverted, V(1.0), a), td = Select(inverted, a, V(1.0));
  const auto shifted = tanPi12 * td < tn;
  const V sqrt3(1.7320508075688772);
  const V u = Select(shifted, sqrt3 * tn - td, tn) / Select(shifted, sqrt3 * td + tn, td);
  V r = AtanSeries(u);
  const V sixthPi(0.5235987755982989), halfPi(1.5707963267948966);
  r = Select(shifted, sixthPi + r, r);
  r = Select(inverted, halfPi - r, r);
  return Select(x < V(0.0), -r, r);
}

// sin for |x| <= 2.1 by its Taylor series to x^23 (the next term is below 1e-18). Only for the
// transformer shaper, whose argument is a sum of two tanh values and so always within (-1, 2).
template <class V>
QV_CHAIN_INLINE V SinOfBounded(V x) {
  const V x2 = x * x, x4 = x2 * x2, x8 = x4 * x4;
  // sin x = x + x^3 * p(x^2), p(u) = sum of (-1)^(i+1) u^i / (2i + 3)! for i = 0..10
  const V a0 = V(-1.0 / 6.0) + V(1.0 / 120.0) * x2;
  const V a1 = V(-1.0 / 5040.0) + V(1.0 / 362880.0) * x2;
  const V a2 = V(-1.0 / 39916800.0) + V(1.0 / 6227020800.0) * x2;
  const V a3 = V(-1.0 / 1307674368000.0) + V(1.0 / 355687428096000.0) * x2;
  const V a4 = V(-1.0 / 121645100408832000.0) + V(1.0 / 51090942171709440000.0) * x2;
  const V a5(-1.0 / 25852016738884976640000.0);
  const V p = (a0 + a1 * x4) + (a2 + a3 * x4) * x8 + (a4 + a5 * x4) * (x8 * x8);
  return x + x * (x2 * p);
}

template <class V>
QV_CHAIN_INLINE V SoftSatFull(V x) {
  const V x2 = x * x;
  const V x3 = x2 * x;
  const V x7 = x3 * x3 * x;
  return x + TanhSum(V(0.04), x3, V(0.001), x2) - V(0.01) * Atan(x7);
}

// x + c3 x^3 + c5 x^5 + c7 x^7 + c9 x^9, in Estrin's order.
template <class V>
QV_CHAIN_INLINE V OddSeriesTo9(V x, double c3, double c5, double c7, double c9) {
  const V w = x * x;
  const V p = (V(c3) + V(c5) * w) + (V(c7) + V(c9) * w) * (w * w);
  return x + x * (w * p);
}

// tanh t for |t| < 0.03 by its Taylor series to t^9 (the next term, 1382 t^11 / 155925, is below
// 5.3e-18 of t).
template <class V>
QV_CHAIN_INLINE V TanhTiny(V t) {
  return OddSeriesTo9(t, -1.0 / 3.0, 2.0 / 15.0, -17.0 / 315.0, 62.0 / 2835.0);
}

// tanh t for |t| < 0.2 by its Taylor series to t^19 (the next term is below 1.1e-18 of t).
template <class V>
QV_CHAIN_INLINE V TanhSeries(V t) {
  const V w = t * t, w2 = w * w, w4 = w2 * w2, w8 = w4 * w4;
  const V a0 = V(-1.0 / 3.0) + V(2.0 / 15.0) * w, a1 = V(-17.0 / 315.0) + V(62.0 / 2835.0) * w;
  const V a2 = V(-1382.0 / 155925.0) + V(21844.0 / 6081075.0) * w;
  const V a3 = V(-929569.0 / 638512875.0) + V(6404582.0 / 10854718875.0) * w;
  const V a4(-443861162.0 / 1856156927625.0);
  return t + t * (w * ((a0 + a1 * w2) + (a2 + a3 * w2) * w4 + a4 * w8));
}

// The saturator's power series: x + 0.04 tanh x^3 + 0.001 tanh x^2 - 0.01 atan x^7, each function's
// series gathered by power of x, with coefficients of x^2, x^3, x^6, x^7, x^9, x^10, x^14, x^15, x^18,
// x^21, x^22 and x^27.
namespace softsat {
constexpr double c2 = 0.001, c3 = 0.04, c6 = -0.001 / 3.0, c7 = -0.01, c9 = -0.04 / 3.0, c10 = 0.002 / 15.0;
constexpr double c14 = -0.017 / 315.0, c15 = 0.08 / 15.0, c18 = 0.062 / 2835.0;
constexpr double c21 = 0.01 / 3.0 - 0.68 / 315.0, c22 = -1.382 / 155925.0, c27 = 2.48 / 2835.0;
}  // namespace softsat

// The saturator on |x| < 0.3. The first term left out (x^26, 3.6e-6 x^26) is below 3.1e-19 of x at
// |x| = 0.3.
template <class V>
QV_CHAIN_INLINE V SoftSatSmall(V x) {
  using namespace softsat;
  const V x2 = x * x, x3 = x2 * x, x4 = x2 * x2, x7 = x4 * x3, x8 = x4 * x4;
  const V x9 = x8 * x, x12 = x8 * x4, x16 = x8 * x8;
  const V high = V(c18) + x3 * (V(c21) + V(c22) * x) + x9 * V(c27);
  const V p = (V(c2) + V(c3) * x) + x4 * (V(c6) + V(c7) * x) + x7 * (V(c9) + V(c10) * x) +
              x12 * (V(c14) + V(c15) * x) + x16 * high;
  return x + x2 * p;
}

// The saturator on |x| < 0.2 to x^15: the terms left out (x^18 and up) stay below 3e-17 of x. Most
// program sits here: the input stage hears it 5 dB down, so anything under -9 dBFS.
template <class V>
QV_CHAIN_INLINE V SoftSatMid(V x) {
  using namespace softsat;
  const V x2 = x * x, x4 = x2 * x2, x7 = x4 * x2 * x, x12 = x4 * x4 * x4;
  const V p = (V(c2) + V(c3) * x) + x4 * (V(c6) + V(c7) * x) + x7 * (V(c9) + V(c10) * x) +
              x12 * (V(c14) + V(c15) * x);
  return x + x2 * p;
}

// The saturator on |x| < 0.02 to x^9: the x^10 term, the first left out, is below 1e-19 of x. The
// detector hears the program 40 dB down: this is its saturator for any program below +6 dBFS.
template <class V>
QV_CHAIN_INLINE V SoftSatTiny(V x) {
  using namespace softsat;
  const V x2 = x * x, x4 = x2 * x2, x7 = x4 * x2 * x;
  const V p = (V(c2) + V(c3) * x) + x4 * (V(c6) + V(c7) * x) + x7 * V(c9);
  return x + x2 * p;
}

// The saturator by the series for |x| < 0.2 (tiny values included) and the longer forms only when a
// lane needs them. Each lane takes a form by its own value alone, so that a value's result never depends
// on its neighbours in the vector (or on where the block boundaries fall).
template <class V>
QV_CHAIN_INLINE V SoftSatFromMid(V x, V a) {
  const auto mid = a < V(0.2);
  if (All(mid)) return SoftSatMid(x);
  const auto small = a < V(0.3);
  V r = SoftSatSmall(x);
  if (!All(small)) r = Select(small, r, SoftSatFull(x));
  return All(V(0.2) < a) ? r : Select(mid, SoftSatMid(x), r);
}

// The detector's saturator, whose program nearly always sits within the shortest series.
template <class V>
QV_CHAIN_INLINE V SoftSat(V x) {
  const V a = Abs(x);
  const auto tiny = a < V(0.02);
  if (All(tiny)) return SoftSatTiny(x);
  const V r = SoftSatFromMid(x, a);
  return All(V(0.02) < a) ? r : Select(tiny, SoftSatTiny(x), r);
}

// The input stage's: program crosses |x| = 0.02 all the time, a branch the CPU would mispredict.
template <class V>
QV_CHAIN_INLINE V SoftSatProgram(V x) {
  return SoftSatFromMid(x, Abs(x));
}

// sin x for |x| < 0.1 to x^9: the first term dropped, x^11 / 11!, is below x * 1e-10 / 39916800 < 3e-18 x.
template <class V>
QV_CHAIN_INLINE V SinSmall(V x) {
  return OddSeriesTo9(x, -1.0 / 6.0, 1.0 / 120.0, -1.0 / 5040.0, 1.0 / 362880.0);
}

// The short series where a lane's own value allows (as in SoftSat); the long forms only when a lane of
// the vector needs them. Program under -5 dBFS keeps every lane on the short paths.
template <class V>
QV_CHAIN_INLINE V XformerShape(V s) {
  const V s2 = s * s;
  const V s3 = s2 * s;
  const V s4 = s2 * s2;
  const V a = Abs(s);
  // Below |s| = 0.3, s^3 < 0.027 and s^4 < 0.0081: within the short tanh series.
  const auto small = a < V(0.3);
  V inner = TanhTiny(s3) + TanhTiny(s4);
  if (!All(small)) inner = Select(small, inner, TanhSum(V(1.0), s3, V(1.0), s4));
  const auto tanhSmall = a < V(0.2);
  V t = TanhSeries(s);
  if (!All(tanhSmall)) t = Select(tanhSmall, t, Tanh(s));
  const auto sinSmall = Abs(inner) < V(0.1);
  V sine = SinSmall(inner);
  if (!All(sinSmall)) sine = Select(sinSmall, sine, SinOfBounded(inner));
  return t + sine;
}

// The program's input stage, in place: a 5 dB pad around the soft saturator, or with "XFormer" the
// transformer shaper behind a 15 dB pad.
template <class V>
void InputStage(double* x, int n, int xformer) {
  for (int i = 0; i < n; i += V::kWidth) {
    const V v = V::Load(x + i);
    const V y = xformer == 1 ? V(kXformerPadOut) * XformerShape(SoftSatProgram(V(kXformerPadIn) * v))
                             : V(kSoftSatPadOut) * SoftSatProgram(V(kSoftSatPadIn) * v);
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
    (V(kXformerPadOut) * XformerShape(V(kXformerPadIn) * V::Load(x + i))).Store(x + i);
}

// table[k] and table[k + 1] for k truncated toward zero in each lane, 0 <= k < 2^31 (a vector type may
// bring a cheaper form of its own).
template <class V>
QV_CHAIN_INLINE void GatherNeighbours(const double* table, V k, V& below, V& above) {
  below = V::Gather(table, k);
  above = V::Gather(table + 1, k);
}

// -a where m holds, else a (a vector type may bring a cheaper form of its own).
template <class V, class M>
QV_CHAIN_INLINE V NegateWhere(M m, V a) {
  return Select(m, -a, a);
}

// The transient pre-shaper (dsp/TiltPreTable.h) on the filtered detector signal, driven by B and
// scaled back by it: the same lookup, interpolation and sign, lane by lane.
template <class V>
QV_CHAIN_INLINE V PreShape(V x, V B) {
  const V zero(0.0), one(1.0);
  const V v = x * B;
  const V a = Abs(v) * V(kTiltPreSpacing);
  // In range: an index up to 198. Beyond it the curve's last value; a NaN gives 0.
  const auto inRange = a < V(kTiltPreEnd);
  const V at = Select(inRange, a, zero);
  const V k = Trunc(at);
  const V f = at - k;
  V below, above;
  GatherNeighbours(kTiltPreWide.data(), at, below, above);  // at's index is k: its own conversion shared
  const V lerp = below * (one - f) + above * f;
  const V r = Select(inRange, lerp, Select(zero < a, V(kTiltPreLast), zero));
  return NegateWhere(v < zero, r) / B;
}

template <class V>
void PreShaper(const double* x, double* y, int n, double drive) {
  const V B(drive);
  for (int i = 0; i < n; i += V::kWidth) PreShape(V::Load(x + i), B).Store(y + i);
}

// The compressor's gain computer on envelopes and the thresholds in effect at each sample, with one
// ratio and knee factor: the gain reduction in dB, and as a linear gain.
template <class V>
QV_CHAIN_INLINE V ReductionDb(V levelDb, V t, V k, V slope) {
  const V half(0.5), zero(0.0);
  const V width = zero - k * t;
  const V low = t + half * k * t;
  const V high = t - half * k * t;
  const V knee = (low - levelDb) * (slope * (levelDb - low) / width * half);
  const V hard = (t - levelDb) * slope;
  // A NaN from the hard branch fails the comparison and counts as no reduction.
  return Select(zero < width && low < levelDb && levelDb < high, knee, Select(hard < zero, hard, zero));
}

// Below this |envelope| every lane of the run is under both the threshold and the knee's lower edge, so
// its reduction is +0 dB and its gain exactly 1 (with a slope >= 0): the log and exp cannot change it.
// The bound sits 1e-6 (8.7e-6 dB) inside the true edge, far beyond the log's rounding. 0 when no lane
// may skip: a run shorter than a vector, a threshold or knee that is not finite, a negative slope.
template <class V>
double QuietBound(const double* threshold, int n, double kneeFactor, double slope) {
  if (n < V::kWidth || !(slope >= 0.0)) return 0.0;
  // Most runs hold one threshold throughout (its smoother has settled): a quicker test, then that value's
  // bound alone, the same as the full scan's. A difference under the smallest normal is none: the audio
  // thread flushes subnormals to zero anyway.
  const double t0 = threshold[0];
  const V first(t0), smallest(2.2250738585072014e-308);
  auto same = Abs(V::Load(threshold) - first) < smallest;
  int j = 0;
  for (; j + V::kWidth <= n; j += V::kWidth) same = same && Abs(V::Load(threshold + j) - first) < smallest;
  bool constant = All(same);
  for (; j < n && constant; ++j) constant = threshold[j] == t0;
  if (constant) {
    const double low = t0 + 0.5 * kneeFactor * t0;
    if (!(std::fabs(low) < INFINITY)) return 0.0;
    return std::exp((low < t0 ? low : t0) / decibels::kDbPerNeper) * (1.0 - 1e-6);
  }
  const V half(0.5), k(kneeFactor), inf(INFINITY);
  V lowest = V::Load(threshold);
  auto finite = Abs(lowest) < inf;
  int i = 0;
  for (; i + V::kWidth <= n; i += V::kWidth) {
    const V t = V::Load(threshold + i);
    const V low = t + half * k * t;
    const V edge = Select(low < t, low, t);
    lowest = Select(edge < lowest, edge, lowest);
    finite = finite && Abs(low) < inf;  // false also for a NaN threshold
  }
  if (!All(finite)) return 0.0;
  double lanes[V::kWidth];
  lowest.Store(lanes);
  double dB = lanes[0];
  for (double l : lanes) dB = l < dB ? l : dB;
  for (; i < n; ++i) {
    const double t = threshold[i], low = t + 0.5 * kneeFactor * t;
    if (!(std::fabs(low) < INFINITY)) return 0.0;
    dB = t < dB ? t : dB;
    dB = low < dB ? low : dB;
  }
  return std::exp(dB / decibels::kDbPerNeper) * (1.0 - 1e-6);
}

template <class V>
void GainComputer(const ::GainComputer::Buffers& io, const ::GainComputer::Settings& settings) {
  const double* env = io.level;
  const double* threshold = settings.thresholdDb;
  double* reductionDb = io.reductionDb;
  double* gain = io.gain;
  const int n = io.n;
  const double slope = 1.0 - 1.0 / settings.ratio;
  const V k(settings.kneeFactor), s(slope);
  const V quiet(QuietBound<V>(threshold, n, settings.kneeFactor, slope));
  const V dbPerNeper(decibels::kDbPerNeper), neperPerDb(decibels::kNeperPerDb);
  if constexpr (V::kArrayMaths) {
    // The logarithms and exponentials over the whole run, by the library's array functions; none at
    // all for a run that is quiet throughout.
    auto allQuiet = Abs(V::Load(env)) < quiet;
    for (int i = 0; i < n; i += V::kWidth) {
      const V a = Abs(V::Load(env + i));
      allQuiet = allQuiet && a < quiet;
      a.Store(reductionDb + i);
    }
    if (All(allQuiet)) {
      for (int i = 0; i < n; i += V::kWidth) {
        V(0.0).Store(reductionDb + i);
        V(1.0).Store(gain + i);
      }
      return;
    }
    V::LogArray(gain, reductionDb, n);
    for (int i = 0; i < n; i += V::kWidth) {
      const V gr = ReductionDb(V::Load(gain + i) * dbPerNeper, V::Load(threshold + i), k, s);
      gr.Store(reductionDb + i);
      (gr * neperPerDb).Store(gain + i);
    }
    for (int i = 0; i < n; i += 64) {
      double arg[64];
      const int m = n - i < 64 ? n - i : 64;
      std::memcpy(arg, gain + i, sizeof(double) * static_cast<size_t>(m));
      V::ExpArray(gain + i, arg, m);
    }
  } else {
    // Two tight loops schedule better than one long body: the levels first, then reductions and gains.
    bool loud = false;
    for (int i = 0; i < n; i += V::kWidth) {
      const V a = Abs(V::Load(env + i));
      if (!All(a < quiet)) {
        (Log(a) * dbPerNeper).Store(reductionDb + i);
        loud = true;
      }
    }
    if (!loud) {
      for (int i = 0; i < n; i += V::kWidth) {
        V(0.0).Store(reductionDb + i);
        V(1.0).Store(gain + i);
      }
      return;
    }
    for (int i = 0; i < n; i += V::kWidth) {
      if (All(Abs(V::Load(env + i)) < quiet)) {
        V(0.0).Store(reductionDb + i);
        V(1.0).Store(gain + i);
        continue;
      }
      const V gr = ReductionDb(V::Load(reductionDb + i), V::Load(threshold + i), k, s);
      gr.Store(reductionDb + i);
      ExpNonPositive(gr * neperPerDb).Store(gain + i);
    }
  }
}

}  // namespace chainpass
