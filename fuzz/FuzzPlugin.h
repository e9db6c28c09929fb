// A concrete plug-in for the framework fuzzers: every parameter kind, a few preset slots and, by
// default, the state-is-chunk flag, so all four program and bank forms are accepted. After any load its
// parameters must still be finite and inside their ranges.
#pragma once

#include "framework/IParam.h"
#include "framework/IPlugin.h"
#include "framework/IPreset.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

class FuzzPlugin : public IPlugin {
 public:
  static constexpr int kUniqueId = 0x51764678;  // "QvFx"

  explicit FuzzPlugin(bool stateChunks = true, int nParams = 17, int nPresets = 4)
      : IPlugin(nParams, "2-2 4-2", nPresets, "Fuzz Plug", "", "Fuzz Maker", 0x00010100, kUniqueId,
                0x546d6b77, 0, false, stateChunks, false, kAPIVST3) {
    for (int i = 1; i < GetParamCount(); ++i) {
      IParam* p = GetParam(i);
      switch (i % 5) {
        case 0:
          p->InitBool("Switch", i % 2 == 0);
          break;
        case 1:
          p->InitDouble("Gain", 0.0, -24.0, 24.0, 0.1, "dB");
          break;
        case 2:
          p->InitInt("Steps", 2, -3, 9);
          break;
        case 3:
          p->InitEnum("Mode", 1, 4);
          break;
        case 4:
          p->InitDouble("Time", 10.0, 0.1, 500.0, 0.01, "ms", "", 2.0);
          break;
      }
    }
    MakeDefaultPreset("-", nPresets);
  }

  // Aborts (a finding) when a loader let a parameter leave its range or become non-finite.
  void CheckSane() const {
    for (int i = 0; i < GetParamCount(); ++i) {
      const IParam* p = GetParam(i);
      const double v = p->GetValue();
      if (!std::isfinite(v) || v < p->GetMin() || v > p->GetMax()) {
        std::fprintf(stderr, "parameter %d holds %g outside %g..%g\n", i, v, p->GetMin(), p->GetMax());
        std::abort();
      }
    }
  }

  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  double GetSamplePos() override { return 0.0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* numerator, int* denominator) override {
    *numerator = 4;
    *denominator = 4;
  }
  void GetTime(ITimeInfo* timeInfo) override { *timeInfo = ITimeInfo(); }
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }
};
