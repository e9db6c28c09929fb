// Feed-forward compressor: a peak envelope follower (the detector) feeding a gain computer.
//
// Use from the signal chain, per block of n samples:
//   auto run = comp.detectorRun(attackMs, releaseMs);  // then per sample: run.step(|detector|)
//   comp.finishDetectorRun(run);
//   comp.computeGains({env, reductionDb, gain, n}, {threshold, ratio, kneeFactor}, form);
// which is what n per-sample steps would give with the settings pushed after every step.
//
// Threads: a plain value with no lock of its own. In the plug-in every call comes under the plug-in's
// mutex: init from Reset (processing set-up, on the host's set-up thread), everything else from the
// signal chain on the audio thread.
#pragma once

#include "plugin/dsp/EnvFollower.h"
#include "plugin/dsp/GainComputer.h"

class compressor {
 public:
  compressor() = default;

  void init(double attackMs, double releaseMs, double holdMs, double ratio, double kneeFactor,
            double sampleRate);

  const envFollower& detector() const { return mDetector; }
  const GainComputer& gainComputer() const { return mGain; }

  // One detector and gain-computer step on the detector's input; returns the reduction in dB (<= 0).
  double step(double x) { return mGain.process(mDetector.process(x)); }
  // One mono step; returns x with the gain applied.
  double process(double x);

  void setAttack(double ms) { mDetector.setAttack(ms); }
  void setRelease(double ms) { mDetector.setRelease(ms); }
  void setHold(double ms) { mDetector.setHold(ms); }
  void setRatio(double r) { mGain.setRatio(r); }
  void setThreshold(double dB) { mGain.setThreshold(dB); }
  void setKneeFactor(double k) { mGain.setKneeFactor(k); }
  void setLimiter(bool on) { mGain.setLimiter(on); }

  // The detector's steps for a block (valid while it holds nothing, as in the signal chain): the
  // first step on the attack and release held, the rest on these times.
  envFollower::PeakRun detectorRun(double attackMs, double releaseMs) {
    const double rate = mDetector.sampleRate();
    return mDetector.peakRun(mAttackMemo.get(attackMs, rate), mReleaseMemo.get(releaseMs, rate));
  }
  void finishDetectorRun(const envFollower::PeakRun& run) { mDetector.finish(run); }
  // The gain computer over the block's envelopes (GainComputer::processBlock).
  void computeGains(const GainComputer::Buffers& io, const GainComputer::Settings& s,
                    GainComputer::BlockForm form) {
    mGain.processBlock(io, s, form);
  }

 private:
  // A coefficient costs a pow; the times rarely change between blocks.
  struct CoefficientMemo {
    double ms = -1.0, rate = -1.0, coef = 0.0;
    double get(double newMs, double newRate) {
      if (newMs != ms || newRate != rate) {
        ms = newMs;
        rate = newRate;
        coef = envFollower::coefficient(ms, rate);
      }
      return coef;
    }
  };

  envFollower mDetector;
  GainComputer mGain;
  CoefficientMemo mAttackMemo, mReleaseMemo;
};
