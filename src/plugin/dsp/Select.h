// Comparisons that pick a value without a branch. On noisy audio the chain's comparisons (which
// channel is larger, attack or release) go either way at random, and a mispredicted branch costs
// more than computing both sides. The results are exactly those of the plain expressions.
// Threads: pure functions, any thread.
#pragma once

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>

// a > b ? a : b
inline double Larger(double a, double b) { return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(a), _mm_set_sd(b))); }

// a > b ? x : y
inline double IfGreater(double a, double b, double x, double y) {
  const __m128d m = _mm_cmpgt_sd(_mm_set_sd(a), _mm_set_sd(b));
  return _mm_cvtsd_f64(_mm_or_pd(_mm_and_pd(m, _mm_set_sd(x)), _mm_andnot_pd(m, _mm_set_sd(y))));
}

#else

inline double Larger(double a, double b) { return a > b ? a : b; }
inline double IfGreater(double a, double b, double x, double y) { return a > b ? x : y; }

#endif
