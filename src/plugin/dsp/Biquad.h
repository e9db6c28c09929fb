// Single-precision second-order IIR filter (nine equaliser response types) with two state slots that
// share one coefficient set.
#pragma once

#include <cstdint>

enum BiquadType : int32_t {
  kLowPass = 0,
  kHighPass,
  kBandPassSkirt,
  kBandPassPeak,
  kNotch,
  kLowShelf,
  kHighShelf,
  kPeaking,
  kAllPass,
};

class Biquad {
 public:
  void setFs(float v);
  void setFreq(float v);
  void setQ(float v);
  void setAmpdB(float v);
  float getFs() const { return fs; }
  float getFreq() const { return freq; }
  float getQ() const { return q; }
  float getAmpdB() const { return ampdB; }

  void updateCoefficients();

  float processSample(float x, int slot) {
    const float y = (b0 / a0) * x + (b1 / a0) * x1[slot] + (b2 / a0) * x2[slot] - (a1 / a0) * y1[slot] -
                    (a2 / a0) * y2[slot];
    x2[slot] = x1[slot];
    x1[slot] = x;
    y2[slot] = y1[slot];
    y1[slot] = y;
    return y;
  }

  void processBuffer(float* buffer, int count, int slot);

  int32_t type = kLowPass;  // a plain field: writing it does not recompute the coefficients
  float fs = 48000.0f;
  float freq = 20.0f;
  float q = 0.707f;
  float ampdB = 0.0f;
  float w0 = 0.0026179941f;
  float alpha = 0.0018514788f;
  float A = 1.0f;
  float x1[2] = {0.0f, 0.0f};
  float x2[2] = {0.0f, 0.0f};
  float y1[2] = {0.0f, 0.0f};
  float y2[2] = {0.0f, 0.0f};
  float b0 = 1.0f, b1 = 0.0f, b2 = 0.0f, a0 = 1.0f, a1 = 0.0f, a2 = 0.0f;
};
