// The built-in demo: a deterministic stereo drum-and-bass loop (174 BPM, two-step kick, snare on
// two and four, eighth-note hats, a detuned saw bass with a sub), synthesized at any sample rate
// so no audio file has to ship with the host. Same rate and length give the same samples.
#pragma once

#include <cstdint>

#include "host/audio/AudioStream.h"

namespace qvhost {

class DemoSynth final : public AudioSource {
 public:
  static constexpr double kTempo = 174.0;

  DemoSynth(double sampleRate, double seconds);

  int channelCount() const override { return 2; }
  double sampleRate() const override { return mRate; }
  int64_t totalFrames() const override { return mTotal; }
  size_t read(double* const* dest, size_t frames) override;

 private:
  void trigger(int step);
  double noise();

  double mRate;
  int64_t mTotal;
  int64_t mPos = 0;
  double mSamplesPerStep;
  int mLastStep = -1;

  uint32_t mNoiseState = 0x2545F491u;
  // Voice state: time since trigger in seconds (negative = idle) and oscillator phases.
  double mKickT = -1, mKickPhase = 0, mKickLevel = 0;
  double mSnareT = -1, mSnareLevel = 0, mSnarePhase = 0, mSnareHp = 0, mSnarePrev = 0;
  double mHatT = -1, mHatLevel = 0, mHatDecay = 60, mHatPrev = 0, mHatPan = 0;
  double mBassFreq = 41.2, mBassT = -1, mSaw1 = 0, mSaw2 = 0, mSubPhase = 0, mBassLpL = 0, mBassLpR = 0;
};

}  // namespace qvhost
