// Static saturation curves of the program and detector paths. Threads: pure functions, any thread.
#pragma once

#include <cmath>

// The pads around the program's saturators: the soft saturator sits between -5 dB and +5 dB, the
// transformer shaper ("XFormer") between -15 dB and +15 dB.
constexpr double kSoftSatPadIn = 0.5623413251903491;
constexpr double kSoftSatPadOut = 1.7782794100389228;
constexpr double kXformerPadIn = 0.1778279410038923;
constexpr double kXformerPadOut = 5.623413251903491;

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
