// X11WorkArea: the room an editor window has on an X screen. The monitor is the one under the
// window's centre (under the pointer before the window opens), taken from XRandR's monitors or
// Xinerama's screens when the server and the system offer them, else the whole root window; from
// it go the panels the window manager reserves (_NET_WORKAREA) and what the host puts above and
// left of the editor inside its own window (title bar, toolbar).
//
// The XRandR and Xinerama libraries are looked up at run time, so the plug-in needs neither.
#pragma once

#include <X11/Xlib.h>

// The room in pixels, for window (0 before one opens); false when the display gives no usable
// answer. Callers trap X errors (X11ErrorTrap): a server without RandR 1.5 answers with one.
bool X11ScreenWorkArea(Display* dpy, Window window, int* width, int* height);
