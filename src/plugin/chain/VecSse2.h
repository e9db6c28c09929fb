// Two doubles per SSE2 register: the vector form every x86-64 CPU runs. The gain computer's log is
// SLEEF's where the build has it (the 3.5-ulp variant: a relative error near 1e-15 is far inside the
// chain's tolerance, at half the 1-ulp one's cost), else log and exp go over arrays (ArrayMaths.h).
#pragma once

#include <emmintrin.h>

#include "plugin/chain/ArrayMaths.h"
#if defined(QV_HAVE_SLEEF)
#include <sleef.h>
#endif

struct VecSse2 : chainmaths::X86LogExp<VecSse2> {
  static constexpr int kWidth = 2;
  __m128d v;

  VecSse2(double x = 0.0) : v(_mm_set1_pd(x)) {}
  VecSse2(__m128d x) : v(x) {}
  static VecSse2 Load(const double* p) { return _mm_loadu_pd(p); }
  void Store(double* p) const { _mm_storeu_pd(p, v); }

  friend VecSse2 operator+(VecSse2 a, VecSse2 b) { return _mm_add_pd(a.v, b.v); }
  friend VecSse2 operator-(VecSse2 a, VecSse2 b) { return _mm_sub_pd(a.v, b.v); }
  friend VecSse2 operator*(VecSse2 a, VecSse2 b) { return _mm_mul_pd(a.v, b.v); }
  friend VecSse2 operator/(VecSse2 a, VecSse2 b) { return _mm_div_pd(a.v, b.v); }
  friend VecSse2 operator-(VecSse2 a) { return _mm_xor_pd(a.v, _mm_set1_pd(-0.0)); }

  struct Mask {
    __m128d m;
    friend Mask operator&&(Mask a, Mask b) { return {_mm_and_pd(a.m, b.m)}; }
    friend bool All(Mask m) { return _mm_movemask_pd(m.m) == 3; }
  };
  friend Mask operator<(VecSse2 a, VecSse2 b) { return {_mm_cmplt_pd(a.v, b.v)}; }
  friend VecSse2 Select(Mask m, VecSse2 a, VecSse2 b) {
    return _mm_or_pd(_mm_and_pd(m.m, a.v), _mm_andnot_pd(m.m, b.v));
  }

  friend VecSse2 Abs(VecSse2 a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a.v); }
  friend VecSse2 Trunc(VecSse2 a) { return _mm_cvtepi32_pd(_mm_cvttpd_epi32(a.v)); }
  static VecSse2 Gather(const double* table, VecSse2 k) {
    const __m128i i = _mm_cvttpd_epi32(k.v);
    return _mm_setr_pd(table[_mm_cvtsi128_si32(i)], table[_mm_cvtsi128_si32(_mm_srli_si128(i, 4))]);
  }
  // 2^k from k + 1.5 * 2^52 (k a whole number, -1022 <= k <= 1023): k sits in the low bits, and the
  // shift keeps only the exponent field.
  friend VecSse2 Pow2OfRounded(VecSse2 rounded) {
    return _mm_castsi128_pd(
        _mm_slli_epi64(_mm_add_epi64(_mm_castpd_si128(rounded.v), _mm_set1_epi64x(1023)), 52));
  }
#if defined(QV_HAVE_SLEEF)
  friend VecSse2 Log(VecSse2 a) { return Sleef_logd2_u35sse2(a.v); }
#endif
};
