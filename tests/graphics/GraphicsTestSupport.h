// Editor test support: a plug-in double that logs every call the editor makes on a plug-in, in
// order, and a fixture that wires it to a headless engine the way a plug-in constructor does.
//
// Log lines: "begin i", "inform i v", "end i", "popup i x y", "change i" (v printed with %g).
#pragma once

#include "framework/IPlugin.h"
#include "graphics/IControl.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"

#include <cstdio>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

inline std::string FormatNum(double v) {
  char buf[64];
  std::snprintf(buf, sizeof(buf), "%g", v);
  return buf;
}

class LoggingPlugin : public IPlugin {
 public:
  explicit LoggingPlugin(int nParams = 4, EAPI api = kAPIVST3)
      : IPlugin(nParams, "2-2", 1, "EditorTest", "", "Maker", 0x00010100, 0x51767445, 0x546d6b77, 0, false,
                false, false, api) {}

  void OnParamChange(int idx) override {
    IPlugin::OnParamChange(idx);
    if (logChanges) log.push_back("change " + std::to_string(idx));
  }
  void BeginInformHostOfParamChange(int idx) override { log.push_back("begin " + std::to_string(idx)); }
  void InformHostOfParamChange(int idx, double v) override {
    log.push_back("inform " + std::to_string(idx) + " " + FormatNum(v));
  }
  void EndInformHostOfParamChange(int idx) override { log.push_back("end " + std::to_string(idx)); }
  void PopupHostContextMenuForParam(int idx, int x, int y) override {
    log.push_back("popup " + std::to_string(idx) + " " + std::to_string(x) + " " + std::to_string(y));
  }
  void InformHostOfProgramChange() override {}
  double GetSamplePos() override { return 0.0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int* num, int* den) override {
    *num = 4;
    *den = 4;
  }
  void GetTime(ITimeInfo* info) override { *info = ITimeInfo(); }
  void ResizeGraphics(int w, int h) override {
    log.push_back("resize " + std::to_string(w) + " " + std::to_string(h));
  }
  bool SendMidiMsg(IMidiMsg*) override { return false; }

  Calls log;
  // OnParamChange runs for every parameter during set-up; tests usually care about the rest.
  bool logChanges = true;
};

// A plug-in and its headless editor. Attach controls with gui->AttachControl, then Attach() to
// hand the editor to the plug-in (parameter values pushed, back buffer prepared); the log starts
// empty after that.
struct EditorFixture {
  LoggingPlugin plug;
  IGraphicsHeadless* gui;

  explicit EditorFixture(int nParams = 4, int w = 200, int h = 100, EAPI api = kAPIVST3)
      : plug(nParams, api), gui(new IGraphicsHeadless(&plug, w, h)) {}

  ~EditorFixture() {
    if (plug.GetGraphics() != gui) delete gui;
  }
  EditorFixture(const EditorFixture&) = delete;
  EditorFixture& operator=(const EditorFixture&) = delete;

  void Attach() {
    plug.AttachGraphics(gui);
    plug.log.clear();
  }
};
