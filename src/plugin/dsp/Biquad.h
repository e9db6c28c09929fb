// Single-precision second-order IIR filter (nine equaliser response types) with two state slots that
// share one coefficient set.
#pragma once

#include <cstdint>

#include "plugin/dsp/StereoPair.h"

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
  // A plain write: the coefficients follow at the next setter.
  void setType(int32_t t) { mType = t; }
  void setFs(float v);
  void setFreq(float v);
  void setQ(float v);
  void setAmpdB(float v);
  int32_t getType() const { return mType; }
  float getFs() const { return mFs; }
  float getFreq() const { return mFreq; }
  float getQ() const { return mQ; }
  float getAmpdB() const { return mAmpdB; }
  float getW0() const { return mW0; }
  float getAlpha() const { return mAlpha; }

  struct Coefficients {
    float b0, b1, b2, a0, a1, a2;
  };
  Coefficients coefficients() const { return {mB0, mB1, mB2, mA0, mA1, mA2}; }

  void updateCoefficients();

  float processSample(float x, int slot) {
    const float y = (mB0 / mA0) * x + (mB1 / mA0) * mX1[slot] + (mB2 / mA0) * mX2[slot] -
                    (mA1 / mA0) * mY1[slot] - (mA2 / mA0) * mY2[slot];
    mX2[slot] = mX1[slot];
    mX1[slot] = x;
    mY2[slot] = mY1[slot];
    mY1[slot] = y;
    return y;
  }

  void processBuffer(float* buffer, int count, int slot);
  // Silences one state slot.
  void clear(int slot) { mX1[slot] = mX2[slot] = mY1[slot] = mY2[slot] = 0.0f; }

  // One slot of a left and a right filter stepped side by side in one register, each lane exactly
  // as processSample: the same expression, order and single precision (any other rounding would be
  // heard downstream). The state rides in registers until finish().
  class PairRun {
   public:
    // Inline, as is finish(): a run that stays out of sight of other code keeps its state in registers.
    PairRun(Biquad& left, Biquad& right, int slot) : mLeft(left), mRight(right), mSlot(slot) {
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
    PairF step(PairF x) {
      const PairF y = mN[0] * x + mN[1] * mX1 + mN[2] * mX2 - mN[3] * mY1 - mN[4] * mY2;
      mX2 = mX1;
      mX1 = x;
      mY2 = mY1;
      mY1 = y;
      return y;
    }
    // Silences the channels whose bits are set in `lanes` (bit 0 left, bit 1 right).
    void clear(int lanes) {
      mX1 = Silence(mX1, lanes);
      mX2 = Silence(mX2, lanes);
      mY1 = Silence(mY1, lanes);
      mY2 = Silence(mY2, lanes);
    }
    static PairF Silence(PairF p, int lanes) {
      return PairF::Of(lanes & 1 ? 0.0f : p.L(), lanes & 2 ? 0.0f : p.R());
    }
    void finish() {
      mLeft.mX1[mSlot] = mX1.L(), mRight.mX1[mSlot] = mX1.R();
      mLeft.mX2[mSlot] = mX2.L(), mRight.mX2[mSlot] = mX2.R();
      mLeft.mY1[mSlot] = mY1.L(), mRight.mY1[mSlot] = mY1.R();
      mLeft.mY2[mSlot] = mY2.L(), mRight.mY2[mSlot] = mY2.R();
    }

   private:
    Biquad& mLeft;
    Biquad& mRight;
    int mSlot;
    PairF mN[5];  // b0, b1, b2, a1, a2 over a0
    PairF mX1, mX2, mY1, mY2;
  };

 private:
  int32_t mType = kLowPass;
  float mFs = 48000.0f;
  float mFreq = 20.0f;
  float mQ = 0.707f;
  float mAmpdB = 0.0f;
  float mW0 = 0.0026179941f;
  float mAlpha = 0.0018514788f;
  float mAmp = 1.0f;
  float mX1[2] = {0.0f, 0.0f};
  float mX2[2] = {0.0f, 0.0f};
  float mY1[2] = {0.0f, 0.0f};
  float mY2[2] = {0.0f, 0.0f};
  float mB0 = 1.0f, mB1 = 0.0f, mB2 = 0.0f, mA0 = 1.0f, mA1 = 0.0f, mA2 = 0.0f;
};
