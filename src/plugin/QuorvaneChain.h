// The plug-in's per-sample signal chain and all of its DSP state, free of the framework so that it can
// be tested and measured alone. The plug-in class feeds it the cached parameter values.
#pragma once

#include "plugin/QuorvaneSettings.h"
#include "plugin/dsp/Biquad.h"
#include "plugin/dsp/Compressor.h"
#include "plugin/dsp/OnePoleSmoother.h"
#include "plugin/dsp/Tilt.h"
#include "plugin/dsp/VUClass.h"

class QuorvaneChain {
public:
  // Receives the meter value once per sample (the gain-reduction meter control).
  using MeterSink = void (*)(void* context, double value);

  enum { kHighPassL, kPeakL, kShelfL, kHighPassR, kPeakR, kShelfR, kNumFilters };

  // Re-initialises the compressor only; every other state carries on.
  void Reset(const QuorvaneSettings& s, double sampleRate);

  // inputs: main left, main right, sidechain left, sidechain right; outputs: left, right. Inputs and
  // outputs may share memory.
  void Process(const double* const* inputs, double* const* outputs, int nFrames,
               const QuorvaneSettings& s, QuorvaneSwitches sw, double sampleRate,
               MeterSink meter = nullptr, void* meterContext = nullptr);

  // Switch values outside 0..1 act as the nearest valid value.
  static QuorvaneSwitches Sanitize(QuorvaneSwitches sw);
  // A usable rate for the filters: non-positive or non-numbers fall back to 44100, huge ones are limited.
  static double SafeRate(double sampleRate);
  // Filters above Nyquist would be unstable; corner frequencies are held just below it.
  static float LimitToNyquist(float freq, float sampleRate) {
    const float limit = 0.49f * sampleRate;
    return freq < limit ? freq : limit;
  }
  // Detector source after the -40 dB saturator, safe for the single-precision filters.
  static double LimitDetector(double v) { return v > 1e6 ? 1e6 : (v < -1e6 ? -1e6 : v); }

  const compressor& Comp() const { return mComp; }
  const Biquad& Filter(int i) const { return mFilters[i]; }
  double GainReductionDb() const { return mGainReductionDb; }
  double MeterLevel() const { return mVU.level; }
  double ThresholdTargetDb() const { return mThresholdTargetDb; }

private:
  struct Norm {  // b0, b1, b2, a1, a2 divided by a0, as the filter's own step divides them
    float n[5];
  };
  struct Memos;
  static constexpr int kChunk = 64;

  void SetUpBlock(const QuorvaneSettings& s, const QuorvaneSwitches& sw, double fs);
  void SetUpFilters(float hpFreq, float peakDb, float shelfDb, float rate);
  void ProgramInput(const double* inL, const double* inR, int n, int xformer, Memos& m);
  void Detector(const double* scL, const double* scR, int n, const QuorvaneSettings& s,
                const QuorvaneSwitches& sw, Memos& m);
  void Dynamics(int n, const QuorvaneSettings& s, const QuorvaneSwitches& sw, MeterSink meter,
                void* meterContext);
  void Output(const double* inL, const double* inR, double* outL, double* outR, int n,
              const QuorvaneSwitches& sw, Memos& m);

  OnePoleSmoother mMakeUpSmoother, mThresholdSmoother, mMixSmoother, mGainSmoother;
  double mThresholdTargetDb = -5.0;
  VUClass mVU{1.0};
  Biquad mFilters[kNumFilters];
  Tilt mTilt[2];
  double mTurboHpfBase = 110.0;
  double mTurboMidBoostDb = 4.0;
  double mDenormalOffset = 1e-15;
  compressor mComp;
  double mGainReductionDb = 1.0;

  // Values that only change with the sample rate or a setting, computed once instead of per sample.
  double mCachedRate = -1.0, mG10 = 0.0, mG50 = 0.0, mVUCoef = 0.0;
  double mAttackKey[2] = {-1.0, -1.0}, mAttackCoef = 0.0;
  double mReleaseKey[2] = {-1.0, -1.0}, mReleaseCoef = 0.0;
  int32_t mHoldSamples = 0;
  Norm mNorm[kNumFilters] = {};
  float mFilterKey[4] = {};  // high-pass corner, peak gain, shelf gain, rate of the current coefficients
  bool mFilterKeyValid = false;
  double mExpArg = 0.0, mExpVal = 1.0;  // exp(0) is exactly 1
  double mSlopeRatio = 0.0, mSlope = 0.0;
  bool mSlopeValid = false;

  // Work values of one chunk, passed from stage to stage.
  double mOffset[kChunk] = {};
  double mXfIn[2][kChunk] = {};
  double mSrc[kChunk] = {};  // left detector source, so that mono input saturates once
  double mScSat[2][kChunk] = {};
  double mDet[2][kChunk] = {};
  double mCompressed[2][kChunk] = {};
  double mWet[4][kChunk] = {};  // the mix smoother's four steps of each sample
};
