// RecordingPlugin and RecordingGraphics: test doubles that log every hook and host call in order,
// so tests can check the sequence the base produces.
#pragma once

#include "framework/ChannelDelayLine.h"
#include "framework/IPlugin.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"

#include <cstdio>
#include <string>
#include <vector>

struct CallLog {
  std::vector<std::string> calls;
  void Add(const std::string& s) { calls.push_back(s); }
};

inline std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%g", v);
  return buf;
}

// The three hooks the base calls on an editor, logged instead of carried out.
class RecordingGraphics : public IGraphicsHeadless {
 public:
  RecordingGraphics(CallLog* log, bool* destroyed = nullptr)
      : IGraphicsHeadless(nullptr, 0, 0), mLog(log), mDestroyed(destroyed) {}
  ~RecordingGraphics() override {
    if (mDestroyed) *mDestroyed = true;
  }
  void SetParameterFromPlug(int idx, double value, bool normalized) override {
    mLog->Add("gfx " + std::to_string(idx) + " " + Num(value) + (normalized ? " n" : " p"));
  }
  void SetControlFromPlug(int idx, double value) override {
    mLog->Add("ctl " + std::to_string(idx) + " " + Num(value));
  }
  void PrepDraw() override { mLog->Add("prep"); }

 private:
  CallLog* mLog;
  bool* mDestroyed;
};

class RecordingPlugin : public IPlugin {
 public:
  explicit RecordingPlugin(const char* channelIO = "2-2 4-2", int nParams = 3, int latency = 0)
      : IPlugin(nParams, channelIO, 1, "Recorder", "", "Maker", 0x00010100, 0x51767254, 0x546d6b77, latency,
                false, false, false, kAPIVST3) {}

  // Mirrors what the host adapter does at construction and set-up.
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

  void OnParamChange(int idx) override {
    IPlugin::OnParamChange(idx);
    log.Add("change " + std::to_string(idx));
  }
  void BeginInformHostOfParamChange(int idx) override { log.Add("begin " + std::to_string(idx)); }
  void InformHostOfParamChange(int idx, double v) override {
    log.Add("inform " + std::to_string(idx) + " " + Num(v));
  }
  void EndInformHostOfParamChange(int idx) override { log.Add("end " + std::to_string(idx)); }
  void InformHostOfProgramChange() override { log.Add("program"); }
  double GetSamplePos() override { return 0.0; }
  double GetTempo() override { return tempo; }
  void GetTimeSig(int* num, int* den) override {
    *num = 4;
    *den = 4;
  }
  void GetTime(ITimeInfo* info) override { *info = ITimeInfo(); }
  void ResizeGraphics(int, int) override {}
  EHost GetHost() override {
    log.Add("gethost");
    return IPlugin::GetHost();
  }
  bool SendMidiMsg(IMidiMsg* msg) override {
    log.Add("midi " + std::to_string(msg ? msg->mData1 : -1));
    return !msg || msg->mData1 != 0;
  }

  CallLog log;
  double tempo = 120.0;
};
