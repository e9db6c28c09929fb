// One double at a time with the C library's maths: the kernels' portable form, for builds without
// the vector maths library (macOS) and as the reference the vector forms are checked against.
#pragma once

#include <cmath>

struct VecScalar {
  static constexpr int kWidth = 1;
  double v;

  VecScalar(double x = 0.0) : v(x) {}
  static VecScalar Load(const double* p) { return {*p}; }
  void Store(double* p) const { *p = v; }

  friend VecScalar operator+(VecScalar a, VecScalar b) { return {a.v + b.v}; }
  friend VecScalar operator-(VecScalar a, VecScalar b) { return {a.v - b.v}; }
  friend VecScalar operator*(VecScalar a, VecScalar b) { return {a.v * b.v}; }
  friend VecScalar operator/(VecScalar a, VecScalar b) { return {a.v / b.v}; }
  friend VecScalar operator-(VecScalar a) { return {-a.v}; }

  using Mask = bool;
  friend Mask operator<(VecScalar a, VecScalar b) { return a.v < b.v; }
  friend VecScalar Select(Mask m, VecScalar a, VecScalar b) { return m ? a : b; }

  friend VecScalar Abs(VecScalar a) { return {std::fabs(a.v)}; }
  // Truncated toward zero, for 0 <= a < 2^31.
  friend VecScalar Trunc(VecScalar a) { return {static_cast<double>(static_cast<int>(a.v))}; }
  // table[k] for the whole number k in each lane.
  static VecScalar Gather(const double* table, VecScalar k) { return {table[static_cast<int>(k.v)]}; }
  friend VecScalar Tanh(VecScalar a) { return {std::tanh(a.v)}; }
  friend VecScalar Atan(VecScalar a) { return {std::atan(a.v)}; }
  friend VecScalar Sin(VecScalar a) { return {std::sin(a.v)}; }
  friend VecScalar Log(VecScalar a) { return {std::log(a.v)}; }
  friend VecScalar Exp(VecScalar a) { return {std::exp(a.v)}; }
};
