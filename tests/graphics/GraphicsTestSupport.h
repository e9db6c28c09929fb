// Editor test support: a fixture that wires the shared fake plug-in to a headless engine the way a
// plug-in constructor does. The plug-in's log holds every call the editor makes on it, in order.
#pragma once

#include "graphics/IControl.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "support/FakePlugin.h"

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
