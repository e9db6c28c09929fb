// A left/right pair of samples in one SSE2 or NEON register, for recursions that run the same step on
// both channels: one instruction stream instead of two. Each lane rounds exactly as the scalar step
// would (no fused multiply-adds: the DSP is built with contraction off). Elsewhere the pair is two plain
// values with the same operations. Threads: plain values, any thread.
#pragma once

#include <cmath>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>

struct PairF {
  __m128 v;
  static PairF Of(float l, float r) { return {_mm_setr_ps(l, r, 0.0f, 0.0f)}; }
  // Two adjacent floats, left first.
  static PairF Load(const float* p) {
    return {_mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(p)))};
  }
  void Store(float* p) const { _mm_store_sd(reinterpret_cast<double*>(p), _mm_castps_pd(v)); }
  float L() const { return _mm_cvtss_f32(v); }
  float R() const { return _mm_cvtss_f32(_mm_shuffle_ps(v, v, 1)); }
  // Bit 0: the left lane is not finite; bit 1: the right.
  int NonFinite() const { return _mm_movemask_ps(_mm_cmpunord_ps(_mm_sub_ps(v, v), v)) & 3; }
  friend PairF operator+(PairF a, PairF b) { return {_mm_add_ps(a.v, b.v)}; }
  friend PairF operator-(PairF a, PairF b) { return {_mm_sub_ps(a.v, b.v)}; }
  friend PairF operator*(PairF a, PairF b) { return {_mm_mul_ps(a.v, b.v)}; }
};

// Two left/right pairs in one register: lanes 0-1 one pair, lanes 2-3 the other.
struct QuadF {
  __m128 v;
  static QuadF Of(PairF lo, PairF hi) { return {_mm_movelh_ps(lo.v, hi.v)}; }
  PairF Lo() const { return {v}; }
  PairF Hi() const { return {_mm_movehl_ps(v, v)}; }
  // The lower pair of this quad and the upper pair of `other`.
  QuadF WithHi(QuadF other) const { return {_mm_shuffle_ps(v, other.v, _MM_SHUFFLE(3, 2, 1, 0))}; }
  friend QuadF operator+(QuadF a, QuadF b) { return {_mm_add_ps(a.v, b.v)}; }
  friend QuadF operator-(QuadF a, QuadF b) { return {_mm_sub_ps(a.v, b.v)}; }
  friend QuadF operator*(QuadF a, QuadF b) { return {_mm_mul_ps(a.v, b.v)}; }
};

struct PairD {
  __m128d v;
  static PairD Of(double l, double r) { return {_mm_setr_pd(l, r)}; }
  static PairD Load(const double* p) { return {_mm_loadu_pd(p)}; }
  void Store(double* p) const { _mm_storeu_pd(p, v); }
  double L() const { return _mm_cvtsd_f64(v); }
  double R() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
  // Bit 0: the left lane is not finite; bit 1: the right.
  int NonFinite() const { return _mm_movemask_pd(_mm_cmpunord_pd(_mm_sub_pd(v, v), v)); }
  // Bit set where |v| <= limit fails (too large, or not a number).
  int Beyond(double limit) const {
    const __m128d mag = _mm_andnot_pd(_mm_set1_pd(-0.0), v);
    return _mm_movemask_pd(_mm_cmpnle_pd(mag, _mm_set1_pd(limit))) | _mm_movemask_pd(_mm_cmpunord_pd(v, v));
  }
  // Held to -limit..limit; a NaN stays NaN (max and min hand back their second operand then).
  PairD Limited(double limit) const {
    return {_mm_min_pd(_mm_set1_pd(limit), _mm_max_pd(_mm_set1_pd(-limit), v))};
  }
  friend PairD operator+(PairD a, PairD b) { return {_mm_add_pd(a.v, b.v)}; }
  friend PairD operator-(PairD a, PairD b) { return {_mm_sub_pd(a.v, b.v)}; }
  friend PairD operator*(PairD a, PairD b) { return {_mm_mul_pd(a.v, b.v)}; }
  friend PairD operator/(PairD a, PairD b) { return {_mm_div_pd(a.v, b.v)}; }
};

// Each lane rounded to single precision, as a static_cast would.
inline PairF Narrow(PairD d) { return {_mm_cvtpd_ps(d.v)}; }

#elif defined(__aarch64__)
#include <arm_neon.h>

struct PairF {
  float32x2_t v;
  static PairF Of(float l, float r) { return {float32x2_t{l, r}}; }
  static PairF Load(const float* p) { return {vld1_f32(p)}; }
  void Store(float* p) const { vst1_f32(p, v); }
  float L() const { return vget_lane_f32(v, 0); }
  float R() const { return vget_lane_f32(v, 1); }
  // Bit 0: the left lane is not finite; bit 1: the right (v - v is a number only for finite v).
  int NonFinite() const {
    const float32x2_t d = vsub_f32(v, v);
    const uint32x2_t ok = vceq_f32(d, d);
    return (vget_lane_u32(ok, 0) ? 0 : 1) | (vget_lane_u32(ok, 1) ? 0 : 2);
  }
  friend PairF operator+(PairF a, PairF b) { return {vadd_f32(a.v, b.v)}; }
  friend PairF operator-(PairF a, PairF b) { return {vsub_f32(a.v, b.v)}; }
  friend PairF operator*(PairF a, PairF b) { return {vmul_f32(a.v, b.v)}; }
};

struct QuadF {
  float32x4_t v;
  static QuadF Of(PairF lo, PairF hi) { return {vcombine_f32(lo.v, hi.v)}; }
  PairF Lo() const { return {vget_low_f32(v)}; }
  PairF Hi() const { return {vget_high_f32(v)}; }
  QuadF WithHi(QuadF other) const { return {vcombine_f32(vget_low_f32(v), vget_high_f32(other.v))}; }
  friend QuadF operator+(QuadF a, QuadF b) { return {vaddq_f32(a.v, b.v)}; }
  friend QuadF operator-(QuadF a, QuadF b) { return {vsubq_f32(a.v, b.v)}; }
  friend QuadF operator*(QuadF a, QuadF b) { return {vmulq_f32(a.v, b.v)}; }
};

struct PairD {
  float64x2_t v;
  static PairD Of(double l, double r) { return {float64x2_t{l, r}}; }
  static PairD Load(const double* p) { return {vld1q_f64(p)}; }
  void Store(double* p) const { vst1q_f64(p, v); }
  double L() const { return vgetq_lane_f64(v, 0); }
  double R() const { return vgetq_lane_f64(v, 1); }
  static int Bits(uint64x2_t failed) {
    return (vgetq_lane_u64(failed, 0) ? 1 : 0) | (vgetq_lane_u64(failed, 1) ? 2 : 0);
  }
  int NonFinite() const {
    const float64x2_t d = vsubq_f64(v, v);
    return 3 & ~Bits(vceqq_f64(d, d));
  }
  // Bit set where |v| <= limit fails (too large, or not a number).
  int Beyond(double limit) const { return 3 & ~Bits(vcleq_f64(vabsq_f64(v), vdupq_n_f64(limit))); }
  // Held to -limit..limit; a NaN stays NaN (NEON's max and min pass a NaN on).
  PairD Limited(double limit) const {
    return {vminq_f64(vdupq_n_f64(limit), vmaxq_f64(vdupq_n_f64(-limit), v))};
  }
  friend PairD operator+(PairD a, PairD b) { return {vaddq_f64(a.v, b.v)}; }
  friend PairD operator-(PairD a, PairD b) { return {vsubq_f64(a.v, b.v)}; }
  friend PairD operator*(PairD a, PairD b) { return {vmulq_f64(a.v, b.v)}; }
  friend PairD operator/(PairD a, PairD b) { return {vdivq_f64(a.v, b.v)}; }
};

// Each lane rounded to single precision, as a static_cast would.
inline PairF Narrow(PairD d) { return {vcvt_f32_f64(d.v)}; }

#else

struct PairF {
  float l, r;
  static PairF Of(float l, float r) { return {l, r}; }
  static PairF Load(const float* p) { return {p[0], p[1]}; }
  void Store(float* p) const {
    p[0] = l;
    p[1] = r;
  }
  float L() const { return l; }
  float R() const { return r; }
  int NonFinite() const { return (std::isfinite(l) ? 0 : 1) | (std::isfinite(r) ? 0 : 2); }
  friend PairF operator+(PairF a, PairF b) { return {a.l + b.l, a.r + b.r}; }
  friend PairF operator-(PairF a, PairF b) { return {a.l - b.l, a.r - b.r}; }
  friend PairF operator*(PairF a, PairF b) { return {a.l * b.l, a.r * b.r}; }
};

struct QuadF {
  PairF lo, hi;
  static QuadF Of(PairF lo, PairF hi) { return {lo, hi}; }
  PairF Lo() const { return lo; }
  PairF Hi() const { return hi; }
  QuadF WithHi(QuadF other) const { return {lo, other.hi}; }
  friend QuadF operator+(QuadF a, QuadF b) { return {a.lo + b.lo, a.hi + b.hi}; }
  friend QuadF operator-(QuadF a, QuadF b) { return {a.lo - b.lo, a.hi - b.hi}; }
  friend QuadF operator*(QuadF a, QuadF b) { return {a.lo * b.lo, a.hi * b.hi}; }
};

struct PairD {
  double l, r;
  static PairD Of(double l, double r) { return {l, r}; }
  static PairD Load(const double* p) { return {p[0], p[1]}; }
  void Store(double* p) const {
    p[0] = l;
    p[1] = r;
  }
  double L() const { return l; }
  double R() const { return r; }
  int NonFinite() const { return (std::isfinite(l) ? 0 : 1) | (std::isfinite(r) ? 0 : 2); }
  int Beyond(double limit) const { return (std::fabs(l) <= limit ? 0 : 1) | (std::fabs(r) <= limit ? 0 : 2); }
  PairD Limited(double limit) const {
    auto one = [limit](double x) { return x > limit ? limit : (x < -limit ? -limit : x); };
    return {one(l), one(r)};
  }
  friend PairD operator+(PairD a, PairD b) { return {a.l + b.l, a.r + b.r}; }
  friend PairD operator-(PairD a, PairD b) { return {a.l - b.l, a.r - b.r}; }
  friend PairD operator*(PairD a, PairD b) { return {a.l * b.l, a.r * b.r}; }
  friend PairD operator/(PairD a, PairD b) { return {a.l / b.l, a.r / b.r}; }
};

inline PairF Narrow(PairD d) { return {static_cast<float>(d.l), static_cast<float>(d.r)}; }

#endif
