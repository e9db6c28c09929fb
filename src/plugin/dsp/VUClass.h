// Meter ballistics: a 300 ms one-pole that aims slightly past its input to settle faster.
#pragma once

#include <cmath>

class VUClass {
 public:
  explicit VUClass(double startLevel = 0.0) : level(startLevel) {}

  static double coefficient(double sampleRate) { return std::exp(-4.60517018599 / (sampleRate * 0.3)); }

  double Process(double x, double sampleRate) { return step(x, coefficient(sampleRate)); }

  // The same step with the coefficient of the current sample rate already computed.
  double step(double x, double coef) {
    const double r = std::fabs(x);
    const double target = r > level ? r * 1.0125 : r * 0.9875;
    level = coef * (level - target) + target;
    return level;
  }

  double level;
};
