// The signal chain: block set-up, then the program and detector paths sample by sample.
#include "plugin/QuorvaneChain.h"

#include "plugin/dsp/Shapers.h"
#include "plugin/dsp/TiltPreTable.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDbToLn = 0.1151292546497;  // ln(10) / 20, as the gain path has always used it

double inputStage(double x, int xformer) {
  return xformer == 1 ? 5.623413251903491 * xformerShape(softSat(0.1778279410038923 * x))
                      : 1.7782794100389228 * softSat(0.5623413251903491 * x);
}

// Remembers the last two results of a pure function by the exact bits of its argument: silence (the
// alternating offset) and mono material then skip the transcendental calls, with identical results.
class Memo2 {
public:
  template <class F>
  double operator()(double x, F f) {
    uint64_t key;
    std::memcpy(&key, &x, sizeof key);
    if (key == mKey[0]) return mOut[0];
    if (key == mKey[1]) return mOut[1];
    const double y = f(x);
    mKey[mNext] = key;
    mOut[mNext] = y;
    mNext ^= 1;
    return y;
  }

private:
  uint64_t mKey[2] = {~uint64_t{0}, ~uint64_t{0}};  // a NaN pattern no input carries
  double mOut[2] = {0.0, 0.0};
  int mNext = 0;
};

inline float step(Biquad& f, const float* n, float x) {
  // Same expression, order and precision as Biquad::processSample with slot 1.
  const float y = n[0] * x + n[1] * f.x1[1] + n[2] * f.x2[1] - n[3] * f.y1[1] - n[4] * f.y2[1];
  f.x2[1] = f.x1[1];
  f.x1[1] = x;
  f.y2[1] = f.y1[1];
  f.y1[1] = y;
  return y;
}

void clearSlot(Biquad& f) {
  f.x1[1] = f.x2[1] = f.y1[1] = f.y2[1] = 0.0f;
}

}  // namespace

QuorvaneSwitches QuorvaneChain::Sanitize(QuorvaneSwitches sw) {
  auto clamp01 = [](int v) { return v < 0 ? 0 : (v > 1 ? 1 : v); };
  sw.bypass = clamp01(sw.bypass);
  sw.externalSidechain = clamp01(sw.externalSidechain);
  sw.turbo = clamp01(sw.turbo);
  sw.xformer = clamp01(sw.xformer);
  return sw;
}

double QuorvaneChain::SafeRate(double fs) {
  if (!(fs > 0.0)) return 44100.0;
  return fs < 1e7 ? fs : 1e7;
}

void QuorvaneChain::Reset(const QuorvaneSettings& s, double sampleRate) {
  mComp.init(s.attackMs, s.releaseMs, 0.0, s.ratio, s.kneeFactor, SafeRate(sampleRate));
}

void QuorvaneChain::SetUpBlock(const QuorvaneSettings& s, const QuorvaneSwitches& sw, double fs) {
  double base;
  if (sw.turbo == 1) {
    mTurboHpfBase = 10.0;
    mTurboMidBoostDb = 0.0;
    base = 20.0;
  } else {
    mTurboHpfBase = 110.0;
    mTurboMidBoostDb = 4.0;
    base = 120.0;
  }
  const float hpFreq = static_cast<float>((1000.0 - base) * ((s.hpfPos - 20.0) / 480.0) + base);

  mTilt[0].Calc(fs);
  mTilt[1].Calc(fs);

  const float rate = static_cast<float>(fs);
  for (int c = 0; c < 2; ++c) {
    Biquad& hp = mFilters[c * 3 + 0];
    hp.type = kHighPass;
    hp.setAmpdB(1.0f);
    hp.setQ(0.707f);
    hp.setFs(rate);
    hp.setFreq(LimitToNyquist(hpFreq, rate));
    Biquad& peak = mFilters[c * 3 + 1];
    peak.type = kPeaking;
    peak.setAmpdB(static_cast<float>(s.midGainDb + mTurboMidBoostDb));
    peak.setQ(0.507f);
    peak.setFs(rate);
    peak.setFreq(LimitToNyquist(1600.0f, rate));
    Biquad& shelf = mFilters[c * 3 + 2];
    shelf.type = kHighShelf;
    shelf.setAmpdB(static_cast<float>(-s.hfDb));
    shelf.setQ(0.3f);
    shelf.setFs(rate);
    shelf.setFreq(LimitToNyquist(5000.0f, rate));
  }
  for (int i = 0; i < kNumFilters; ++i) {
    const Biquad& f = mFilters[i];
    mNorm[i] = {{f.b0 / f.a0, f.b1 / f.a0, f.b2 / f.a0, f.a1 / f.a0, f.a2 / f.a0}};
  }

  mThresholdTargetDb = (s.thresholdPos + 15.0) / 30.0 * 35.0 - 40.0;

  if (fs != mCachedRate) {
    mCachedRate = fs;
    mG10 = std::exp(-kTwoPi * 10.0 / fs);
    mG50 = std::exp(-kTwoPi * 50.0 / fs);
    mVUCoef = VUClass::coefficient(fs);
  }
  // The smoothers' coefficients are rewritten every sample with these same values.
  mMakeUpSmoother.b = mThresholdSmoother.b = mMixSmoother.b = mG10;
  mMakeUpSmoother.a = mThresholdSmoother.a = mMixSmoother.a = 1.0 - mG10;
  mGainSmoother.b = mG50;
  mGainSmoother.a = 1.0 - mG50;

  if (s.attackMs != mAttackKey[0] || mComp.sampleRate != mAttackKey[1]) {
    mAttackKey[0] = s.attackMs;
    mAttackKey[1] = mComp.sampleRate;
    mAttackCoef = envFollower::coefficient(s.attackMs, mComp.sampleRate);
  }
  if (s.releaseMs != mReleaseKey[0] || mComp.sampleRate != mReleaseKey[1]) {
    mReleaseKey[0] = s.releaseMs;
    mReleaseKey[1] = mComp.sampleRate;
    mReleaseCoef = envFollower::coefficient(s.releaseMs, mComp.sampleRate);
  }
  mHoldSamples = envFollower::samplesFor(mComp.sampleRate * 0.0 / 1000.0);
}

void QuorvaneChain::Process(const double* const* inputs, double* const* outputs, int nFrames,
                            const QuorvaneSettings& s, QuorvaneSwitches sw, double sampleRate,
                            MeterSink meter, void* meterContext) {
  sw = Sanitize(sw);
  const double fs = SafeRate(sampleRate);
  SetUpBlock(s, sw, fs);

  const double B = 6.0 * s.boostGain;
  const double tilt = s.transientTilt;
  const double mix = s.transientMix;
  double expArg = 0.0, expVal = 1.0;  // exp(0) is exactly 1
  const int xformer = sw.xformer;
  auto stage = [xformer](double x) { return inputStage(x, xformer); };
  Memo2 inMemo, detMemo, outMemo;

  for (int i = 0; i < nFrames; ++i) {
    const double d = mDenormalOffset;
    mDenormalOffset = -d;

    const double inL = inputs[0][i], inR = inputs[1][i];
    const double xfInL = inMemo(inL - d, stage);
    const double xfInR = inMemo(inR - d, stage);

    // A non-finite detector source is heard as silence, so it never reaches a recursive state.
    double scSatL, scSatR;
    if (sw.externalSidechain == 1) {
      const double scL = inputs[2][i], scR = inputs[3][i];
      scSatL = detMemo(0.01 * ((std::isfinite(scL) ? scL : 0.0) - d), softSat);
      scSatR = detMemo(0.01 * ((std::isfinite(scR) ? scR : 0.0) - d), softSat);
    } else {
      scSatL = detMemo(0.01 * (std::isfinite(xfInL) ? xfInL : stage(0.0 - d)), softSat);
      scSatR = detMemo(0.01 * (std::isfinite(xfInR) ? xfInR : stage(0.0 - d)), softSat);
    }

    float fL = step(mFilters[kShelfL], mNorm[kShelfL].n,
                    step(mFilters[kPeakL], mNorm[kPeakL].n,
                         step(mFilters[kHighPassL], mNorm[kHighPassL].n,
                              static_cast<float>(LimitDetector(scSatL)))));
    float fR = step(mFilters[kShelfR], mNorm[kShelfR].n,
                    step(mFilters[kPeakR], mNorm[kPeakR].n,
                         step(mFilters[kHighPassR], mNorm[kHighPassR].n,
                              static_cast<float>(LimitDetector(scSatR)))));
    if (!std::isfinite(fL)) {
      for (int k = kHighPassL; k <= kShelfL; ++k) clearSlot(mFilters[k]);
      fL = 0.0f;
    }
    if (!std::isfinite(fR)) {
      for (int k = kHighPassR; k <= kShelfR; ++k) clearSlot(mFilters[k]);
      fR = 0.0f;
    }
    const double scFiltL = fL, scFiltR = fR;

    const double preL = tiltPreShape(scFiltL * B) / B;
    const double preR = tiltPreShape(scFiltR * B) / B;
    double tiltOutL = 100.0 * mTilt[0].Process(preL, 0.55, tilt, tilt, 0.25);
    double tiltOutR = 100.0 * mTilt[1].Process(preR, 0.55, tilt, tilt, 0.25);
    if (!std::isfinite(tiltOutL)) {
      mTilt[0] = Tilt();
      mTilt[0].Calc(fs);
      tiltOutL = 0.0;
    }
    if (!std::isfinite(tiltOutR)) {
      mTilt[1] = Tilt();
      mTilt[1].Calc(fs);
      tiltOutR = 0.0;
    }

    double detL = (1.0 - mix) * (100.0 * scFiltL) + mix * tiltOutL;
    double detR = (1.0 - mix) * (100.0 * scFiltR) + mix * tiltOutR;
    if (!std::isfinite(detL)) detL = 0.0;
    if (!std::isfinite(detR)) detR = 0.0;

    step(mFilters[kShelfL], mNorm[kShelfL].n, 0.0f);
    step(mFilters[kShelfR], mNorm[kShelfR].n, 0.0f);

    if (sw.turbo == 1) {
      const double m = 0.5 * (detL + detR);
      mGainReductionDb = mComp.processStereo(m, m);
    } else {
      mGainReductionDb = mComp.processStereo(detL, detR);
    }

    mComp.attackCoef = mAttackCoef;
    mComp.releaseCoef = mReleaseCoef;
    mComp.holdSamples = mHoldSamples;
    mComp.setRatio(s.ratio);
    mComp.setThreshold(mThresholdSmoother.step(mThresholdTargetDb));
    mComp.setKneeFactor(s.kneeFactor);
    mComp.setLimiter(false);

    const double grArg = mGainReductionDb * kDbToLn;
    if (grArg != expArg) {
      expArg = grArg;
      expVal = std::exp(grArg);
    }
    const double G = expVal;
    const double gL = mGainSmoother.step(G);
    const double mL = mMakeUpSmoother.step(s.makeUpGain);
    const double gR = mGainSmoother.step(G);
    const double mR = mMakeUpSmoother.step(s.makeUpGain);
    const double compL = xfInL * gL * mL;
    const double compR = xfInR * gR * mR;

    double xfOutL = compL, xfOutR = compR;
    if (sw.xformer == 1) {
      xfOutL = 5.623413251903491 * outMemo(0.1778279410038923 * compL, xformerShape);
      xfOutR = 5.623413251903491 * outMemo(0.1778279410038923 * compR, xformerShape);
    }

    if (sw.bypass == 1) {
      const double w1 = mMixSmoother.step(s.compMix);
      const double w2 = mMixSmoother.step(s.compMix);
      outputs[0][i] = (1.0 - w2) * inL + (xfOutL + d) * w1;
      const double w3 = mMixSmoother.step(s.compMix);
      const double w4 = mMixSmoother.step(s.compMix);
      outputs[1][i] = (1.0 - w4) * inR + (xfOutR + d) * w3;
    } else {
      outputs[0][i] = inL + d;
      outputs[1][i] = inR + d;
    }

    const double gM = mGainSmoother.step(G);
    const double level = mVU.step(1.0 - gM, mVUCoef);
    if (meter) meter(meterContext, level);
  }
}
