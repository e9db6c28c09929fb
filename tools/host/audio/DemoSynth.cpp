// The built-in demo: a deterministic stereo drum-and-bass loop.
#include "host/audio/DemoSynth.h"

#include <cmath>

namespace qvhost {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLoopSteps = 32;  // two bars of sixteenth notes

// Two-step pattern over two bars; one character per sixteenth.
constexpr const char* kKick = "x.........x.....x.........x..x..";
constexpr const char* kSnare = "....x.......x.......x.......x..g";
constexpr const char* kHats = "h.H.h.H.h.H.h.o.h.H.h.H.h.HhH.o.";
// Bass root per sixteenth as MIDI note numbers; changes on the bar and the half bar.
int bassNote(int step) {
  static const int notes[4] = {28, 31, 33, 26};  // E1, G1, A1, D1
  return notes[(step / 8) % 4];
}

double midiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

}  // namespace

DemoSynth::DemoSynth(double sampleRate, double seconds)
    : mRate(sampleRate),
      mTotal(static_cast<int64_t>(std::llround(seconds * sampleRate))),
      mSamplesPerStep(sampleRate * 60.0 / kTempo / 4.0) {}

double DemoSynth::noise() {
  // xorshift32: portable and identical on every run.
  mNoiseState ^= mNoiseState << 13;
  mNoiseState ^= mNoiseState >> 17;
  mNoiseState ^= mNoiseState << 5;
  return static_cast<double>(mNoiseState) / 2147483648.0 - 1.0;
}

void DemoSynth::trigger(int step) {
  const int s = step % kLoopSteps;
  if (kKick[s] == 'x') {
    mKickT = 0;
    mKickPhase = 0;
    mKickLevel = 0.9;
  }
  if (kSnare[s] == 'x' || kSnare[s] == 'g') {
    mSnareT = 0;
    mSnarePhase = 0;
    mSnareLevel = kSnare[s] == 'x' ? 0.7 : 0.2;
  }
  if (kHats[s] != '.') {
    mHatT = 0;
    mHatLevel = kHats[s] == 'H' ? 0.22 : (kHats[s] == 'o' ? 0.18 : 0.12);
    mHatDecay = kHats[s] == 'o' ? 9.0 : 55.0;
    mHatPan = (s % 4 == 0) ? -0.35 : 0.35;
  }
  const double f = midiToHz(bassNote(s));
  if (f != mBassFreq || mBassT < 0) mBassT = 0;
  mBassFreq = f;
}

size_t DemoSynth::read(double* const* dest, size_t frames) {
  const int64_t left = mTotal - mPos;
  const size_t n = left <= 0 ? 0 : (static_cast<int64_t>(frames) < left ? frames : static_cast<size_t>(left));
  const double dt = 1.0 / mRate;
  for (size_t i = 0; i < n; ++i, ++mPos) {
    const int step = static_cast<int>(std::floor(static_cast<double>(mPos) / mSamplesPerStep));
    if (step != mLastStep) {
      trigger(step);
      mLastStep = step;
    }
    double l = 0, r = 0;

    if (mKickT >= 0) {
      const double freq = 45.0 + 120.0 * std::exp(-mKickT * 28.0);
      mKickPhase += 2 * kPi * freq * dt;
      const double k = std::sin(mKickPhase) * std::exp(-mKickT * 7.0) * mKickLevel;
      l += k;
      r += k;
      mKickT += dt;
      if (mKickT > 1.0) mKickT = -1;
    }
    if (mSnareT >= 0) {
      const double nz = noise();
      // One-pole high-pass keeps the snare's noise out of the kick's range.
      mSnareHp = 0.85 * (mSnareHp + nz - mSnarePrev);
      mSnarePrev = nz;
      mSnarePhase += 2 * kPi * 185.0 * dt;
      const double sn = (0.45 * std::sin(mSnarePhase) * std::exp(-mSnareT * 22.0) +
                         0.6 * mSnareHp * std::exp(-mSnareT * 13.0)) *
                        mSnareLevel;
      l += sn;
      r += sn;
      mSnareT += dt;
      if (mSnareT > 0.6) mSnareT = -1;
    }
    if (mHatT >= 0) {
      const double nz = noise();
      const double hp = nz - mHatPrev;
      mHatPrev = nz;
      const double h = 0.5 * hp * std::exp(-mHatT * mHatDecay) * mHatLevel;
      l += h * (1.0 - mHatPan);
      r += h * (1.0 + mHatPan);
      mHatT += dt;
      if (mHatT > 0.8) mHatT = -1;
    }
    {
      // Two detuned saws, one per side, through a slowly breathing low-pass; a centred sub.
      mSaw1 += mBassFreq * 1.007 * dt;
      mSaw2 += mBassFreq * 0.993 * dt;
      mSaw1 -= std::floor(mSaw1);
      mSaw2 -= std::floor(mSaw2);
      const double cutoff = 180.0 + 520.0 * std::exp(-(mBassT < 0 ? 1.0 : mBassT) * 6.0);
      const double a = 1.0 - std::exp(-2 * kPi * cutoff * dt);
      mBassLpL += a * ((2 * mSaw1 - 1) - mBassLpL);
      mBassLpR += a * ((2 * mSaw2 - 1) - mBassLpR);
      mSubPhase += 2 * kPi * mBassFreq * dt;
      if (mSubPhase > 2 * kPi) mSubPhase -= 2 * kPi;
      const double sub = 0.3 * std::sin(mSubPhase);
      l += 0.28 * mBassLpL + sub;
      r += 0.28 * mBassLpR + sub;
      if (mBassT >= 0) mBassT += dt;
    }
    // Gentle saturation keeps peaks a few dB under full scale.
    dest[0][i] = 0.75 * std::tanh(l);
    dest[1][i] = 0.75 * std::tanh(r);
  }
  return n;
}

}  // namespace qvhost
