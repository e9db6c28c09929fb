// Eight doubles per AVX-512 register, the log as in VecSse2. Only for translation units built with
// -mavx512f, and only reached after the CPU has been seen to have it and the system to save it.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "plugin/chain/ArrayMaths.h"
#if defined(QV_HAVE_SLEEF)
#include <sleef.h>
#endif

struct VecAvx512 : chainmaths::X86LogExp<VecAvx512> {
  static constexpr int kWidth = 8;
  __m512d v;

  VecAvx512(double x = 0.0) : v(_mm512_set1_pd(x)) {}
  VecAvx512(__m512d x) : v(x) {}
  static VecAvx512 Load(const double* p) { return _mm512_loadu_pd(p); }
  void Store(double* p) const { _mm512_storeu_pd(p, v); }

  friend VecAvx512 operator+(VecAvx512 a, VecAvx512 b) { return _mm512_add_pd(a.v, b.v); }
  friend VecAvx512 operator-(VecAvx512 a, VecAvx512 b) { return _mm512_sub_pd(a.v, b.v); }
  friend VecAvx512 operator*(VecAvx512 a, VecAvx512 b) { return _mm512_mul_pd(a.v, b.v); }
  friend VecAvx512 operator/(VecAvx512 a, VecAvx512 b) { return _mm512_div_pd(a.v, b.v); }
  friend VecAvx512 operator-(VecAvx512 a) {
    return _mm512_castsi512_pd(_mm512_xor_si512(_mm512_castpd_si512(a.v), _mm512_set1_epi64(INT64_MIN)));
  }

  struct Mask {
    __mmask8 m;
    friend Mask operator&&(Mask a, Mask b) { return {static_cast<__mmask8>(a.m & b.m)}; }
    friend bool All(Mask m) { return m.m == 0xFF; }
  };
  friend Mask operator<(VecAvx512 a, VecAvx512 b) { return {_mm512_cmp_pd_mask(a.v, b.v, _CMP_LT_OQ)}; }
  friend VecAvx512 Select(Mask m, VecAvx512 a, VecAvx512 b) { return _mm512_mask_blend_pd(m.m, b.v, a.v); }

  friend VecAvx512 Abs(VecAvx512 a) { return _mm512_abs_pd(a.v); }
  // The masked forms: the plain ones trip a false uninitialised-value warning in GCC 12's headers.
  friend VecAvx512 Trunc(VecAvx512 a) {
    return _mm512_maskz_cvtepi32_pd(0xFF, _mm512_maskz_cvttpd_epi32(0xFF, a.v));
  }
  static VecAvx512 Gather(const double* table, VecAvx512 k) {
    return _mm512_mask_i32gather_pd(_mm512_setzero_pd(), 0xFF, _mm512_maskz_cvttpd_epi32(0xFF, k.v), table,
                                    8);
  }
  // 2^k from k + 1.5 * 2^52 (see VecSse2).
  friend VecAvx512 Pow2OfRounded(VecAvx512 rounded) {
    const __m512i bits = _mm512_add_epi64(_mm512_castpd_si512(rounded.v), _mm512_set1_epi64(1023));
    return _mm512_castsi512_pd(_mm512_maskz_slli_epi64(0xFF, bits, 52));
  }
#if defined(QV_HAVE_SLEEF)
  friend VecAvx512 Log(VecAvx512 a) { return Sleef_logd8_u35avx512f(a.v); }
#endif
};
