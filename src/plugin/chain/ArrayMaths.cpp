// Array logarithm and exponential: vForce on macOS, the C library elsewhere.
#include "plugin/chain/ArrayMaths.h"

#if defined(__APPLE__)
#include <Accelerate/Accelerate.h>
#else
#include <cmath>
#endif

namespace chainmaths {

void LogArray(double* y, const double* x, int n) {
#if defined(__APPLE__)
  vvlog(y, x, &n);
#else
  for (int i = 0; i < n; ++i) y[i] = std::log(x[i]);
#endif
}

void ExpArray(double* y, const double* x, int n) {
#if defined(__APPLE__)
  vvexp(y, x, &n);
#else
  for (int i = 0; i < n; ++i) y[i] = std::exp(x[i]);
#endif
}

}  // namespace chainmaths
