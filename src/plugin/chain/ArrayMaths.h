// Logarithm and exponential over whole arrays, for the vector forms without a vector log of their own:
// Accelerate's vForce on macOS, the C library one value at a time elsewhere.
#pragma once

namespace chainmaths {

// y[i] = ln x[i] and y[i] = e^x[i] for i < n; y and x are separate arrays.
void LogArray(double* y, const double* x, int n);
void ExpArray(double* y, const double* x, int n);

// The base of a vector type whose gain computer takes its log and exp over arrays.
struct ArrayLogExp {
  static constexpr bool kArrayMaths = true;
  static void LogArray(double* y, const double* x, int n) { chainmaths::LogArray(y, x, n); }
  static void ExpArray(double* y, const double* x, int n) { chainmaths::ExpArray(y, x, n); }
};

// The base of a vector type that brings its own Log (and leaves exp to the passes).
struct VectorLog {
  static constexpr bool kArrayMaths = false;
};

// The x86 forms: SLEEF's vector log where the build has SLEEF, the array functions otherwise.
#if defined(QV_HAVE_SLEEF)
using X86LogExp = VectorLog;
#else
using X86LogExp = ArrayLogExp;
#endif

}  // namespace chainmaths
