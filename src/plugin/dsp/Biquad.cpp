// Biquad coefficient formulas and the block filter.
#include "plugin/dsp/Biquad.h"

#include <cmath>

namespace {
constexpr float kTwoPi = 6.2831855f;  // 2 pi in single precision
}  // namespace

void Biquad::setFs(float v) {
  mFs = v;
  updateCoefficients();
}

void Biquad::setFreq(float v) {
  mFreq = v;
  mW0 = mFreq * kTwoPi / mFs;
  mAlpha = std::sin(mW0) / (2.0f * mQ);
  updateCoefficients();
}

void Biquad::setQ(float v) {
  mQ = v;
  mAlpha = std::sin(mW0) / (mQ + mQ);
  updateCoefficients();
}

void Biquad::setAmpdB(float v) {
  mAmpdB = v;
  mAmp = std::pow(10.0f, mAmpdB / 40.0f);
  updateCoefficients();
}

void Biquad::updateCoefficients() {
  const float c = std::cos(mW0);
  const float s = std::sin(mW0);
  switch (mType) {
    case kHighPass:
      mB0 = (1.0f + c) / 2.0f;
      mB1 = -(1.0f + c);
      mB2 = (1.0f + c) / 2.0f;
      mA0 = 1.0f + mAlpha;
      mA1 = -2.0f * c;
      mA2 = 1.0f - mAlpha;
      break;
    case kBandPassSkirt:
      mB0 = s / 2.0f;
      mB1 = 0.0f;
      mB2 = -s / 2.0f;
      mA0 = 1.0f + mAlpha;
      mA1 = -2.0f * c;
      mA2 = 1.0f - mAlpha;
      break;
    case kBandPassPeak:
      mB0 = mAlpha;
      mB1 = 0.0f;
      mB2 = -mAlpha;
      mA0 = 1.0f + mAlpha;
      mA1 = -2.0f * c;
      mA2 = 1.0f - mAlpha;
      break;
    case kNotch:
      mB0 = 1.0f;
      mB1 = -2.0f * c;
      mB2 = 1.0f;
      mA0 = 1.0f + mAlpha;
      mA1 = -2.0f * c;
      mA2 = 1.0f - mAlpha;
      break;
    case kLowShelf: {
      const float sa = 2.0f * std::sqrt(mAmp) * mAlpha;
      mB0 = mAmp * ((mAmp + 1.0f) - (mAmp - 1.0f) * c + sa);
      mB1 = 2.0f * mAmp * ((mAmp - 1.0f) - (mAmp + 1.0f) * c);
      mB2 = mAmp * ((mAmp + 1.0f) - (mAmp - 1.0f) * c - sa);
      mA0 = (mAmp + 1.0f) + (mAmp - 1.0f) * c + sa;
      mA1 = -2.0f * ((mAmp - 1.0f) + (mAmp + 1.0f) * c);
      mA2 = (mAmp + 1.0f) + (mAmp - 1.0f) * c - sa;
      break;
    }
    case kHighShelf: {
      const float sa = 2.0f * std::sqrt(mAmp) * mAlpha;
      mB0 = mAmp * ((mAmp + 1.0f) + (mAmp - 1.0f) * c + sa);
      mB1 = -2.0f * mAmp * ((mAmp - 1.0f) + (mAmp + 1.0f) * c);
      mB2 = mAmp * ((mAmp + 1.0f) + (mAmp - 1.0f) * c - sa);
      mA0 = (mAmp + 1.0f) - (mAmp - 1.0f) * c + sa;
      mA1 = 2.0f * ((mAmp - 1.0f) - (mAmp + 1.0f) * c);
      mA2 = (mAmp + 1.0f) - (mAmp - 1.0f) * c - sa;
      break;
    }
    case kPeaking:
      mB0 = 1.0f + mAlpha * mAmp;
      mB1 = -2.0f * c;
      mB2 = 1.0f - mAlpha * mAmp;
      mA0 = 1.0f + mAlpha / mAmp;
      mA1 = -2.0f * c;
      mA2 = 1.0f - mAlpha / mAmp;
      break;
    case kAllPass:
      mB0 = 1.0f - mAlpha;
      mB1 = -2.0f * c;
      mB2 = 1.0f + mAlpha;
      mA0 = 1.0f + mAlpha;
      mA1 = -2.0f * c;
      mA2 = 1.0f - mAlpha;
      break;
    default:  // kLowPass and unknown types
      mB0 = (1.0f - c) / 2.0f;
      mB1 = 1.0f - c;
      mB2 = (1.0f - c) / 2.0f;
      mA0 = 1.0f + mAlpha;
      mA1 = mType == kLowPass ? static_cast<float>(-2.0 * std::cos(static_cast<double>(mW0))) : -2.0f * c;
      mA2 = 1.0f - mAlpha;
      break;
  }
  // As processSample divides them.
  mNormalised[0] = mB0 / mA0;
  mNormalised[1] = mB1 / mA0;
  mNormalised[2] = mB2 / mA0;
  mNormalised[3] = mA1 / mA0;
  mNormalised[4] = mA2 / mA0;
}

void Biquad::processBuffer(float* buffer, int count, int slot) {
  updateCoefficients();
  for (int i = 0; i < count; ++i) buffer[i] = processSample(buffer[i], slot);
}
