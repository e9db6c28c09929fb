// The plug-in's signal chain and all of its DSP state, free of the framework so that it can be tested
// and measured alone. The plug-in class feeds it the cached parameter values.
//
// A block is worked through in chunks, each as a short sequence of passes: the stateless stages (the
// saturators, the transient pre-shaper, the gain computer and its exponential) run across the chunk
// in vector registers, and only the true recursions (filters, tilt, envelope, smoothers, meter) run
// sample by sample. The result follows the per-sample rules to within rounding (1e-9 at most), and
// does not depend on the block size.
//
// Threads: the chain takes no lock of its own. The plug-in constructs it on the main thread, calls
// Reset under the plug-in's mutex when processing is set up, and Process on the audio thread under the
// same mutex; the getters read state Process writes, so they belong on the audio thread too (or with
// processing stopped). The static helpers are pure: any thread.
#pragma once

#include "plugin/QuorvaneSettings.h"
#include "plugin/chain/ChainKernels.h"
#include "plugin/dsp/Biquad.h"
#include "plugin/dsp/Compressor.h"
#include "plugin/dsp/OnePoleSmoother.h"
#include "plugin/dsp/Tilt.h"
#include "plugin/dsp/VUClass.h"

class QuorvaneChain {
 public:
  // Receives the meter values of each processed chunk, one per sample, in order.
  using MeterSink = void (*)(void* context, const double* levels, int count);

  enum { kHighPassL, kPeakL, kShelfL, kHighPassR, kPeakR, kShelfR, kNumFilters };

  // The passes are chosen here, off the audio thread.
  explicit QuorvaneChain(const ChainKernels& kernels = ChainKernels::Best()) : mKernels(&kernels) {}

  // Re-initialises the compressor only; every other state carries on.
  void Reset(const QuorvaneSettings& s, double sampleRate);

  // inputs: main left, main right, sidechain left, sidechain right; outputs: left, right. Inputs and
  // outputs may share memory.
  void Process(const double* const* inputs, double* const* outputs, int nFrames, const QuorvaneSettings& s,
               QuorvaneSwitches sw, double sampleRate, MeterSink meter = nullptr,
               void* meterContext = nullptr);

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
  static constexpr double kDetectorLimit = 1e6;
  static double LimitDetector(double v) {
    return v > kDetectorLimit ? kDetectorLimit : (v < -kDetectorLimit ? -kDetectorLimit : v);
  }

  const char* KernelName() const { return mKernels->name; }
  const compressor& Comp() const { return mComp; }
  const Biquad& Filter(int i) const { return mFilters[i]; }
  double GainReductionDb() const { return mGainReductionDb; }
  double MeterLevel() const { return mVU.level; }
  double ThresholdTargetDb() const { return mThresholdTargetDb; }

 private:
  static constexpr int kChunk = 128;
  static constexpr int kBuf = kChunk + ChainKernels::kPad;

  void SetUpBlock(const QuorvaneSettings& s, const QuorvaneSwitches& sw, double fs);
  void SetUpFilters(float hpFreq, float peakDb, float shelfDb, float rate);

  // The passes of one chunk of n frames, in order.
  void ProgramInput(const double* inL, const double* inR, int n, int xformer);
  void DetectorSource(const double* scL, const double* scR, int n, const QuorvaneSwitches& sw);
  // The detector filters' input at sample i: both channels limited (LimitDetector) in single precision.
  PairF FilterInput(int i) const {
    return Narrow(PairD::Of(mScSat[0][i], mScSat[1][i]).Limited(kDetectorLimit));
  }
  void Filters(int n, const QuorvaneSettings& s);
  bool DetectorWithoutTransients(int n, const QuorvaneSettings& s, int turbo);
  void FlushPendingTilt();
  void Envelope(int n, const QuorvaneSettings& s, int turbo);
  void Gains(int n, const QuorvaneSettings& s);
  // The gain computer's settings from the parameters' values, with the threshold in effect at each
  // sample of the chunk (the threshold smoother's).
  static GainComputer::Settings GainSettings(const QuorvaneSettings& s, const double* thresholdDb) {
    return {thresholdDb, s.ratio, s.kneeFactor};
  }
  void Smoothers(int n, const QuorvaneSettings& s, int bypass);
  void Output(const double* inL, const double* inR, double* outL, double* outR, int n,
              const QuorvaneSwitches& sw);

  const ChainKernels* mKernels;

  OnePoleSmoother mMakeUpSmoother, mThresholdSmoother, mMixSmoother, mGainSmoother;
  double mThresholdTargetDb = -5.0;
  VUClass mVU{1.0};
  Biquad mFilters[kNumFilters];
  Tilt mTilt[2];
  // Samples of mPreShaped the tilt shapers have still to take, and the tilt control they came with.
  int mPendingTilt = 0;
  double mPendingTiltControl = 0.0;
  double mTurboHpfBase = 110.0;
  double mTurboMidBoostDb = 4.0;
  double mDenormalOffset = 1e-15;
  compressor mComp;
  double mGainReductionDb = 1.0;

  // Values that only change with the sample rate or a setting, worked out once per block.
  double mCachedRate = -1.0, mG10 = 0.0, mG50 = 0.0, mVUCoef = 0.0;

  // Work values of one chunk, passed from pass to pass; whole cache lines, so that the vector passes
  // never split a load (their speed otherwise hangs on where the object happens to sit).
  alignas(64) double mOffset[kBuf] = {};
  double mXfIn[2][kBuf] = {};
  double mScSat[2][kBuf] = {};
  double mScFilt[2][kBuf] = {};
  double mPreShaped[2][kBuf] = {};
  double mEnv[kBuf] = {};
  double mThreshold[kBuf] = {};  // the compressor's threshold in effect at each sample
  double mReductionDb[kBuf] = {};
  double mGain[kBuf] = {};
  double mCompressed[2][kBuf] = {};
  double mWet[4][kBuf] = {};  // the mix smoother's four steps of each sample
  bool mWetSteady = false;    // or, when the ramp has settled, these four for every sample
  double mWetNow[4] = {};
  double mMeter[kBuf] = {};
};
