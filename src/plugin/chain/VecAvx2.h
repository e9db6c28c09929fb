// Four doubles per AVX2 register, the log as in VecSse2. Only for translation units built with
// -mavx2 -mfma, and only reached after the CPU has been seen to have both.
#pragma once

#include <immintrin.h>

#include "plugin/chain/ArrayMaths.h"
#if defined(QV_HAVE_SLEEF)
#include <sleef.h>
#endif

struct VecAvx2 : chainmaths::X86LogExp<VecAvx2> {
  static constexpr int kWidth = 4;
  __m256d v;

  VecAvx2(double x = 0.0) : v(_mm256_set1_pd(x)) {}
  VecAvx2(__m256d x) : v(x) {}
  static VecAvx2 Load(const double* p) { return _mm256_loadu_pd(p); }
  void Store(double* p) const { _mm256_storeu_pd(p, v); }

  friend VecAvx2 operator+(VecAvx2 a, VecAvx2 b) { return _mm256_add_pd(a.v, b.v); }
  friend VecAvx2 operator-(VecAvx2 a, VecAvx2 b) { return _mm256_sub_pd(a.v, b.v); }
  friend VecAvx2 operator*(VecAvx2 a, VecAvx2 b) { return _mm256_mul_pd(a.v, b.v); }
  friend VecAvx2 operator/(VecAvx2 a, VecAvx2 b) { return _mm256_div_pd(a.v, b.v); }
  friend VecAvx2 operator-(VecAvx2 a) { return _mm256_xor_pd(a.v, _mm256_set1_pd(-0.0)); }

  struct Mask {
    __m256d m;
    friend Mask operator&&(Mask a, Mask b) { return {_mm256_and_pd(a.m, b.m)}; }
    friend bool All(Mask m) { return _mm256_movemask_pd(m.m) == 15; }
  };
  friend Mask operator<(VecAvx2 a, VecAvx2 b) { return {_mm256_cmp_pd(a.v, b.v, _CMP_LT_OQ)}; }
  friend VecAvx2 Select(Mask m, VecAvx2 a, VecAvx2 b) { return _mm256_blendv_pd(b.v, a.v, m.m); }

  friend VecAvx2 Abs(VecAvx2 a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a.v); }
  friend VecAvx2 Trunc(VecAvx2 a) { return _mm256_cvtepi32_pd(_mm256_cvttpd_epi32(a.v)); }
  static VecAvx2 Gather(const double* table, VecAvx2 k) {
    const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), table, _mm256_cvttpd_epi32(k.v), all, 8);
  }
  // 2^k from k + 1.5 * 2^52 (see VecSse2).
  friend VecAvx2 Pow2OfRounded(VecAvx2 rounded) {
    return _mm256_castsi256_pd(
        _mm256_slli_epi64(_mm256_add_epi64(_mm256_castpd_si256(rounded.v), _mm256_set1_epi64x(1023)), 52));
  }
#if defined(QV_HAVE_SLEEF)
  friend VecAvx2 Log(VecAvx2 a) { return Sleef_logd4_u35avx2(a.v); }
#endif
};
