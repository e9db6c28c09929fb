// Biquad coefficient formulas and the block filter.
#include "plugin/dsp/Biquad.h"

#include <cmath>

void Biquad::setFs(float v) {
  mFs = v;
  updateCoefficients();
}

void Biquad::setFreq(float v) {
  mFreq = v;
  mW0 = mFreq * 6.2831855f / mFs;
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
}

void Biquad::processBuffer(float* buffer, int count, int slot) {
  updateCoefficients();
  for (int i = 0; i < count; ++i) buffer[i] = processSample(buffer[i], slot);
}

Biquad::PairRun::PairRun(Biquad& left, Biquad& right, int slot) : mLeft(left), mRight(right), mSlot(slot) {
  const Biquad* f[2] = {&left, &right};
  float n[2][5];
  for (int c = 0; c < 2; ++c) {
    n[c][0] = f[c]->mB0 / f[c]->mA0;
    n[c][1] = f[c]->mB1 / f[c]->mA0;
    n[c][2] = f[c]->mB2 / f[c]->mA0;
    n[c][3] = f[c]->mA1 / f[c]->mA0;
    n[c][4] = f[c]->mA2 / f[c]->mA0;
  }
  for (int k = 0; k < 5; ++k) mN[k] = PairF::Of(n[0][k], n[1][k]);
  mX1 = PairF::Of(left.mX1[slot], right.mX1[slot]);
  mX2 = PairF::Of(left.mX2[slot], right.mX2[slot]);
  mY1 = PairF::Of(left.mY1[slot], right.mY1[slot]);
  mY2 = PairF::Of(left.mY2[slot], right.mY2[slot]);
}

void Biquad::PairRun::finish() {
  mLeft.mX1[mSlot] = mX1.L(), mRight.mX1[mSlot] = mX1.R();
  mLeft.mX2[mSlot] = mX2.L(), mRight.mX2[mSlot] = mX2.R();
  mLeft.mY1[mSlot] = mY1.L(), mRight.mY1[mSlot] = mY1.R();
  mLeft.mY2[mSlot] = mY2.L(), mRight.mY2[mSlot] = mY2.R();
}
