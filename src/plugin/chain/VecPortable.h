// Two doubles per vector in the compiler's own vector types: the passes' portable form, the only one
// on arm64 and the floor on any CPU. The compiler maps it onto one SSE2 or NEON register (wider
// generic vectors spill on those targets); the shaping maths is our own, so only the gain computer's
// log needs a library: Accelerate's vForce over whole arrays on macOS (with exp), the C library lane
// by lane elsewhere.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "plugin/chain/ArrayMaths.h"

struct VecPortable : chainmaths::PortableLogExp<VecPortable> {
  static constexpr int kWidth = 2;
  typedef double D __attribute__((vector_size(16)));
  typedef int64_t I __attribute__((vector_size(16)));
  typedef uint64_t U __attribute__((vector_size(16)));
  typedef int32_t I32 __attribute__((vector_size(8)));
  D v;

  VecPortable(double x = 0.0) : v(D{} + x) {}
  VecPortable(D x) : v(x) {}
  static VecPortable Load(const double* p) {
    D d;
    __builtin_memcpy(&d, p, sizeof d);
    return d;
  }
  void Store(double* p) const { __builtin_memcpy(p, &v, sizeof v); }

  friend VecPortable operator+(VecPortable a, VecPortable b) { return D(a.v + b.v); }
  friend VecPortable operator-(VecPortable a, VecPortable b) { return D(a.v - b.v); }
  friend VecPortable operator*(VecPortable a, VecPortable b) { return D(a.v * b.v); }
  friend VecPortable operator/(VecPortable a, VecPortable b) { return D(a.v / b.v); }
  friend VecPortable operator-(VecPortable a) { return D(-a.v); }

  struct Mask {
    I m;  // all ones where true
    friend Mask operator&&(Mask a, Mask b) { return {a.m & b.m}; }
    // Each lane's low half, all ones or zero, side by side in 64 bits: one test.
    friend bool All(Mask m) {
      const I32 low = __builtin_convertvector(m.m, I32);
      uint64_t bits;
      __builtin_memcpy(&bits, &low, sizeof bits);
      return bits == ~uint64_t{0};
    }
  };
  friend Mask operator<(VecPortable a, VecPortable b) { return {a.v < b.v}; }
  friend VecPortable Select(Mask m, VecPortable a, VecPortable b) {
    return reinterpret_cast<D>((reinterpret_cast<I>(a.v) & m.m) | (reinterpret_cast<I>(b.v) & ~m.m));
  }

  // The sign flipped where m holds: what Select(m, -a, a) gives, in two operations.
  friend VecPortable NegateWhere(Mask m, VecPortable a) {
    return reinterpret_cast<D>(reinterpret_cast<I>(a.v) ^ (m.m & (I{} + INT64_MIN)));
  }
  friend VecPortable Abs(VecPortable a) {
    return reinterpret_cast<D>(reinterpret_cast<I>(a.v) & (I{} + INT64_MAX));
  }
  // Truncated toward zero, for 0 <= a < 2^31: through 32-bit lanes, which SSE2 converts in one
  // instruction (its conversions to 64-bit lanes go value by value).
  friend VecPortable Trunc(VecPortable a) {
    return __builtin_convertvector(__builtin_convertvector(a.v, I32), D);
  }
  // table[k] for k truncated toward zero in each lane (0 <= k < 2^31).
  static VecPortable Gather(const double* table, VecPortable k) {
    const I32 i = __builtin_convertvector(k.v, I32);
    return D{table[i[0]], table[i[1]]};
  }
  // The same as two Gathers: each lane's pair in one load, then the pairs' halves side by side.
  friend void GatherNeighbours(const double* table, VecPortable k, VecPortable& below, VecPortable& above) {
    const I32 i = __builtin_convertvector(k.v, I32);
    D first, second;
    __builtin_memcpy(&first, table + i[0], sizeof first);
    __builtin_memcpy(&second, table + i[1], sizeof second);
#if defined(__clang__)
    below = D(__builtin_shufflevector(first, second, 0, 2));
    above = D(__builtin_shufflevector(first, second, 1, 3));
#else
    below = D(__builtin_shuffle(first, second, I{0, 2}));
    above = D(__builtin_shuffle(first, second, I{1, 3}));
#endif
  }
  // 2^k from k + 1.5 * 2^52 (k a whole number, -1022 <= k <= 1023): k sits in the low bits, and the
  // shift keeps only the exponent field.
  friend VecPortable Pow2OfRounded(VecPortable rounded) {
    return reinterpret_cast<D>((reinterpret_cast<U>(rounded.v) + 1023) << 52);
  }
};
