// Peak envelope follower with attack, hold and release: the compressor's level detector.
//
// Threads: a plain value with no lock of its own. In the plug-in every call comes under the plug-in's
// mutex: init from Reset (processing set-up, on the host's set-up thread), everything else from the
// signal chain on the audio thread. coefficient and samplesFor are pure: any thread.
#pragma once

#include <cmath>
#include <cstdint>

#include "plugin/dsp/Select.h"

class envFollower {
 public:
  envFollower() = default;

  void init(int mode, double attackMs, double releaseMs, double holdMs, double sampleRate);
  // One step; returns the new envelope. Mode 0 rectifies; mode 1 follows x as it is, release only.
  double process(double x) {
    double r = x;
    if (mMode == 0) {
      r = std::fabs(x);
      if (r > mEnvelope) {
        mEnvelope = (mEnvelope - r) * mAttackCoef + r;
        mHoldCount = 0;
        return mEnvelope;
      }
    }
    if (mHoldCount < mHoldSamples) {
      ++mHoldCount;
      return mEnvelope;
    }
    mEnvelope = (mEnvelope - r) * mReleaseCoef + r;
    return mEnvelope;
  }

  void setAttack(double ms) { mAttackCoef = coefficient(ms, mSampleRate); }
  void setRelease(double ms) { mReleaseCoef = coefficient(ms, mSampleRate); }
  void setHold(double ms) { mHoldSamples = samplesFor(mSampleRate * ms / 1000.0); }

  // Per-sample coefficient that follows a step to within 1 % after `ms` milliseconds.
  static double coefficient(double ms, double sampleRate);
  // Hold length in samples, truncated; a length that does not fit (or is not a number) holds nothing.
  static int32_t samplesFor(double samples);

  double envelope() const { return mEnvelope; }
  double attackCoef() const { return mAttackCoef; }
  double releaseCoef() const { return mReleaseCoef; }
  double sampleRate() const { return mSampleRate; }
  int32_t holdSamples() const { return mHoldSamples; }
  int32_t mode() const { return mMode; }

  // Peak steps on already rectified input, for loops that interleave the follower with other
  // recursions: the state rides in registers and comes back with finish(). Only valid while the
  // follower holds nothing (mode 0, hold 0), where every step either attacks or releases.
  class PeakRun {
   public:
    double step(double r) {
      mEnv = (mEnv - r) * IfGreater(r, mEnv, mAttack, mRelease) + r;
      mAttack = mNextAttack;
      mRelease = mNextRelease;
      return mEnv;
    }

   private:
    friend class envFollower;
    PeakRun(double env, double attack, double release, double nextAttack, double nextRelease)
        : mEnv(env), mAttack(attack), mRelease(release), mNextAttack(nextAttack), mNextRelease(nextRelease) {}
    double mEnv, mAttack, mRelease, mNextAttack, mNextRelease;
  };
  bool canRunPeaks() const { return mMode == 0 && mHoldSamples == 0; }
  // The first step uses the coefficients held now, later ones these (settings pushed after a step).
  PeakRun peakRun(double nextAttackCoef, double nextReleaseCoef) const {
    return {mEnvelope, mAttackCoef, mReleaseCoef, nextAttackCoef, nextReleaseCoef};
  }
  void finish(const PeakRun& run) {
    mEnvelope = run.mEnv;
    mAttackCoef = run.mAttack;
    mReleaseCoef = run.mRelease;
  }

 private:
  double mAttackCoef = 0.9793314582608171;   // 5 ms at 44100 Hz
  double mReleaseCoef = 0.9979136668688285;  // 50 ms at 44100 Hz
  double mEnvelope = 0.0;
  double mSampleRate = 44100.0;
  int32_t mHoldCount = 0;
  int32_t mHoldSamples = 0;
  int32_t mMode = 0;  // 0 peak follower, 1 release-only follower
};
