// The signal chain: block set-up, then each chunk as a sequence of passes.
#include "plugin/QuorvaneChain.h"

#include "plugin/chain/FlushDenormals.h"
#include "plugin/dsp/Select.h"
#include "plugin/dsp/StereoPair.h"
#include "plugin/dsp/TiltPreTable.h"

#include <cmath>
#include <type_traits>

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

  // A chunk still waiting for the tilt shapers belongs to the rate it came at.
  if (static_cast<double>(mTilt[0].SampleRateInt()) != std::trunc(fs)) FlushPendingTilt();
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
    if (!DetectorWithoutTransients(n, s, sw.turbo)) {
      FlushPendingTilt();
      Filters(n, s);
      Envelope(n, s, sw.turbo);
    }
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
    // Two values at a time: the compiler keeps a loop that also tests finiteness scalar.
    int nonFinite = 0;
    const PairD down = PairD::Of(0.01, 0.01);
    for (int c = 0; c < 2; ++c) {
      int i = 0;
      for (; i + 2 <= n; i += 2) {
        const PairD v = PairD::Load(mXfIn[c] + i);
        nonFinite |= v.NonFinite();
        (down * v).Store(mScSat[c] + i);
      }
      for (; i < n; ++i) {
        nonFinite |= std::isfinite(mXfIn[c][i]) ? 0 : 1;
        mScSat[c][i] = 0.01 * mXfIn[c][i];
      }
    }
    if (nonFinite) {
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

namespace {

// Transient shaper controls: level, tilt (linear), tilt (log), second level.
constexpr double kTiltLevel = 0.55, kTiltLevel2 = 0.25;

// What the follower hears of the two detector channels: Turbo the average, otherwise the larger
// signed value, unsigned.
inline double FollowerLevel(double dl, double dr, int turbo) {
  return std::fabs(turbo == 1 ? 0.5 * (dl + dr) : Larger(dr, dl));
}

// The detector filters of both channels side by side (high-pass, peak, high shelf, then the shelf's
// extra zero-input step of every sample), with the threshold smoother riding along: an independent
// recursion free beside the filters'. A channel whose output is not finite starts again from silence.
class DetectorFilterRun {
 public:
  DetectorFilterRun(Biquad* f, const OnePoleSmoother& thresholdSmoother, double threshold)
      : mHp(f[QuorvaneChain::kHighPassL], f[QuorvaneChain::kHighPassR], 1),
        mPeak(f[QuorvaneChain::kPeakL], f[QuorvaneChain::kPeakR], 1),
        mShelf(f[QuorvaneChain::kShelfL], f[QuorvaneChain::kShelfR], 1),
        mSmoother(thresholdSmoother),
        mThreshold(threshold) {}

  // One sample; `threshold` receives the threshold in effect at it, set after the sample before.
  PairF step(PairF x, double target, double& threshold) {
    threshold = mThreshold;
    mThreshold = mSmoother.step(target);
    PairF y = mShelf.step(mPeak.step(mHp.step(x)));
    if (const int bad = y.NonFinite()) {
      mHp.clear(bad);
      mPeak.clear(bad);
      mShelf.clear(bad);
      y = Biquad::PairRun::Silence(y, bad);
    }
    mShelf.step(PairF::Of(0.0f, 0.0f));
    return y;
  }
  // Stores the filters' state; returns the threshold for the next chunk's first sample.
  double finish(OnePoleSmoother& thresholdSmoother) {
    mHp.finish();
    mPeak.finish();
    mShelf.finish();
    thresholdSmoother = mSmoother;
    return mThreshold;
  }

 private:
  Biquad::PairRun mHp, mPeak, mShelf;
  OnePoleSmoother mSmoother;
  double mThreshold;
};

}  // namespace

// The detector filters (the threshold smoother gives the threshold the gain computer sees at each
// sample, so the first is the compressor's and mThreshold[n] the next chunk's first), then the
// transient pre-shaper.
void QuorvaneChain::Filters(int n, const QuorvaneSettings& s) {
  DetectorFilterRun filters(mFilters, mThresholdSmoother, mComp.gainComputer().thresholdDb());
  for (int i = 0; i < n; ++i) {
    const PairF y = filters.step(FilterInput(i), mThresholdTargetDb, mThreshold[i]);
    mScFilt[0][i] = y.L();
    mScFilt[1][i] = y.R();
  }
  mThreshold[n] = filters.finish(mThresholdSmoother);
  const double B = 6.0 * s.boostGain;
  mKernels->preShaper(mScFilt[0], mPreShaped[0], n, B);
  mKernels->preShaper(mScFilt[1], mPreShaped[1], n, B);
}

// Without the transient branch (Transient Mix 0) the follower hears the filtered detector alone: the
// blend is 100 x + 0 x tilt, which differs from 100 x only in the sign of a zero (the tilt's output
// is always finite), and the level is taken unsigned. The tilt shapers' output goes unused, but their
// state must move on, ready for when the mix comes up: it does so one chunk late, on the pre-shaped
// detector waiting in mPreShaped, in the same loop as the filters and the follower, where the three
// independent recursions overlap. Returns false, having done nothing, where this does not apply.
bool QuorvaneChain::DetectorWithoutTransients(int n, const QuorvaneSettings& s, int turbo) {
  const double c2 = s.transientTilt;
  if (s.transientMix != 0.0 || (mPendingTilt > 0 && mPendingTiltControl != c2) ||
      !Tilt::PairReady(mTilt[0], mTilt[1], kTiltLevel, c2, c2, kTiltLevel2))
    return false;
  Tilt::SettledPair shapers(mTilt[0], mTilt[1]);
  const int pending = mPendingTilt;
  auto shape = [this, &shapers, pending](int i) {
    if (i < pending) shapers.advance(mPreShaped[0][i], mPreShaped[1][i]);
  };

  // The high-pass and the peak share a register, the peak a sample behind. A non-finite output is
  // only noted here; the per-sample restart from silence is left to the checked pass.
  Biquad::CascadeRun hpPeak(mFilters[kHighPassL], mFilters[kHighPassR], mFilters[kPeakL], mFilters[kPeakR],
                            1);
  Biquad::PairRun shelf(mFilters[kShelfL], mFilters[kShelfR], 1);
  OnePoleSmoother thresholdSmoother = mThresholdSmoother;
  double threshold = mComp.gainComputer().thresholdDb();
  envFollower::PeakRun follow = mComp.detectorRun(s.attackMs, s.releaseMs);
  // y - y is 0 for a finite y and NaN otherwise: the sum over the chunk tells whether any output was
  // not finite, at one addition a sample.
  PairF poison = PairF::Of(0.0f, 0.0f);
  // A settled threshold smoother repeats its value on every step: the loop then leaves it out and
  // carries that much less in registers.
  const double z = thresholdSmoother.z;
  const bool thresholdSettled =
      threshold == z && z * thresholdSmoother.b + mThresholdTargetDb * thresholdSmoother.a == z;
  auto run = [&](auto settled) {
    auto sample = [&](int i, PairF peaked) {
      if constexpr (!decltype(settled)::value) {
        mThreshold[i] = threshold;
        threshold = thresholdSmoother.step(mThresholdTargetDb);
      }
      const PairF y = shelf.step(peaked);
      poison = poison + (y - y);
      shelf.step(PairF::Of(0.0f, 0.0f));
      const double fl = y.L(), fr = y.R();
      mScFilt[0][i] = fl;
      mScFilt[1][i] = fr;
      mEnv[i] = follow.step(FollowerLevel(100.0 * fl, 100.0 * fr, turbo));
    };
    hpPeak.begin(FilterInput(0));
    // While samples wait for the shapers (as after every chunk but a block's last), the loop carries no
    // condition, so the shapers' state can stay in registers.
    const int shaped = pending < n ? pending : n;
    int i = 1;
    for (; i <= shaped - 1; ++i) {
      sample(i - 1, hpPeak.step(FilterInput(i)));
      shapers.advance(mPreShaped[0][i - 1], mPreShaped[1][i - 1]);
    }
    for (; i < n; ++i) {
      sample(i - 1, hpPeak.step(FilterInput(i)));
      shape(i - 1);
    }
    sample(n - 1, hpPeak.end());
    for (i = n - 1; i < pending; ++i) shape(i);
  };
  if (thresholdSettled) {
    for (int i = 0; i < n; ++i) mThreshold[i] = z;
    run(std::true_type());
  } else {
    run(std::false_type());
  }
  shapers.finish();
  mPendingTilt = 0;
  if (poison.NonFinite()) {
    // Nothing of the filters, threshold or follower was kept: the chunk again, sample by sample.
    Filters(n, s);
    Envelope(n, s, turbo);
    return true;
  }
  hpPeak.finish();
  shelf.finish();
  mThreshold[n] = threshold;
  mThresholdSmoother = thresholdSmoother;
  mComp.finishDetectorRun(follow);

  const double B = 6.0 * s.boostGain;
  mKernels->preShaper(mScFilt[0], mPreShaped[0], n, B);
  mKernels->preShaper(mScFilt[1], mPreShaped[1], n, B);
  mPendingTilt = n;
  mPendingTiltControl = c2;
  return true;
}

// The tilt shapers catch up with the chunk left waiting, under the controls it came with.
void QuorvaneChain::FlushPendingTilt() {
  if (mPendingTilt == 0) return;
  const double c2 = mPendingTiltControl;
  const double* pre[2] = {mPreShaped[0], mPreShaped[1]};
  auto input = [pre](int i, double& l, double& r) {
    l = pre[0][i];
    r = pre[1][i];
  };
  Tilt::ProcessPair(mTilt[0], mTilt[1], mPendingTilt, kTiltLevel, c2, c2, kTiltLevel2, input,
                    [](int, double, double) {});
  mPendingTilt = 0;
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
    envOut[i] = follow.step(FollowerLevel(dl, dr, turbo));
  };
  Tilt::ProcessPair(mTilt[0], mTilt[1], n, kTiltLevel, s.transientTilt, s.transientTilt, kTiltLevel2, input,
                    follower);
  mComp.finishDetectorRun(follow);
}

// The gain computer and its exponential across the chunk, with the settings pushed after each step.
void QuorvaneChain::Gains(int n, const QuorvaneSettings& s) {
  mComp.setHold(0.0);
  mComp.computeGains({mEnv, mReductionDb, mGain, n}, GainSettings(s, mThreshold), mKernels->gainComputer);
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
  // Once the mix ramp sits where its four steps lead back to, every sample repeats the same four values:
  // they are worked out once for the chunk (Output reads them from mWetNow).
  mWetSteady = bypass == 1 && w * bm4 + wet * (1.0 + bm + bm2 + bm3) == w;
  if (mWetSteady) {
    mWetNow[0] = w * bm + wet;
    mWetNow[1] = w * bm2 + wet * (1.0 + bm);
    mWetNow[2] = w * bm3 + wet * (1.0 + bm + bm2);
    mWetNow[3] = w;
  }
  const bool wetMoving = bypass == 1 && !mWetSteady;

  for (int i = 0; i < n; ++i) {
    const double aG = mGain[i] * a;
    const double gL = g * b + aG;
    const double gR = gL * b + aG;
    g = g * b3 + aG * sum3;
    const double mL = m * bm + makeUp;
    m = m * bm2 + makeUp * (1.0 + bm);
    mCompressed[0][i] = mXfIn[0][i] * gL * mL;
    mCompressed[1][i] = mXfIn[1][i] * gR * m;
    if (wetMoving) {
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
  // Both inputs are read before either output is written: the buffers may be shared.
  if (sw.bypass != 1) {
    for (int i = 0; i < n; ++i) {
      const double d = mOffset[i], l = inL[i], r = inR[i];
      outL[i] = l + d;
      outR[i] = r + d;
    }
    return;
  }
  auto mix = [&](auto wet) {
    for (int i = 0; i < n; ++i) {
      const double d = mOffset[i], l = inL[i], r = inR[i];
      outL[i] = (1.0 - wet(1, i)) * l + (mCompressed[0][i] + d) * wet(0, i);
      outR[i] = (1.0 - wet(3, i)) * r + (mCompressed[1][i] + d) * wet(2, i);
    }
  };
  if (mWetSteady)
    mix([this](int k, int) { return mWetNow[k]; });
  else
    mix([this](int k, int i) { return mWet[k][i]; });
}
