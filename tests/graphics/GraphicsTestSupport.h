// Editor test support: a fixture that wires the shared fake plug-in to a headless engine the way a
// plug-in constructor does. The plug-in's log holds every call the editor makes on it, in order.
#pragma once

#include "graphics/IControl.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "support/FakePlugin.h"

#include <string>
#include <vector>

// Four uninitialised parameters on a stereo plug-in, whose host takes right-clicks or not.
inline FakePlugin::Options EditorPlugOptions(int nParams = 4, bool hostTakesContextClick = true) {
  FakePlugin::Options o = FakePlugin::Bare("2-2", nParams);
  o.hostTakesContextClick = hostTakesContextClick;
  return o;
}

// A plug-in and its headless editor. Attach controls with gui->AttachControl, then Attach() to
// hand the editor to the plug-in (parameter values pushed, back buffer prepared); the log starts
// empty after that.
struct EditorFixture {
  FakePlugin plug;
  IGraphicsHeadless* gui;

  explicit EditorFixture(int nParams = 4, int w = 200, int h = 100, bool hostTakesContextClick = true)
      : plug(EditorPlugOptions(nParams, hostTakesContextClick)), gui(new IGraphicsHeadless(&plug, w, h)) {}

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

// A control that fills itself with a colour and logs the input a window hands it, as
// "down|up|drag|dbl x y [L] [R] [S]", "wheel d" and "key k": the window tests' probe.
class WindowProbe : public IControl {
 public:
  WindowProbe(IPlugin* plug, const IRECT& r, IColor colour, int param = -1)
      : IControl(plug, r, param), colour(colour) {}

  bool Draw(IGraphics* g) override { return g->FillIRect(&colour, &mRECT); }
  void OnMouseDown(int x, int y, IMouseMod* m) override { Log("down", x, y, m); }
  void OnMouseUp(int x, int y, IMouseMod* m) override { Log("up", x, y, m); }
  void OnMouseDrag(int x, int y, int, int, IMouseMod* m) override { Log("drag", x, y, m); }
  void OnMouseDblClick(int x, int y, IMouseMod* m) override { Log("dbl", x, y, m); }
  void OnMouseWheel(int, int, IMouseMod*, int d) override { events.push_back("wheel " + std::to_string(d)); }
  bool OnKeyDown(int, int, int key) override {
    events.push_back("key " + std::to_string(key));
    return true;
  }

  IColor colour;
  std::vector<std::string> events;

 private:
  void Log(const char* what, int x, int y, IMouseMod* m) {
    events.push_back(std::string(what) + " " + std::to_string(x) + " " + std::to_string(y) +
                     (m->L ? " L" : "") + (m->R ? " R" : "") + (m->S ? " S" : ""));
  }
};
