// X11WorkArea: monitors from XRandR or Xinerama (looked up with dlopen), the window manager's work
// area, and the host's own frame around the editor.
#include "graphics/platform/x11/X11WorkArea.h"

#include "graphics/IRECT.h"

#include <X11/Xatom.h>
#include <dlfcn.h>

#include <vector>

namespace {

// The two libraries' records, as their public headers lay them out (stable since RandR 1.5 and
// Xinerama 1.0); the headers themselves are not needed to build.
struct RandrMonitor {
  Atom name;
  Bool primary, automatic;
  int noutput, x, y, width, height, mwidth, mheight;
  XID* outputs;
};
struct XineramaScreen {
  int screen_number;
  short x_org, y_org, width, height;
};

struct MonitorLibraries {
  RandrMonitor* (*getMonitors)(Display*, Window, Bool, int*) = nullptr;
  void (*freeMonitors)(RandrMonitor*) = nullptr;
  Bool (*xineramaIsActive)(Display*) = nullptr;
  XineramaScreen* (*xineramaQueryScreens)(Display*, int*) = nullptr;
};

template <typename F>
void Resolve(void* library, const char* name, F* fn) {
  *fn = library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
}

// Loaded once per process and kept: the libraries are the system's, and tiny.
const MonitorLibraries& Libraries() {
  static const MonitorLibraries libs = [] {
    MonitorLibraries l;
    void* randr = dlopen("libXrandr.so.2", RTLD_LAZY | RTLD_LOCAL);
    Resolve(randr, "XRRGetMonitors", &l.getMonitors);
    Resolve(randr, "XRRFreeMonitors", &l.freeMonitors);
    void* xinerama = dlopen("libXinerama.so.1", RTLD_LAZY | RTLD_LOCAL);
    Resolve(xinerama, "XineramaIsActive", &l.xineramaIsActive);
    Resolve(xinerama, "XineramaQueryScreens", &l.xineramaQueryScreens);
    return l;
  }();
  return libs;
}

bool ServerHas(Display* dpy, const char* extension) {
  int opcode = 0, event = 0, error = 0;
  return XQueryExtension(dpy, extension, &opcode, &event, &error);
}

std::vector<IRECT> Monitors(Display* dpy, Window root) {
  const MonitorLibraries& libs = Libraries();
  std::vector<IRECT> monitors;
  if (libs.getMonitors && libs.freeMonitors && ServerHas(dpy, "RANDR")) {
    int n = 0;
    if (RandrMonitor* m = libs.getMonitors(dpy, root, True, &n)) {
      for (int i = 0; i < n; ++i)
        if (m[i].width > 0 && m[i].height > 0)
          monitors.emplace_back(m[i].x, m[i].y, m[i].x + m[i].width, m[i].y + m[i].height);
      libs.freeMonitors(m);
    }
  }
  if (monitors.empty() && libs.xineramaIsActive && libs.xineramaQueryScreens && ServerHas(dpy, "XINERAMA") &&
      libs.xineramaIsActive(dpy)) {
    int n = 0;
    if (XineramaScreen* s = libs.xineramaQueryScreens(dpy, &n)) {
      for (int i = 0; i < n; ++i)
        if (s[i].width > 0 && s[i].height > 0)
          monitors.emplace_back(s[i].x_org, s[i].y_org, s[i].x_org + s[i].width, s[i].y_org + s[i].height);
      XFree(s);
    }
  }
  XWindowAttributes attrs;
  if (monitors.empty() && XGetWindowAttributes(dpy, root, &attrs) && attrs.width > 0 && attrs.height > 0)
    monitors.emplace_back(0, 0, attrs.width, attrs.height);
  return monitors;
}

// The first `count` 32-bit values of a CARDINAL property of the root window; empty without it.
std::vector<long> RootCardinals(Display* dpy, Window root, const char* name, long count) {
  std::vector<long> values;
  const Atom atom = XInternAtom(dpy, name, True);
  if (atom == None) return values;
  Atom type = None;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, root, atom, 0, count, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
          Success &&
      data && type == XA_CARDINAL && format == 32)
    values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + n);
  if (data) XFree(data);
  return values;
}

// The window manager's work area on the current desktop; empty when it publishes none.
IRECT ManagerWorkArea(Display* dpy, Window root) {
  const std::vector<long> desktop = RootCardinals(dpy, root, "_NET_CURRENT_DESKTOP", 1);
  const long d = desktop.empty() || desktop[0] < 0 || desktop[0] > 64 ? 0 : desktop[0];
  const std::vector<long> area = RootCardinals(dpy, root, "_NET_WORKAREA", 4 * (d + 1));
  if (static_cast<long>(area.size()) < 4 * (d + 1)) return IRECT();
  const long* r = &area[4 * d];
  return IRECT(static_cast<int>(r[0]), static_cast<int>(r[1]), static_cast<int>(r[0] + r[2]),
               static_cast<int>(r[1] + r[3]));
}

// Where the editor sits inside the host's top-level window (a child of the root: the window
// manager's frame where there is one). (0, 0) when it cannot be found.
void OffsetInTopLevel(Display* dpy, Window root, Window window, int* x, int* y) {
  *x = *y = 0;
  Window top = window;
  for (int depth = 0; depth < 64; ++depth) {
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, top, &rootReturn, &parent, &children, &n)) return;
    if (children) XFree(children);
    if (parent == root || parent == 0) break;
    top = parent;
  }
  Window child = 0;
  if (top != window && !XTranslateCoordinates(dpy, window, top, 0, 0, x, y, &child)) *x = *y = 0;
}

}  // namespace

bool X11ScreenWorkArea(Display* dpy, Window window, int* width, int* height) {
  if (!dpy || !width || !height) return false;
  const Window root = DefaultRootWindow(dpy);
  int px = 0, py = 0;
  if (window) {
    XWindowAttributes attrs;
    Window child = 0;
    if (!XGetWindowAttributes(dpy, window, &attrs) ||
        !XTranslateCoordinates(dpy, window, root, attrs.width / 2, attrs.height / 2, &px, &py, &child))
      return false;
  } else {
    Window rootReturn = 0, child = 0;
    int wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy, root, &rootReturn, &child, &px, &py, &wx, &wy, &mask);
  }

  const std::vector<IRECT> monitors = Monitors(dpy, root);
  if (monitors.empty()) return false;
  // The smallest monitor under the point: RandR also lists the whole screen as one.
  IRECT monitor = monitors.front();
  bool under = false;
  for (const IRECT& m : monitors)
    if (m.Contains(px, py) &&
        (!under || static_cast<long>(m.W()) * m.H() < static_cast<long>(monitor.W()) * monitor.H())) {
      monitor = m;
      under = true;
    }
  const IRECT managed = monitor.Intersect(ManagerWorkArea(dpy, root));
  if (managed.W() > 0 && managed.H() > 0) monitor = managed;

  int ox = 0, oy = 0;
  if (window) OffsetInTopLevel(dpy, root, window, &ox, &oy);
  *width = monitor.W() - ox;
  *height = monitor.H() - oy;
  return *width > 0 && *height > 0;
}
