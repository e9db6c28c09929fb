// Logarithm and exponential over whole arrays, for the portable passes: Accelerate's vForce on macOS,
// the C library one value at a time elsewhere.
#pragma once

namespace chainmaths {

// y[i] = ln x[i] and y[i] = e^x[i] for i < n; y and x are separate arrays.
void LogArray(double* y, const double* x, int n);
void ExpArray(double* y, const double* x, int n);

}  // namespace chainmaths
