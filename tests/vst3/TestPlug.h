// A small plug-in on the VST 3 adapter for testing the adapter alone: five parameters (index 0
// never initialised), "2-2 4-2" with a stereo sidechain, one preset. Its processing makes every
// input channel audible: out[c] = in[c] * gain + sidechain[c].
#pragma once

#include "vst3/IPluginVST3.h"

#include <algorithm>
#include <cmath>
#include <vector>

class TestPlug : public IPluginVST3 {
 public:
  enum { kReserved = 0, kGain, kMode, kShape, kLevel, kNumParams };

  TestPlug()
      : IPluginVST3(IPluginInstanceInfo{}, kNumParams, "2-2 4-2", 1, "TestPlug", "", "Tallowmarkworks",
                    0x10100, 0x54737431, 0x546D776B, 0, false, false, false, 2) {
    GetParam(kGain)->InitDouble("Gain", 0.5, 0.0, 1.0, 0.01, "%");
    GetParam(kMode)->InitEnum("Mode", 0, 4);
    GetParam(kShape)->InitDouble("Shape", 0.25, 0.0, 1.0, 0.01, "", "", 2.0);
    GetParam(kLevel)->InitDouble("Level", 0.0, -20.0, 20.0, 0.1, "dB", "Levels");
    MakeDefaultPreset("-", 1);
  }

  void OnParamChange(int idx) override { changed.push_back(idx); }

  void ProcessDoubleReplacing(double** in, double** out, int nFrames) override {
    const double gain = GetParam(kGain)->GetValue();
    for (int c = 0; c < 4; ++c) {
      peakIn[c] = 0;
      for (int s = 0; s < nFrames; ++s) peakIn[c] = std::max(peakIn[c], std::abs(in[c][s]));
    }
    for (int c = 0; c < 2; ++c)
      for (int s = 0; s < nFrames; ++s) out[c][s] = in[c][s] * gain + in[c + 2][s];
  }

  std::vector<int> changed;
  // The loudest sample each input channel delivered in the last block.
  double peakIn[4] = {};
};
