// The CLAP adapter's editor: the gui extension around the framework's editor engine, the host's
// timers and descriptor watches handed to the engine, the editor's sizes (the host's scale, the
// user resizing the window with the aspect kept, the editor asking for a size) and the host's
// context menu.
#include "clap/IPluginCLAP.h"

#include "clap/ClapRunLoopBridge.h"
#include "clap/abi/ContextMenu.h"
#include "graphics/IGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

#if defined(__APPLE__)
const char* const kWindowApi = CLAP_WINDOW_API_COCOA;
#elif defined(_WIN32)
const char* const kWindowApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kWindowApi = CLAP_WINDOW_API_X11;
#endif

}  // namespace

bool IPluginCLAP::GuiApiSupported(const char* api, bool floating) const {
  return AttachedGraphics(this) && !floating && api && std::strcmp(api, kWindowApi) == 0;
}

bool IPluginCLAP::GuiCreate(const char* api, bool floating) {
  if (!GuiApiSupported(api, floating) || mGuiCreated) return false;
  mGuiCreated = true;
  // A new editor opens at the size the user last chose, else the desktop's; the host asks for the
  // size next.
  IGraphics* graphics = AttachedGraphics(this);
  if (!graphics->WindowIsOpen()) graphics->ChooseInitialScale();
  return true;
}

void IPluginCLAP::GuiDestroy() {
  if (mGuiOpen) {
    mGuiOpen = false;
    if (IGraphics* graphics = AttachedGraphics(this)) {
      OnGUIClose();
      graphics->CloseWindow();
      graphics->SetHostRunLoop(nullptr);
    }
  }
  // Whatever the window left registered with the host is unregistered here.
  mRunLoop.reset();
  mGuiCreated = false;
}

bool IPluginCLAP::GuiSize(uint32_t* width, uint32_t* height) const {
  const IGraphics* graphics = AttachedGraphics(this);
  if (!graphics || !width || !height) return false;
  *width = static_cast<uint32_t>(graphics->WindowWidth());
  *height = static_cast<uint32_t>(graphics->WindowHeight());
  return true;
}

bool IPluginCLAP::GuiSetScale(double scale) {
#if defined(__APPLE__)
  // Cocoa sizes are points: the view takes the backing scale from its window itself.
  (void)scale;
  return false;
#else
  IGraphics* graphics = AttachedGraphics(this);
  if (!graphics || !std::isfinite(scale) || scale <= 0.0) return false;
  graphics->SetHostScale(scale);
  return true;
#endif
}

// The nearest size the editor takes for a window of w x h: its aspect kept, within its scales.
bool IPluginCLAP::GuiAdjustSize(uint32_t* width, uint32_t* height) const {
  const IGraphics* graphics = AttachedGraphics(this);
  if (!graphics || !width || !height) return false;
  const double scale = graphics->ScaleForWindow(static_cast<int>(std::min<uint32_t>(*width, INT32_MAX)),
                                                static_cast<int>(std::min<uint32_t>(*height, INT32_MAX)));
  *width = static_cast<uint32_t>(IGraphics::ScaledLength(graphics->Width(), scale));
  *height = static_cast<uint32_t>(IGraphics::ScaledLength(graphics->Height(), scale));
  return true;
}

// The host resized the window (the user dragged it): the editor follows, never larger than the
// window, and remembers the size. The host has the size already, so nothing is asked back.
bool IPluginCLAP::GuiSetSize(uint32_t width, uint32_t height) {
  IGraphics* graphics = AttachedGraphics(this);
  if (!graphics || width == 0 || height == 0) return false;
  const int w = static_cast<int>(std::min<uint32_t>(width, INT32_MAX));
  const int h = static_cast<int>(std::min<uint32_t>(height, INT32_MAX));
  if (w != graphics->WindowWidth() || h != graphics->WindowHeight())
    graphics->SetUserScale(graphics->ScaleForWindow(w, h, true), false);
  return true;
}

bool IPluginCLAP::GuiSetParent(const clap_window_t* window) {
  IGraphics* graphics = AttachedGraphics(this);
  if (!mGuiCreated || mGuiOpen || !graphics || !window || !window->api ||
      std::strcmp(window->api, kWindowApi))
    return false;
  // The engine has one window; a second one would close the first behind its host's back.
  if (graphics->WindowIsOpen()) return false;
  try {
    mRunLoop.reset(new ClapRunLoopBridge(mClapHost, mHostTimer, mHostPosixFd));
  } catch (...) {
    return false;
  }
  graphics->SetHostRunLoop(mRunLoop.get());
#if defined(__APPLE__)
  void* parent = window->cocoa;
#elif defined(_WIN32)
  void* parent = window->win32;
#else
  void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11));
#endif
  if (!graphics->OpenWindow(parent)) {
    graphics->SetHostRunLoop(nullptr);
    mRunLoop.reset();
    return false;
  }
  mGuiOpen = true;
  OnGUIOpen();
  // Now that the window is on a screen: a size that does not fit it shrinks, and the host follows.
  graphics->FitToScreen();
  return true;
}

void IPluginCLAP::ResizeGraphics(int w, int h) {
  if (mGuiOpen && mHostGui && mHostGui->request_resize && w > 0 && h > 0)
    mHostGui->request_resize(mClapHost, static_cast<uint32_t>(w), static_cast<uint32_t>(h));
}

void IPluginCLAP::PopupHostContextMenuForParam(int idx, int x, int y) { OfferContextClickToHost(idx, x, y); }

// Only a host that offers the context-menu extension and can show it now takes the click; other
// hosts leave it to the editor.
bool IPluginCLAP::OfferContextClickToHost(int idx, int x, int y) {
  const auto* menu = static_cast<const clap_host_context_menu_t*>(mHostContextMenu);
  if (!menu || !mGuiOpen || !IsFrameworkParam(static_cast<clap_id>(idx)) || !menu->can_popup ||
      !menu->popup || !menu->can_popup(mClapHost))
    return false;
  const clap_context_menu_target_t target{CLAP_CONTEXT_MENU_TARGET_KIND_PARAM, static_cast<clap_id>(idx)};
  return menu->popup(mClapHost, &target, 0, x, y);
}

// ---- Extension records ---------------------------------------------------------------------------

const clap_plugin_gui_t IPluginCLAP::sGui = {
    [](const clap_plugin_t* p, const char* api, bool floating) {
      return FromClap(p)->GuiApiSupported(api, floating);
    },
    [](const clap_plugin_t*, const char** api, bool* floating) {
      if (!api || !floating) return false;
      *api = kWindowApi;
      *floating = false;
      return true;
    },
    [](const clap_plugin_t* p, const char* api, bool floating) {
      return FromClap(p)->GuiCreate(api, floating);
    },
    [](const clap_plugin_t* p) { FromClap(p)->GuiDestroy(); },
    [](const clap_plugin_t* p, double scale) { return FromClap(p)->GuiSetScale(scale); },
    [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return FromClap(p)->GuiSize(w, h); },
    [](const clap_plugin_t* p) { return AttachedGraphics(FromClap(p)) != nullptr; },
    [](const clap_plugin_t* p, clap_gui_resize_hints_t* hints) {
      const IGraphics* graphics = AttachedGraphics(FromClap(p));
      if (!graphics || !hints) return false;
      *hints = clap_gui_resize_hints_t{true, true, true, static_cast<uint32_t>(graphics->Width()),
                                       static_cast<uint32_t>(graphics->Height())};
      return true;
    },
    [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return FromClap(p)->GuiAdjustSize(w, h); },
    [](const clap_plugin_t* p, uint32_t w, uint32_t h) { return FromClap(p)->GuiSetSize(w, h); },
    [](const clap_plugin_t* p, const clap_window_t* window) { return FromClap(p)->GuiSetParent(window); },
    [](const clap_plugin_t*, const clap_window_t*) { return false; },
    [](const clap_plugin_t*, const char*) {},
    [](const clap_plugin_t* p) { return FromClap(p)->mGuiOpen; },
    [](const clap_plugin_t* p) { return FromClap(p)->mGuiOpen; },
};

const clap_plugin_timer_support_t IPluginCLAP::sTimer = {
    [](const clap_plugin_t* p, clap_id id) {
      if (ClapRunLoopBridge* loop = FromClap(p)->mRunLoop.get()) loop->OnTimer(id);
    },
};

const clap_plugin_posix_fd_support_t IPluginCLAP::sPosixFd = {
    [](const clap_plugin_t* p, int fd, clap_posix_fd_flags_t) {
      if (ClapRunLoopBridge* loop = FromClap(p)->mRunLoop.get()) loop->OnFD(fd);
    },
};
