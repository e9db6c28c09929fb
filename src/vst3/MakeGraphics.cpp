// MakeGraphics: Cocoa on macOS, X11 elsewhere.
#include "vst3/MakeGraphics.h"

#include "vst3/IPluginVST3.h"

#if defined(__APPLE__)
#include "graphics/platform/mac/IGraphicsMac.h"
#else
#include "graphics/platform/x11/IGraphicsLinux.h"
#endif

const char* const kPluginBundleID = "com.tallowmarkworks.quorvane";

IGraphics* MakeGraphics(IPluginVST3* plug, int width, int height, int fps) {
#if defined(__APPLE__)
  IGraphicsMac* graphics = new IGraphicsMac(plug, width, height, fps);
  graphics->SetBundleID(kPluginBundleID);
  return graphics;
#else
  // The X11 window finds the bundle from the loaded module itself.
  return new IGraphicsLinux(plug, width, height, fps);
#endif
}
