// Deterministic synthetic programme material for the chain tests and benchmark: a drum-like burst
// pattern over a chord, plus a quieter independent sidechain.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

struct StereoSignal {
  std::vector<double> ch[4];  // main L, main R, sidechain L, sidechain R
  int frames = 0;

  explicit StereoSignal(int n, double fs = 48000.0, uint32_t seed = 1) : frames(n) {
    for (auto& c : ch) c.assign(static_cast<size_t>(n), 0.0);
    uint32_t state = seed;
    auto noise = [&state] {
      state = state * 1664525u + 1013904223u;
      return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    };
    const double twoPi = 6.283185307179586;
    for (int i = 0; i < n; ++i) {
      const double t = i / fs;
      const double beat = std::fmod(t, 0.25);
      const double hit = std::exp(-beat * 30.0);
      const double chord = 0.2 * std::sin(twoPi * 110.0 * t) + 0.15 * std::sin(twoPi * 164.8 * t) +
                           0.1 * std::sin(twoPi * 1320.0 * t);
      const double n1 = noise();
      ch[0][static_cast<size_t>(i)] = chord + 0.6 * hit * n1;
      ch[1][static_cast<size_t>(i)] = 0.8 * chord + 0.5 * hit * (0.7 * n1 + 0.3 * noise());
      ch[2][static_cast<size_t>(i)] = 0.7 * hit * std::sin(twoPi * 60.0 * t);
      ch[3][static_cast<size_t>(i)] = 0.3 * std::sin(twoPi * 3000.0 * t) * hit;
    }
  }

  const double* const* inputs() {
    for (int c = 0; c < 4; ++c) ptrs[c] = ch[c].data();
    return ptrs;
  }

 private:
  const double* ptrs[4] = {};
};

// Output of a chain over a whole signal, processed in blocks of a given size.
struct StereoOutput {
  std::vector<double> l, r;
  explicit StereoOutput(int n) : l(static_cast<size_t>(n)), r(static_cast<size_t>(n)) {}
};

template <class Chain, class Settings, class Switches>
void RenderInBlocks(Chain& chain, StereoSignal& sig, StereoOutput& out, const Settings& s, Switches sw,
                    double fs, int blockSize) {
  const double* const* in = sig.inputs();
  for (int pos = 0; pos < sig.frames; pos += blockSize) {
    const int n = sig.frames - pos < blockSize ? sig.frames - pos : blockSize;
    const double* blockIn[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
    double* blockOut[2] = {out.l.data() + pos, out.r.data() + pos};
    chain.Process(blockIn, blockOut, n, s, sw, fs);
  }
}
