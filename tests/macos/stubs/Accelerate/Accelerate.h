// Stand-in for Accelerate, written from Apple's public documentation of the vForce calls our sources
// make (array logarithm and exponential), for the macOS syntax check. Declarations only: never
// linked or shipped.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// y[i] = ln x[i] and y[i] = e^x[i] for i < *n.
void vvlog(double* y, const double* x, const int* n);
void vvexp(double* y, const double* x, const int* n);

#ifdef __cplusplus
}
#endif
