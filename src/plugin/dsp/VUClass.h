// Meter ballistics: a 300 ms one-pole that aims slightly past its input to settle faster.
// Threads: a plain value; the signal chain steps it on the audio thread under the plug-in's mutex
// (the editor sees the level only through the meter feed). coefficient is pure: any thread.
#pragma once

#include <cmath>

class VUClass {
 public:
  explicit VUClass(double startLevel = 0.0) : level(startLevel) {}

  // A step's distance falls to 1 % in 300 ms: e^(-ln 100 / (0.3 s * rate)).
  static double coefficient(double sampleRate) { return std::exp(-kLn100 / (sampleRate * 0.3)); }

  double Process(double x, double sampleRate) { return step(x, coefficient(sampleRate)); }

  // The same step with the coefficient of the current sample rate already computed.
  double step(double x, double coef) {
    const double r = std::fabs(x);
    const double target = r > level ? r * 1.0125 : r * 0.9875;
    level = coef * (level - target) + target;
    return level;
  }

  double level;

 private:
  static constexpr double kLn100 = 4.60517018599;  // to the 12 digits the meter has always used
};
