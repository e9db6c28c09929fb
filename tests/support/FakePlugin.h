// FakePlugin and FakeEditor: the one stand-in plug-in for tests, fuzzers and benchmarks, and an
// editor that only records what the plug-in base asks of it. Calls that would reach a host are
// logged as text lines, in order, so tests can check the sequences the base and the engine produce:
//   "change i", "begin i", "inform i v", "end i", "program", "gethost", "midi d1", "popup i x y",
//   "resize w h" from the plug-in; "gfx i v n|p", "ctl i v", "prep" from the editor (v as %g).
#pragma once

#include "framework/ChannelDelayLine.h"
#include "framework/IEditorDelegate.h"
#include "framework/IParam.h"
#include "framework/IPlugin.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

inline std::string FormatNum(double v) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%g", v);
  return buf;
}

class FakePlugin : public IPlugin {
 public:
  static constexpr int kUniqueId = 0x51765473;  // "QvTs"
  static constexpr int kMakerId = 0x546d6b77;   // "Tmkw"
  static constexpr int kVersion = 0x00010100;   // 1.1.0

  struct Options {
    int nParams = 17;
    int nPresets = 1;
    bool stateChunks = false;
    int uniqueId = kUniqueId;
    const char* channelIO = "2-2 4-2";
    int latency = 0;
    // Index 0 stays uninitialised, as in the shipping plug-in; the rest cycle through the kinds,
    // with shaped and negative ranges among the doubles. Off: every parameter uninitialised.
    bool everyKind = true;
    // Non-null: every preset slot made a default preset of this name.
    const char* presetName = nullptr;
    // Whether the host takes a right-click on a parameter's control (logged as "popup").
    bool hostTakesContextClick = true;
    // Off for fuzzers and benchmarks, which should not pay for a growing log.
    bool logCalls = true;
  };

  // Options of a plug-in with the given channel layout and that many uninitialised parameters.
  static Options Bare(const char* channelIO = "2-2 4-2", int nParams = 3, int latency = 0) {
    Options o;
    o.channelIO = channelIO;
    o.nParams = nParams;
    o.latency = latency;
    o.everyKind = false;
    return o;
  }

  FakePlugin() : FakePlugin(Options()) {}
  explicit FakePlugin(const Options& o)
      : IPlugin(o.nParams, o.channelIO, o.nPresets, "Fake Plug", "", "Fake Maker", kVersion, o.uniqueId,
                kMakerId, o.latency, false, o.stateChunks, false, kAPIVST3),
        mOptions(o) {
    if (o.everyKind) InitEveryKind();
    if (o.presetName) MakeDefaultPreset(o.presetName, o.nPresets);
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

  // The first parameter that is non-finite or outside its range, or -1: what no loader may leave.
  int FirstParamOutOfRange() const {
    for (int i = 0; i < GetParamCount(); ++i) {
      const IParam* p = GetParam(i);
      if (!std::isfinite(p->GetValue()) || p->GetValue() < p->GetMin() || p->GetValue() > p->GetMax())
        return i;
    }
    return -1;
  }

  // What a host adapter does at construction and set-up.
  void ConnectAll(int blockSize) {
    SetInputChannelConnections(0, GetInputChannelCount(), true);
    SetOutputChannelConnections(0, GetOutputChannelCount(), true);
    SetBlockSize(blockSize);
  }
  void CreateDelayLine() {
    delete mDelay;
    mDelay = new ChannelDelayLine(GetInputChannelCount(), GetOutputChannelCount(), GetLatency());
  }
  double** InData() { return mInData.Get(); }
  double** OutData() { return mOutData.Get(); }
  void SetHostCode(EHost host) { mHost = host; }
  void SetCurrentPresetIndex(int idx) { mCurrentPresetIdx = idx; }

  void OnParamChange(int idx) override {
    IPlugin::OnParamChange(idx);
    if (!mOptions.logCalls) return;
    paramChanges.push_back(idx);
    Log("change " + std::to_string(idx));
  }
  void PresetsChangedByHost() override { ++presetsChanged; }
  void BeginInformHostOfParamChange(int idx) override { Log("begin " + std::to_string(idx)); }
  void InformHostOfParamChange(int idx, double v) override {
    Log("inform " + std::to_string(idx) + " " + FormatNum(v));
  }
  void EndInformHostOfParamChange(int idx) override { Log("end " + std::to_string(idx)); }
  void InformHostOfProgramChange() override {
    ++programChanges;
    Log("program");
  }
  void PopupHostContextMenuForParam(int idx, int x, int y) override {
    Log("popup " + std::to_string(idx) + " " + std::to_string(x) + " " + std::to_string(y));
  }
  bool OfferContextClickToHost(int idx, int x, int y) override {
    if (mOptions.hostTakesContextClick) PopupHostContextMenuForParam(idx, x, y);
    return mOptions.hostTakesContextClick;
  }
  double GetSamplePos() override { return 0.0; }
  double GetTempo() override { return tempo; }
  void GetTimeSig(int* num, int* den) override {
    *num = 4;
    *den = 4;
  }
  void GetTime(ITimeInfo* info) override { *info = ITimeInfo(); }
  void ResizeGraphics(int w, int h) override { Log("resize " + std::to_string(w) + " " + std::to_string(h)); }
  EHost GetHost() override {
    Log("gethost");
    return IPlugin::GetHost();
  }
  // Refuses a message whose first data byte is 0, so that failures can be tested.
  bool SendMidiMsg(IMidiMsg* msg) override {
    Log("midi " + std::to_string(msg ? msg->mData1 : -1));
    return !msg || msg->mData1 != 0;
  }

  Calls log;
  std::vector<int> paramChanges;
  int presetsChanged = 0;
  int programChanges = 0;
  double tempo = 120.0;

 private:
  Options mOptions;

  void Log(std::string line) {
    if (mOptions.logCalls) log.push_back(std::move(line));
  }

  void InitEveryKind() {
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
};

// Logs into the given list (usually its plug-in's) instead of drawing; sets *destroyed when freed.
class FakeEditor : public IEditorDelegate {
 public:
  explicit FakeEditor(Calls* log, bool* destroyed = nullptr) : mLog(log), mDestroyed(destroyed) {}
  ~FakeEditor() override {
    if (mDestroyed) *mDestroyed = true;
  }
  void SetParameterFromPlug(int idx, double value, bool normalized) override {
    mLog->push_back("gfx " + std::to_string(idx) + " " + FormatNum(value) + (normalized ? " n" : " p"));
  }
  void SetControlFromPlug(int idx, double value) override {
    mLog->push_back("ctl " + std::to_string(idx) + " " + FormatNum(value));
  }
  void PrepDraw() override { mLog->push_back("prep"); }

 private:
  Calls* mLog;
  bool* mDestroyed;
};
