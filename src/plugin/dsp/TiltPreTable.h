// The transient pre-shaper: a 200-point curve, close to square-law for small inputs and saturating
// near 0.83, looked up with linear interpolation and odd symmetry. Threads: a constant table and a pure
// function, any thread.
#pragma once

#include <cmath>
#include <cstdint>

struct TiltPreTable {
  float first;    // T[0]
  float last;     // T[199]
  float spacing;  // table points per unit of input
  int32_t count;
  float T[200];
};

extern const TiltPreTable tiltpre_table;

// The lookup uses these constants (the table header's values widened to double), not the header.
constexpr double kTiltPreSpacing = 142.14300537109375;
constexpr double kTiltPreLast = 0.8333333134651184;
// From this scaled input on, the lookup's index would pass 198: the curve's last value.
constexpr double kTiltPreEnd = 199.0;

inline double tiltPreShape(double v) {
  const double a = std::fabs(v) * kTiltPreSpacing;
  double r;
  if (a != a) {
    r = 0.0;
  } else if (a >= kTiltPreEnd) {  // infinity included
    r = kTiltPreLast;
  } else {
    const int k = static_cast<int>(a);
    const double f = a - k;
    r = tiltpre_table.T[k] * (1.0 - f) + tiltpre_table.T[k + 1] * f;
  }
  return v < 0.0 ? -r : r;
}
