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

// softSat with the same bits, without the arctangent where its term cannot move the rounded sum. The
// term is 0.01 * atan(x^7) with |atan(y)| <= |y|; the test keeps it below a tenth of the sum's last
// place, so subtracting it would return the sum unchanged. Quiet material (the detector's -40 dB source
// most of the time) skips one of the three calls.
double softSatChain(double x) {
  const double x2 = x * x;
  const double x3 = x2 * x;
  const double x7 = x3 * x3 * x;
  const double sum = x + 0.04 * std::tanh(x3) + 0.001 * std::tanh(x2);
  const double mag = std::fabs(sum);
  if (mag >= 0x1p-900 && 0.03 * std::fabs(x7) < mag * 0x1p-55) return sum;
  return sum - 0.01 * std::atan(x7);
}

double inputStage(double x, int xformer) {
  return xformer == 1 ? 5.623413251903491 * xformerShape(softSatChain(0.1778279410038923 * x))
                      : 1.7782794100389228 * softSatChain(0.5623413251903491 * x);
}

bool SameBits(double a, double b) {
  uint64_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

// Remembers the last two results of a pure function by the exact bits of its argument: silence (the
// alternating offset) and mono material then skip the transcendental calls, with identical results.
class Memo2 {
public:
  template <class F>
  double operator()(double x, F f) {
    uint64_t key;
    std::memcpy(&key, &x, sizeof key);
    if (key == mKey[0] && mValid[0]) return mOut[0];
    if (key == mKey[1] && mValid[1]) return mOut[1];
    const double y = f(x);
    mKey[mNext] = key;
    mOut[mNext] = y;
    mValid[mNext] = true;
    mNext ^= 1;
    return y;
  }

private:
  uint64_t mKey[2] = {0, 0};
  bool mValid[2] = {false, false};
  double mOut[2] = {0.0, 0.0};
  int mNext = 0;
};

// One biquad's slot 1 with its coefficients divided by a0: the same expression, order and precision
// as Biquad::processSample.
struct Section {
  float n[5];
  float x1, x2, y1, y2;

  void Load(const Biquad& f, const float (&norm)[5]) {
    for (int k = 0; k < 5; ++k) n[k] = norm[k];
    x1 = f.x1[1];
    x2 = f.x2[1];
    y1 = f.y1[1];
    y2 = f.y2[1];
  }
  void Store(Biquad& f) const {
    f.x1[1] = x1;
    f.x2[1] = x2;
    f.y1[1] = y1;
    f.y2[1] = y2;
  }
  float Step(float x) {
    const float y = n[0] * x + n[1] * x1 + n[2] * x2 - n[3] * y1 - n[4] * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
  void Clear() { x1 = x2 = y1 = y2 = 0.0f; }
};

}  // namespace

// Per-block memories of the saturators: program input and detector source per channel, output stage.
// Only silent stretches repeat their inputs, so the memories are consulted only there.
struct QuorvaneChain::Memos {
  Memo2 in[2];
  Memo2 det[2];
  Memo2 out;
  bool quietMain = false;  // this chunk's main inputs are all zero
  bool quietDet = false;   // ...and so is the detector's source

  template <class F>
  static double Use(bool on, Memo2& memo, double x, F f) {
    return on ? memo(x, f) : f(x);
  }
};

namespace {

bool AllZero(const double* x, int n) {
  bool zero = true;
  for (int i = 0; i < n; ++i) zero &= x[i] == 0.0;
  return zero;
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

void QuorvaneChain::SetUpFilters(float hpFreq, float peakDb, float shelfDb, float rate) {
  for (int c = 0; c < 2; ++c) {
    Biquad& hp = mFilters[c * 3 + 0];
    hp.type = kHighPass;
    hp.setAmpdB(1.0f);
    hp.setQ(0.707f);
    hp.setFs(rate);
    hp.setFreq(LimitToNyquist(hpFreq, rate));
    Biquad& peak = mFilters[c * 3 + 1];
    peak.type = kPeaking;
    peak.setAmpdB(peakDb);
    peak.setQ(0.507f);
    peak.setFs(rate);
    peak.setFreq(LimitToNyquist(1600.0f, rate));
    Biquad& shelf = mFilters[c * 3 + 2];
    shelf.type = kHighShelf;
    shelf.setAmpdB(shelfDb);
    shelf.setQ(0.3f);
    shelf.setFs(rate);
    shelf.setFreq(LimitToNyquist(5000.0f, rate));
  }
  for (int i = 0; i < kNumFilters; ++i) {
    const Biquad& f = mFilters[i];
    mNorm[i] = {{f.b0 / f.a0, f.b1 / f.a0, f.b2 / f.a0, f.a1 / f.a0, f.a2 / f.a0}};
  }
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
  const float peakDb = static_cast<float>(s.midGainDb + mTurboMidBoostDb);
  const float shelfDb = static_cast<float>(-s.hfDb);
  // The coefficients depend on these inputs alone; a block that repeats them bit for bit keeps them.
  const float key[4] = {hpFreq, peakDb, shelfDb, rate};
  if (!mFilterKeyValid || std::memcmp(key, mFilterKey, sizeof key) != 0) {
    mFilterKeyValid = true;
    std::memcpy(mFilterKey, key, sizeof key);
    SetUpFilters(hpFreq, peakDb, shelfDb, rate);
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

  // The block is worked through in chunks, one stage at a time: every stateful unit still sees its
  // samples in order, so the result is the same as sample by sample, but each loop stays small.
  Memos memos;
  for (int pos = 0; pos < nFrames; pos += kChunk) {
    const int n = nFrames - pos < kChunk ? nFrames - pos : kChunk;
    for (int i = 0; i < n; ++i) {
      mOffset[i] = mDenormalOffset;
      mDenormalOffset = -mDenormalOffset;
    }
    memos.quietMain = AllZero(inputs[0] + pos, n) && AllZero(inputs[1] + pos, n);
    memos.quietDet = sw.externalSidechain == 1 ? AllZero(inputs[2] + pos, n) && AllZero(inputs[3] + pos, n)
                                               : memos.quietMain;
    ProgramInput(inputs[0] + pos, inputs[1] + pos, n, sw.xformer, memos);
    Detector(inputs[2] + pos, inputs[3] + pos, n, s, sw, memos);
    Dynamics(n, s, sw, meter, meterContext);
    Output(inputs[0] + pos, inputs[1] + pos, outputs[0] + pos, outputs[1] + pos, n, sw, memos);
  }
}

void QuorvaneChain::ProgramInput(const double* inL, const double* inR, int n, int xformer, Memos& m) {
  auto stage = [xformer](double x) { return inputStage(x, xformer); };
  for (int i = 0; i < n; ++i) mXfIn[0][i] = Memos::Use(m.quietMain, m.in[0], inL[i] - mOffset[i], stage);
  for (int i = 0; i < n; ++i) {
    const double x = inR[i];
    mXfIn[1][i] =
        SameBits(x, inL[i]) ? mXfIn[0][i] : Memos::Use(m.quietMain, m.in[1], x - mOffset[i], stage);
  }
}

void QuorvaneChain::Detector(const double* scL, const double* scR, int n, const QuorvaneSettings& s,
                             const QuorvaneSwitches& sw, Memos& m) {
  // Source: the sidechain or the program, through the -40 dB saturator. A non-finite source is heard
  // as silence, so it never reaches a recursive state.
  const int xformer = sw.xformer;
  for (int c = 0; c < 2; ++c) {
    const double* sc = c == 0 ? scL : scR;
    for (int i = 0; i < n; ++i) {
      const double d = mOffset[i];
      double src;
      if (sw.externalSidechain == 1) {
        const double v = sc[i];
        src = 0.01 * ((std::isfinite(v) ? v : 0.0) - d);
      } else {
        const double x = mXfIn[c][i];
        src = 0.01 * (std::isfinite(x) ? x : inputStage(0.0 - d, xformer));
      }
      if (c == 1 && SameBits(src, mSrc[i])) {
        mScSat[1][i] = mScSat[0][i];
      } else {
        mScSat[c][i] = Memos::Use(m.quietDet, m.det[c], src, softSatChain);
        mSrc[i] = src;
      }
    }
  }

  // Filters and transient branch, both channels side by side; each filter and shaper still sees its
  // own samples in order, and their recursions overlap. The state of the filters' slot 1 is worked on
  // in locals and written back after the chunk.
  const double B = 6.0 * s.boostGain;
  const double tiltPos = s.transientTilt;
  const double mix = s.transientMix;
  Section sec[kNumFilters];
  for (int k = 0; k < kNumFilters; ++k) sec[k].Load(mFilters[k], mNorm[k].n);
  for (int i = 0; i < n; ++i) {
    double scFilt[2];
    for (int c = 0; c < 2; ++c) {
      Section* cs = sec + 3 * c;
      float y = cs[2].Step(cs[1].Step(cs[0].Step(static_cast<float>(LimitDetector(mScSat[c][i])))));
      if (!std::isfinite(y)) {
        cs[0].Clear();
        cs[1].Clear();
        cs[2].Clear();
        y = 0.0f;
      }
      scFilt[c] = y;
    }
    // The shelves' extra zero-input step of every sample.
    sec[kShelfL].Step(0.0f);
    sec[kShelfR].Step(0.0f);

    // Transient branch and the blend into the detector signal.
    for (int c = 0; c < 2; ++c) {
      const double pre = tiltPreShape(scFilt[c] * B) / B;
      double tiltOut = 100.0 * mTilt[c].Process(pre, 0.55, tiltPos, tiltPos, 0.25);
      if (!std::isfinite(tiltOut)) {
        mTilt[c].Reset();
        tiltOut = 0.0;
      }
      const double det = (1.0 - mix) * (100.0 * scFilt[c]) + mix * tiltOut;
      mDet[c][i] = std::isfinite(det) ? det : 0.0;
    }
  }
  for (int k = 0; k < kNumFilters; ++k) sec[k].Store(mFilters[k]);
}

void QuorvaneChain::Dynamics(int n, const QuorvaneSettings& s, const QuorvaneSwitches& sw,
                             MeterSink meter, void* meterContext) {
  for (int i = 0; i < n; ++i) {
    const double detL = mDet[0][i], detR = mDet[1][i];
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
    // setLimiter(false), with 1 - 1/ratio worked out only when the ratio changes.
    if (!mSlopeValid || !SameBits(mComp.ratio, mSlopeRatio)) {
      mSlopeRatio = mComp.ratio;
      mSlope = 1.0 - 1.0 / mSlopeRatio;
      mSlopeValid = true;
    }
    mComp.limiterMode = 0;
    mComp.slope = mSlope;

    const double grArg = mGainReductionDb * kDbToLn;
    if (!SameBits(grArg, mExpArg)) {
      mExpArg = grArg;
      mExpVal = std::exp(grArg);
    }
    const double G = mExpVal;
    const double gL = mGainSmoother.step(G);
    const double mL = mMakeUpSmoother.step(s.makeUpGain);
    const double gR = mGainSmoother.step(G);
    const double mR = mMakeUpSmoother.step(s.makeUpGain);
    mCompressed[0][i] = mXfIn[0][i] * gL * mL;
    mCompressed[1][i] = mXfIn[1][i] * gR * mR;

    if (sw.bypass == 1) {
      for (int k = 0; k < 4; ++k) mWet[k][i] = mMixSmoother.step(s.compMix);
    }

    const double gM = mGainSmoother.step(G);
    const double level = mVU.step(1.0 - gM, mVUCoef);
    if (meter) meter(meterContext, level);
  }
}

void QuorvaneChain::Output(const double* inL, const double* inR, double* outL, double* outR, int n,
                           const QuorvaneSwitches& sw, Memos& m) {
  for (int i = 0; i < n; ++i) {
    const double d = mOffset[i];
    double xfOutL = mCompressed[0][i], xfOutR = mCompressed[1][i];
    if (sw.xformer == 1) {
      const bool q = m.quietMain;
      xfOutL = 5.623413251903491 * Memos::Use(q, m.out, 0.1778279410038923 * xfOutL, xformerShape);
      xfOutR = 5.623413251903491 * Memos::Use(q, m.out, 0.1778279410038923 * xfOutR, xformerShape);
    }
    // Both inputs are read before either output is written: the buffers may be shared.
    const double l = inL[i], r = inR[i];
    if (sw.bypass == 1) {
      outL[i] = (1.0 - mWet[1][i]) * l + (xfOutL + d) * mWet[0][i];
      outR[i] = (1.0 - mWet[3][i]) * r + (xfOutR + d) * mWet[2][i];
    } else {
      outL[i] = l + d;
      outR[i] = r + d;
    }
  }
}
