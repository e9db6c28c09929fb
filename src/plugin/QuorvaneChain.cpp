// The signal chain: block set-up, then each chunk as a sequence of passes.
#include "plugin/QuorvaneChain.h"

#include "plugin/chain/FlushDenormals.h"
#include "plugin/dsp/Select.h"
#include "plugin/dsp/StereoPair.h"
#include "plugin/dsp/TiltPreTable.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

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
    hp.setType(kHighPass);
    hp.setAmpdB(1.0f);
    hp.setQ(0.707f);
    hp.setFs(rate);
    hp.setFreq(LimitToNyquist(hpFreq, rate));
    Biquad& peak = mFilters[c * 3 + 1];
    peak.setType(kPeaking);
    peak.setAmpdB(peakDb);
    peak.setQ(0.507f);
    peak.setFs(rate);
    peak.setFreq(LimitToNyquist(1600.0f, rate));
    Biquad& shelf = mFilters[c * 3 + 2];
    shelf.setType(kHighShelf);
    shelf.setAmpdB(shelfDb);
    shelf.setQ(0.3f);
    shelf.setFs(rate);
    shelf.setFreq(LimitToNyquist(5000.0f, rate));
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

  // The filters' coefficients cost some twenty trigonometric calls; most blocks repeat the last set.
  const float rate = static_cast<float>(fs);
  const float peakDb = static_cast<float>(s.midGainDb + mTurboMidBoostDb);
  const float shelfDb = static_cast<float>(-s.hfDb);
  if (mFilters[kHighPassL].getType() != kHighPass ||
      mFilters[kHighPassL].getFreq() != LimitToNyquist(hpFreq, rate) ||
      mFilters[kPeakL].getAmpdB() != peakDb || mFilters[kShelfL].getAmpdB() != shelfDb ||
      mFilters[kHighPassL].getFs() != rate)
    SetUpFilters(hpFreq, peakDb, shelfDb, rate);

  mThresholdTargetDb = (s.thresholdPos + 15.0) / 30.0 * 35.0 - 40.0;

  if (fs != mCachedRate) {
    mCachedRate = fs;
    mG10 = std::exp(-kTwoPi * 10.0 / fs);
    mG50 = std::exp(-kTwoPi * 50.0 / fs);
    mVUCoef = VUClass::coefficient(fs);
  }
  mMakeUpSmoother.b = mThresholdSmoother.b = mMixSmoother.b = mG10;
  mMakeUpSmoother.a = mThresholdSmoother.a = mMixSmoother.a = 1.0 - mG10;
  mGainSmoother.b = mG50;
  mGainSmoother.a = 1.0 - mG50;
}

void QuorvaneChain::Process(const double* const* inputs, double* const* outputs, int nFrames,
                            const QuorvaneSettings& s, QuorvaneSwitches sw, double sampleRate,
                            MeterSink meter, void* meterContext) {
  sw = Sanitize(sw);
  const double fs = SafeRate(sampleRate);
  SetUpBlock(s, sw, fs);
  const FlushDenormals flush;

  for (int pos = 0; pos < nFrames; pos += kChunk) {
    const int n = nFrames - pos < kChunk ? nFrames - pos : kChunk;
    for (int i = 0; i < n; ++i) {
      mOffset[i] = mDenormalOffset;
      mDenormalOffset = -mDenormalOffset;
    }
    ProgramInput(inputs[0] + pos, inputs[1] + pos, n, sw.xformer);
    DetectorSource(inputs[2] + pos, inputs[3] + pos, n, sw);
    Filters(n, s);
    Envelope(n, s, sw.turbo);
    Gains(n, s);
    Smoothers(n, s, sw.bypass);
    Output(inputs[0] + pos, inputs[1] + pos, outputs[0] + pos, outputs[1] + pos, n, sw);
    if (meter) meter(meterContext, mMeter, n);
  }
}

void QuorvaneChain::ProgramInput(const double* inL, const double* inR, int n, int xformer) {
  for (int i = 0; i < n; ++i) {
    mXfIn[0][i] = inL[i] - mOffset[i];
    mXfIn[1][i] = inR[i] - mOffset[i];
  }
  mKernels->inputStage(mXfIn[0], n, xformer);
  mKernels->inputStage(mXfIn[1], n, xformer);
}

// The detector hears the sidechain or the saturated program, 40 dB down, through its own saturator.
// A non-finite source is heard as silence, so it never reaches a recursive state.
void QuorvaneChain::DetectorSource(const double* scL, const double* scR, int n, const QuorvaneSwitches& sw) {
  if (sw.externalSidechain == 1) {
    for (int i = 0; i < n; ++i) {
      const double l = scL[i], r = scR[i];
      mScSat[0][i] = 0.01 * ((std::isfinite(l) ? l : 0.0) - mOffset[i]);
      mScSat[1][i] = 0.01 * ((std::isfinite(r) ? r : 0.0) - mOffset[i]);
    }
  } else {
    bool finite = true;
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < n; ++i) {
        finite &= std::isfinite(mXfIn[c][i]);
        mScSat[c][i] = 0.01 * mXfIn[c][i];
      }
    }
    if (!finite) {
      // Silence through the same input stage: what a zero input sample would have given.
      double quiet[kBuf] = {};
      for (int i = 0; i < n; ++i) quiet[i] = 0.0 - mOffset[i];
      mKernels->inputStage(quiet, n, sw.xformer);
      for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < n; ++i)
          if (!std::isfinite(mXfIn[c][i])) mScSat[c][i] = 0.01 * quiet[i];
      }
    }
  }
  mKernels->detectorSaturator(mScSat[0], n);
  mKernels->detectorSaturator(mScSat[1], n);
}

// The detector filters, both channels side by side: high-pass, peak, high shelf, then the shelf's
// extra zero-input step of every sample. A channel whose output is not finite starts again from
// silence. The threshold smoother rides along, an independent recursion free beside the filters':
// it gives the threshold the gain computer sees at each sample, set after the sample before, so the
// first is the compressor's and mThreshold[n] the next chunk's first. Then the transient pre-shaper.
void QuorvaneChain::Filters(int n, const QuorvaneSettings& s) {
  float* pairs = mFilterPairs;  // left and right of each sample, side by side
  for (int i = 0; i < n; ++i) {
    pairs[2 * i] = static_cast<float>(LimitDetector(mScSat[0][i]));
    pairs[2 * i + 1] = static_cast<float>(LimitDetector(mScSat[1][i]));
  }
  Biquad::PairRun hp(mFilters[kHighPassL], mFilters[kHighPassR], 1);
  Biquad::PairRun peak(mFilters[kPeakL], mFilters[kPeakR], 1);
  Biquad::PairRun shelf(mFilters[kShelfL], mFilters[kShelfR], 1);
  const PairF zero = PairF::Of(0.0f, 0.0f);
  double threshold = mComp.gainComputer().thresholdDb();
  OnePoleSmoother thresholdSmoother = mThresholdSmoother;
  for (int i = 0; i < n; ++i) {
    mThreshold[i] = threshold;
    threshold = thresholdSmoother.step(mThresholdTargetDb);
    PairF y = shelf.step(peak.step(hp.step(PairF::Load(pairs + 2 * i))));
    if (const int bad = y.NonFinite()) {
      hp.clear(bad);
      peak.clear(bad);
      shelf.clear(bad);
      y = Biquad::PairRun::Silence(y, bad);
    }
    shelf.step(zero);
    y.Store(pairs + 2 * i);
  }
  hp.finish();
  peak.finish();
  shelf.finish();
  mThreshold[n] = threshold;
  mThresholdSmoother = thresholdSmoother;

  for (int i = 0; i < n; ++i) {
    mScFilt[0][i] = pairs[2 * i];
    mScFilt[1][i] = pairs[2 * i + 1];
  }
  const double B = 6.0 * s.boostGain;
  mKernels->preShaper(mScFilt[0], mPreShaped[0], n, B);
  mKernels->preShaper(mScFilt[1], mPreShaped[1], n, B);
}

// The tilt shapers, the blend into the detector signal and the compressor's linked follower, in one
// loop so that the recursions overlap.
void QuorvaneChain::Envelope(int n, const QuorvaneSettings& s, int turbo) {
  const double mix = s.transientMix;
  // The follower's settings act from the sample after they are set. Hold is always zero here (Reset
  // sets none and the chain pushes zero), so every step attacks or releases.
  envFollower::PeakRun follow = mComp.detectorRun(s.attackMs, s.releaseMs);
  const double* scFilt[2] = {mScFilt[0], mScFilt[1]};
  const double* pre[2] = {mPreShaped[0], mPreShaped[1]};
  double* envOut = mEnv;

  auto input = [pre](int i, double& l, double& r) {
    l = pre[0][i];
    r = pre[1][i];
  };
  auto follower = [&](int i, double tiltL, double tiltR) {
    double dl = (1.0 - mix) * (100.0 * scFilt[0][i]) + mix * (100.0 * tiltL);
    double dr = (1.0 - mix) * (100.0 * scFilt[1][i]) + mix * (100.0 * tiltR);
    if (!std::isfinite(dl)) dl = 0.0;
    if (!std::isfinite(dr)) dr = 0.0;
    // Turbo hears the average of the channels, otherwise the larger signed value.
    envOut[i] = follow.step(std::fabs(turbo == 1 ? 0.5 * (dl + dr) : Larger(dr, dl)));
  };
  const double c2 = s.transientTilt;
  if (mix == 0.0 && Tilt::PairReady(mTilt[0], mTilt[1], 0.55, c2, c2, 0.25)) {
    // Without the transient branch the follower hears the filtered detector alone: the blend is
    // 100 x + 0 x tilt, which differs from 100 x only in the sign of a zero (the tilt's output is
    // always finite), and the level is taken unsigned. The shapers' state still moves on, ready for
    // when the mix comes up; their output is not worked out.
    Tilt::SettledPair shapers(mTilt[0], mTilt[1]);
    for (int i = 0; i < n; ++i) {
      shapers.advance(pre[0][i], pre[1][i]);
      const double dl = 100.0 * scFilt[0][i], dr = 100.0 * scFilt[1][i];
      envOut[i] = follow.step(std::fabs(turbo == 1 ? 0.5 * (dl + dr) : Larger(dr, dl)));
    }
    shapers.finish();
  } else {
    Tilt::ProcessPair(mTilt[0], mTilt[1], n, 0.55, c2, c2, 0.25, input, follower);
  }
  mComp.finishDetectorRun(follow);
}

// The gain computer and its exponential across the chunk, with the settings pushed after each step.
void QuorvaneChain::Gains(int n, const QuorvaneSettings& s) {
  mComp.setHold(0.0);
  mComp.computeGains(mKernels->gainComputer, mEnv, mThreshold, mReductionDb, mGain, n, s.ratio, s.kneeFactor);
  mGainReductionDb = mReductionDb[n - 1];
}

// The one-pole ramps and the meter. The gain smoother steps three times a sample (left, right,
// meter), make-up twice and the mix four times; each recursion carries only its last step, taken in
// one go from the sample before, so a sample waits on one multiply-add per smoother.
void QuorvaneChain::Smoothers(int n, const QuorvaneSettings& s, int bypass) {
  const double b = mGainSmoother.b, a = mGainSmoother.a;
  const double b2 = b * b, b3 = b2 * b, sum3 = 1.0 + b + b2;
  const double bm = mMakeUpSmoother.b, bm2 = bm * bm, bm3 = bm2 * bm, bm4 = bm2 * bm2;
  const double makeUp = s.makeUpGain * mMakeUpSmoother.a;
  const double wet = s.compMix * mMixSmoother.a;
  double g = mGainSmoother.z, m = mMakeUpSmoother.z, w = mMixSmoother.z, level = mVU.level;
  const double vuCoef = mVUCoef;

  for (int i = 0; i < n; ++i) {
    const double aG = mGain[i] * a;
    const double gL = g * b + aG;
    const double gR = gL * b + aG;
    g = g * b3 + aG * sum3;
    const double mL = m * bm + makeUp;
    m = m * bm2 + makeUp * (1.0 + bm);
    mCompressed[0][i] = mXfIn[0][i] * gL * mL;
    mCompressed[1][i] = mXfIn[1][i] * gR * m;
    if (bypass == 1) {
      mWet[0][i] = w * bm + wet;
      mWet[1][i] = w * bm2 + wet * (1.0 + bm);
      mWet[2][i] = w * bm3 + wet * (1.0 + bm + bm2);
      w = w * bm4 + wet * (1.0 + bm + bm2 + bm3);
      mWet[3][i] = w;
    }
    const double r = std::fabs(1.0 - g);
    // Near the input the level alternates above and below it: a branch the CPU predicts.
    const double target = r > level ? r * 1.0125 : r * 0.9875;
    level = vuCoef * (level - target) + target;
    mMeter[i] = level;
  }
  mGainSmoother.z = g;
  mMakeUpSmoother.z = m;
  mMixSmoother.z = w;
  mVU.level = level;
}

void QuorvaneChain::Output(const double* inL, const double* inR, double* outL, double* outR, int n,
                           const QuorvaneSwitches& sw) {
  if (sw.xformer == 1) {
    mKernels->outputStage(mCompressed[0], n);
    mKernels->outputStage(mCompressed[1], n);
  }
  for (int i = 0; i < n; ++i) {
    const double d = mOffset[i];
    // Both inputs are read before either output is written: the buffers may be shared.
    const double l = inL[i], r = inR[i];
    if (sw.bypass == 1) {
      outL[i] = (1.0 - mWet[1][i]) * l + (mCompressed[0][i] + d) * mWet[0][i];
      outR[i] = (1.0 - mWet[3][i]) * r + (mCompressed[1][i] + d) * mWet[2][i];
    } else {
      outL[i] = l + d;
      outR[i] = r + d;
    }
  }
}
