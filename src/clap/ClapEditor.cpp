// The CLAP adapter's editor: the gui extension around the framework's editor engine, the host's
// timers and descriptor watches handed to the engine, size requests and the host's context menu.
// The editor has one fixed size; hosts are told it cannot be resized.
#include "clap/IPluginCLAP.h"

#include "clap/ClapRunLoopBridge.h"
#include "clap/abi/ContextMenu.h"
#include "graphics/IGraphics.h"

#include <cstring>

namespace {

#if defined(__APPLE__)
const char* const kWindowApi = CLAP_WINDOW_API_COCOA;
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
  *width = static_cast<uint32_t>(graphics->Width());
  *height = static_cast<uint32_t>(graphics->Height());
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
    mRunLoop.reset(new ClapRunLoopBridge(mHost, mHostTimer, mHostPosixFd));
  } catch (...) {
    return false;
  }
  graphics->SetHostRunLoop(mRunLoop.get());
#if defined(__APPLE__)
  void* parent = window->cocoa;
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
  return true;
}

void IPluginCLAP::ResizeGraphics(int w, int h) {
  if (mGuiOpen && mHostGui && mHostGui->request_resize && w > 0 && h > 0)
    mHostGui->request_resize(mHost, static_cast<uint32_t>(w), static_cast<uint32_t>(h));
}

void IPluginCLAP::PopupHostContextMenuForParam(int idx, int x, int y) { OfferContextClickToHost(idx, x, y); }

// Only a host that offers the context-menu extension and can show it now takes the click; other
// hosts leave it to the editor.
bool IPluginCLAP::OfferContextClickToHost(int idx, int x, int y) {
  const auto* menu = static_cast<const clap_host_context_menu_t*>(mHostContextMenu);
  if (!menu || !mGuiOpen || !IsFrameworkParam(static_cast<clap_id>(idx)) || !menu->can_popup ||
      !menu->popup || !menu->can_popup(mHost))
    return false;
  const clap_context_menu_target_t target{CLAP_CONTEXT_MENU_TARGET_KIND_PARAM, static_cast<clap_id>(idx)};
  return menu->popup(mHost, &target, 0, x, y);
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
    // The pictures are drawn at one size; the host scales nothing for us.
    [](const clap_plugin_t*, double) { return false; },
    [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return FromClap(p)->GuiSize(w, h); },
    [](const clap_plugin_t*) { return false; },
    [](const clap_plugin_t*, clap_gui_resize_hints_t* hints) {
      if (!hints) return false;
      *hints = clap_gui_resize_hints_t{false, false, false, 1, 1};
      return true;
    },
    [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return FromClap(p)->GuiSize(w, h); },
    [](const clap_plugin_t* p, uint32_t w, uint32_t h) {
      uint32_t ownW = 0, ownH = 0;
      return FromClap(p)->GuiSize(&ownW, &ownH) && w == ownW && h == ownH;
    },
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
