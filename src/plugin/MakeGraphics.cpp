// MakeGraphics: Cocoa on macOS, Win32 on Windows, X11 elsewhere.
#include "plugin/MakeGraphics.h"

#include "framework/PluginIdentity.h"

#if defined(__APPLE__)
#include "graphics/platform/mac/IGraphicsMac.h"
#elif defined(_WIN32)
#include "graphics/platform/win/IGraphicsWin.h"
#else
#include "graphics/platform/x11/IGraphicsLinux.h"
#endif

IGraphics* MakeGraphics(IPlugin* plug, int width, int height, int fps) {
#if defined(__APPLE__)
  IGraphicsMac* graphics = new IGraphicsMac(plug, width, height, fps);
  // The bundle that carries the images is looked up by its identifier.
  graphics->SetBundleID(GetPluginIdentity().bundleId);
  return graphics;
#elif defined(_WIN32)
  // The images are linked into the module.
  return new IGraphicsWin(plug, width, height, fps);
#else
  // The X11 window finds the bundle from the loaded module itself.
  return new IGraphicsLinux(plug, width, height, fps);
#endif
}
