// Single-precision second-order IIR filter (nine equaliser response types) with two state slots that
// share one coefficient set.
//
// Threads: a plain value with no lock of its own; in the plug-in only the signal chain calls it, on the
// audio thread under the plug-in's mutex.
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
      float n[2][5];
      left.normalised(n[0]);
      right.normalised(n[1]);
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

  // Two filters in series (first, then second) for a left and a right channel in one register: the
  // second runs one sample behind the first, so that both step at once; each lane exactly as
  // processSample. begin(x0) takes a run's first sample, step(x) each later one and returns the
  // second filter's output for the sample before, end() the second's output for the last sample.
  class CascadeRun {
   public:
    CascadeRun(Biquad& firstL, Biquad& firstR, Biquad& secondL, Biquad& secondR, int slot)
        : mF{&firstL, &firstR, &secondL, &secondR}, mSlot(slot) {
      float n[4][5];
      for (int c = 0; c < 4; ++c) mF[c]->normalised(n[c]);
      for (int k = 0; k < 5; ++k) mN[k] = Lanes(n[0][k], n[1][k], n[2][k], n[3][k]);
      mX1 = Lanes(firstL.mX1[slot], firstR.mX1[slot], secondL.mX1[slot], secondR.mX1[slot]);
      mX2 = Lanes(firstL.mX2[slot], firstR.mX2[slot], secondL.mX2[slot], secondR.mX2[slot]);
      mY1 = Lanes(firstL.mY1[slot], firstR.mY1[slot], secondL.mY1[slot], secondR.mY1[slot]);
      mY2 = Lanes(firstL.mY2[slot], firstR.mY2[slot], secondL.mY2[slot], secondR.mY2[slot]);
    }
    void begin(PairF x) {
      const QuadF x1 = mX1, x2 = mX2, y1 = mY1, y2 = mY2;
      stepBoth(QuadF::Of(x, x));
      // The second filter has nothing to take yet: its lanes go back.
      mX1 = mX1.WithHi(x1), mX2 = mX2.WithHi(x2), mY1 = mY1.WithHi(y1), mY2 = mY2.WithHi(y2);
    }
    PairF step(PairF x) {
      stepBoth(QuadF::Of(x, mY1.Lo()));
      return mY1.Hi();
    }
    PairF end() {
      const QuadF x1 = mX1, x2 = mX2, y1 = mY1, y2 = mY2;
      stepBoth(QuadF::Of(mY1.Lo(), mY1.Lo()));
      // The first filter has no next sample: its lanes go back.
      mX1 = x1.WithHi(mX1), mX2 = x2.WithHi(mX2), mY1 = y1.WithHi(mY1), mY2 = y2.WithHi(mY2);
      return mY1.Hi();
    }
    void finish() {
      const QuadF* state[4] = {&mX1, &mX2, &mY1, &mY2};
      float lanes[4][4];  // state, then filter
      for (int k = 0; k < 4; ++k) {
        const PairF lo = state[k]->Lo(), hi = state[k]->Hi();
        lanes[k][0] = lo.L(), lanes[k][1] = lo.R(), lanes[k][2] = hi.L(), lanes[k][3] = hi.R();
      }
      for (int c = 0; c < 4; ++c) {
        mF[c]->mX1[mSlot] = lanes[0][c];
        mF[c]->mX2[mSlot] = lanes[1][c];
        mF[c]->mY1[mSlot] = lanes[2][c];
        mF[c]->mY2[mSlot] = lanes[3][c];
      }
    }

   private:
    static QuadF Lanes(float a, float b, float c, float d) {
      return QuadF::Of(PairF::Of(a, b), PairF::Of(c, d));
    }
    void stepBoth(QuadF x) {
      const QuadF y = mN[0] * x + mN[1] * mX1 + mN[2] * mX2 - mN[3] * mY1 - mN[4] * mY2;
      mX2 = mX1;
      mX1 = x;
      mY2 = mY1;
      mY1 = y;
    }
    Biquad* mF[4];  // first left, first right, second left, second right
    int mSlot;
    QuadF mN[5];
    QuadF mX1, mX2, mY1, mY2;
  };

 private:
  // b0, b1, b2, a1 and a2 over a0, as processSample divides them: kept beside the coefficients, since
  // a run starts every chunk.
  void normalised(float n[5]) const {
    for (int k = 0; k < 5; ++k) n[k] = mNormalised[k];
  }

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
  float mNormalised[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};  // b0, b1, b2, a1, a2 over a0
};
