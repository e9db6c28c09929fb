// One-pole smoother record used for the make-up, threshold, mix and gain ramps.
// Threads: a plain value; the signal chain steps it on the audio thread under the plug-in's mutex.
#pragma once

struct OnePoleSmoother {
  double a = 1.0;  // input weight
  double b = 0.0;  // feedback weight
  double z = 0.0;

  double step(double target) {
    z = z * b + target * a;
    return z;
  }
};
