// Where the gain computer's log and exp come from in each vector form: SLEEF's vector log, Accelerate's
// vForce arrays on macOS, or the C library lane by lane.
#pragma once

#include <cmath>

namespace chainmaths {

// y[i] = ln x[i] and y[i] = e^x[i] for i < n; y and x are separate arrays. Pure: any thread.
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

// The base of a vector type that takes its log from the C library lane by lane and leaves exp to the
// passes. Where the library has no array functions (outside macOS) this is the faster way: the gain
// computer then skips the quiet vectors one by one and uses its own exponential.
template <class V>
struct LaneLog {
  static constexpr bool kArrayMaths = false;
  friend V Log(V a) {
    double lanes[V::kWidth];
    a.Store(lanes);
    for (double& l : lanes) l = std::log(l);
    return V::Load(lanes);
  }
};

// The portable form: vForce's arrays on macOS, the C library lane by lane elsewhere.
#if defined(__APPLE__)
template <class V>
using PortableLogExp = ArrayLogExp;
#else
template <class V>
using PortableLogExp = LaneLog<V>;
#endif

// The x86 forms: SLEEF's vector log where the build has SLEEF, else as the portable form.
#if defined(QV_HAVE_SLEEF)
template <class V>
using X86LogExp = VectorLog;
#else
template <class V>
using X86LogExp = PortableLogExp<V>;
#endif

}  // namespace chainmaths
