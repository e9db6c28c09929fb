// TestPlugin: a concrete IPlugin for framework tests. Host-facing calls are recorded instead of
// going anywhere, and a parameter set of every kind stands in for a real plug-in's.
#pragma once

#include "framework/IParam.h"
#include "framework/IPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

class TestPlugin : public IPlugin {
 public:
  static constexpr int kTestUniqueId = 0x51765473;  // "QvTs"
  static constexpr int kTestMakerId = 0x546d6b77;   // "Tmkw"
  static constexpr int kTestVersion = 0x00010100;   // 1.1.0

  struct Options {
    int nParams = 17;
    int nPresets = 1;
    bool stateChunks = false;
    int uniqueId = kTestUniqueId;
  };

  TestPlugin() : TestPlugin(Options()) {}
  explicit TestPlugin(const Options& o)
      : IPlugin(o.nParams, "2-2 4-2", o.nPresets, "Test Plug", "", "Test Maker", kTestVersion, o.uniqueId,
                kTestMakerId, 0, false, o.stateChunks, false, kAPIVST3) {
    InitParams();
  }

  // Index 0 stays uninitialised, as in the shipping plug-in; the rest cycle through the kinds,
  // with shaped and negative ranges among the doubles.
  void InitParams() {
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
  }

  // Random plain values that each parameter can hold exactly (steps honoured for whole kinds).
  void RandomizeParams(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int i = 0; i < GetParamCount(); ++i) {
      IParam* p = GetParam(i);
      if (p->GetType() == IParam::kParamDouble)
        p->SetValue(p->GetMin() + (p->GetMax() - p->GetMin()) * u(rng));
      else
        p->SetNormalized(u(rng));
    }
  }

  std::vector<double> Values() const {
    std::vector<double> v;
    for (int i = 0; i < GetParamCount(); ++i) v.push_back(GetParam(i)->GetValue());
    return v;
  }

  void SetCurrentPresetIndex(int idx) { mCurrentPresetIdx = idx; }

  void OnParamChange(int idx) override {
    IPlugin::OnParamChange(idx);
    mParamChanges.push_back(idx);
  }
  void PresetsChangedByHost() override { ++mPresetsChanged; }

  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override { ++mProgramChanges; }
  double GetSamplePos() override { return 0.0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* numerator, int* denominator) override {
    *numerator = 4;
    *denominator = 4;
  }
  void GetTime(ITimeInfo* timeInfo) override { *timeInfo = ITimeInfo(); }
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  std::vector<int> mParamChanges;
  int mPresetsChanged = 0;
  int mProgramChanges = 0;
};

// Every parameter finite and inside its range, whatever a loader was fed; names the first that is not.
inline testing::AssertionResult ParamsSane(const IPlugin& plug) {
  for (int i = 0; i < plug.GetParamCount(); ++i) {
    const IParam* p = plug.GetParam(i);
    if (!std::isfinite(p->GetValue()) || p->GetValue() < p->GetMin() || p->GetValue() > p->GetMax())
      return testing::AssertionFailure() << "parameter " << i << " holds " << p->GetValue() << ", range "
                                         << p->GetMin() << " to " << p->GetMax();
  }
  return testing::AssertionSuccess();
}
