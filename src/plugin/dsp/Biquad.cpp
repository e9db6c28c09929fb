// Biquad coefficient formulas and the block filter.
#include "plugin/dsp/Biquad.h"

#include <cmath>

void Biquad::setFs(float v) {
  fs = v;
  updateCoefficients();
}

void Biquad::setFreq(float v) {
  freq = v;
  w0 = freq * 6.2831855f / fs;
  alpha = std::sin(w0) / (2.0f * q);
  updateCoefficients();
}

void Biquad::setQ(float v) {
  q = v;
  alpha = std::sin(w0) / (q + q);
  updateCoefficients();
}

void Biquad::setAmpdB(float v) {
  ampdB = v;
  A = std::pow(10.0f, ampdB / 40.0f);
  updateCoefficients();
}

void Biquad::updateCoefficients() {
  const float c = std::cos(w0);
  const float s = std::sin(w0);
  switch (type) {
    case kHighPass:
      b0 = (1.0f + c) / 2.0f;
      b1 = -(1.0f + c);
      b2 = (1.0f + c) / 2.0f;
      a0 = 1.0f + alpha;
      a1 = -2.0f * c;
      a2 = 1.0f - alpha;
      break;
    case kBandPassSkirt:
      b0 = s / 2.0f;
      b1 = 0.0f;
      b2 = -s / 2.0f;
      a0 = 1.0f + alpha;
      a1 = -2.0f * c;
      a2 = 1.0f - alpha;
      break;
    case kBandPassPeak:
      b0 = alpha;
      b1 = 0.0f;
      b2 = -alpha;
      a0 = 1.0f + alpha;
      a1 = -2.0f * c;
      a2 = 1.0f - alpha;
      break;
    case kNotch:
      b0 = 1.0f;
      b1 = -2.0f * c;
      b2 = 1.0f;
      a0 = 1.0f + alpha;
      a1 = -2.0f * c;
      a2 = 1.0f - alpha;
      break;
    case kLowShelf: {
      const float sa = 2.0f * std::sqrt(A) * alpha;
      b0 = A * ((A + 1.0f) - (A - 1.0f) * c + sa);
      b1 = 2.0f * A * ((A - 1.0f) - (A + 1.0f) * c);
      b2 = A * ((A + 1.0f) - (A - 1.0f) * c - sa);
      a0 = (A + 1.0f) + (A - 1.0f) * c + sa;
      a1 = -2.0f * ((A - 1.0f) + (A + 1.0f) * c);
      a2 = (A + 1.0f) + (A - 1.0f) * c - sa;
      break;
    }
    case kHighShelf: {
      const float sa = 2.0f * std::sqrt(A) * alpha;
      b0 = A * ((A + 1.0f) + (A - 1.0f) * c + sa);
      b1 = -2.0f * A * ((A - 1.0f) + (A + 1.0f) * c);
      b2 = A * ((A + 1.0f) + (A - 1.0f) * c - sa);
      a0 = (A + 1.0f) - (A - 1.0f) * c + sa;
      a1 = 2.0f * ((A - 1.0f) - (A + 1.0f) * c);
      a2 = (A + 1.0f) - (A - 1.0f) * c - sa;
      break;
    }
    case kPeaking:
      b0 = 1.0f + alpha * A;
      b1 = -2.0f * c;
      b2 = 1.0f - alpha * A;
      a0 = 1.0f + alpha / A;
      a1 = -2.0f * c;
      a2 = 1.0f - alpha / A;
      break;
    case kAllPass:
      b0 = 1.0f - alpha;
      b1 = -2.0f * c;
      b2 = 1.0f + alpha;
      a0 = 1.0f + alpha;
      a1 = -2.0f * c;
      a2 = 1.0f - alpha;
      break;
    default:  // kLowPass and unknown types
      b0 = (1.0f - c) / 2.0f;
      b1 = 1.0f - c;
      b2 = (1.0f - c) / 2.0f;
      a0 = 1.0f + alpha;
      a1 = type == kLowPass ? static_cast<float>(-2.0 * std::cos(static_cast<double>(w0))) : -2.0f * c;
      a2 = 1.0f - alpha;
      break;
  }
}

void Biquad::processBuffer(float* buffer, int count, int slot) {
  updateCoefficients();
  for (int i = 0; i < count; ++i) buffer[i] = processSample(buffer[i], slot);
}
