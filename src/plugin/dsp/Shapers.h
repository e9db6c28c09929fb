// Static saturation curves of the program and detector paths.
#pragma once

#include <cmath>

// Soft saturator: nearly linear, with a gentle odd/even bend that grows with level.
inline double softSat(double x) {
  const double x2 = x * x;
  const double x3 = x2 * x;
  const double x7 = x3 * x3 * x;
  return x + 0.04 * std::tanh(x3) + 0.001 * std::tanh(x2) - 0.01 * std::atan(x7);
}

// Transformer-style shaper.
inline double xformerShape(double s) {
  const double s2 = s * s;
  const double s3 = s2 * s;
  const double s4 = s2 * s2;
  return std::tanh(s) + std::sin(std::tanh(s3) + std::tanh(s4));
}
