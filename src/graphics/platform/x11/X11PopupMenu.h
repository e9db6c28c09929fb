// X11PopupMenu: runs one of our own popup menus modally on the editor's display. Each open level
// is an override-redirect window painted with the engine's fonts; the pointer and keyboard are
// grabbed while the menu is up (and always released), and a nested event loop runs until an
// item is chosen or the menu is dismissed (Escape, a click outside). Events for other windows
// and a periodic tick are handed back to the editor so it keeps repainting meanwhile.
#pragma once

#include "graphics/IRECT.h"
#include "graphics/platform/shared/PopupMenuModel.h"
#include "graphics/platform/x11/X11Presenter.h"
#include "pix/PIX_IFont.h"

#include <X11/Xlib.h>

class X11PopupMenu {
 public:
  class Host {
   public:
    virtual ~Host() = default;
    virtual void OnOtherEvent(XEvent& event) = 0;
    virtual void OnTick() = 0;
    // False once the display connection is lost: the menu ends.
    virtual bool ConnectionAlive() = 0;
  };

  // anchor: the rectangle the menu belongs to, in root-window coordinates. Returns the menu or
  // submenu whose item was chosen, with its chosen index set, or null. scale sizes the rows and
  // margins with the editor.
  static IPopupMenu* Run(Display* display, int screen, const X11Presenter& presenter, IPopupMenu* menu,
                         const IRECT& anchor, PIX_IFont* font, int tickMs, Host& host, double scale = 1.0);
};
