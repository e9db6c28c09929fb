// The host's top-level X11 window.
#include "host/editor/EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace qvhost {

namespace {

constexpr int kMaxSide = 16384;

int ignoreXError(Display*, XErrorEvent*) { return 0; }

// Editors cannot be resized by the user; the window manager is told so.
void fixSize(Display* d, Window w, int width, int height) {
  XSizeHints* hints = XAllocSizeHints();
  if (!hints) return;
  hints->flags = PMinSize | PMaxSize;
  hints->min_width = hints->max_width = width;
  hints->min_height = hints->max_height = height;
  XSetWMNormalHints(d, w, hints);
  XFree(hints);
}

// Position of a mask's lowest bit and its width, to pull a channel out of a pixel.
void maskShape(unsigned long mask, int* shift, int* bits) {
  *shift = 0;
  *bits = 0;
  if (!mask) return;
  while (!(mask & 1)) {
    mask >>= 1;
    ++*shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++*bits;
  }
}

uint32_t channel(unsigned long pixel, int shift, int bits) {
  if (bits <= 0) return 0;
  const unsigned long v = (pixel >> shift) & ((1ul << bits) - 1);
  return bits >= 8 ? static_cast<uint32_t>(v >> (bits - 8))
                   : static_cast<uint32_t>(v * 255 / ((1ul << bits) - 1));
}

}  // namespace

bool EditorWindow::displayAvailable(std::string* why) {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    if (why) *why = "DISPLAY is not set";
    return false;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    if (why) *why = std::string("cannot open \"") + name + "\"";
    return false;
  }
  XCloseDisplay(d);
  return true;
}

std::unique_ptr<EditorWindow> EditorWindow::open(int width, int height, const std::string& title,
                                                 std::string* error) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    if (error)
      *error = "the editor asks for an unusable size (" + std::to_string(width) + " x " +
               std::to_string(height) + ")";
    return nullptr;
  }
  // Plug-ins on the same thread may open their own connections; Xlib must be ready for that.
  XInitThreads();
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    if (error) *error = "no X display: DISPLAY is not set";
    return nullptr;
  }
  std::unique_ptr<EditorWindow> w(new EditorWindow);
  w->mDisplay = XOpenDisplay(nullptr);
  if (!w->mDisplay) {
    if (error) *error = std::string("cannot open the X display \"") + name + "\"";
    return nullptr;
  }
  Display* d = w->mDisplay;
  const int screen = DefaultScreen(d);
  w->mWindow =
      XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, BlackPixel(d, screen), BlackPixel(d, screen));
  w->mWidth = width;
  w->mHeight = height;
  XStoreName(d, w->mWindow, title.c_str());
  XClassHint* cls = XAllocClassHint();
  if (cls) {
    cls->res_name = const_cast<char*>("quorvane-host");
    cls->res_class = const_cast<char*>("QuorvaneHost");
    XSetClassHint(d, w->mWindow, cls);
    XFree(cls);
  }
  fixSize(d, w->mWindow, width, height);
  Atom del = XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(d, w->mWindow, &del, 1);
  w->mDeleteAtom = del;
  XSelectInput(d, w->mWindow, StructureNotifyMask);
  XMapWindow(d, w->mWindow);
  XSync(d, False);
  return w;
}

EditorWindow::~EditorWindow() {
  if (!mDisplay) return;
  if (mWindow) XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

int EditorWindow::fd() const { return ConnectionNumber(mDisplay); }

bool EditorWindow::resize(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  mWidth = width;
  mHeight = height;
  fixSize(mDisplay, mWindow, width, height);
  XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(mDisplay);
  return true;
}

bool EditorWindow::processEvents() {
  while (XPending(mDisplay) > 0) {
    XEvent e;
    XNextEvent(mDisplay, &e);
    if (e.type == ClientMessage && e.xclient.window == mWindow &&
        static_cast<unsigned long>(e.xclient.data.l[0]) == mDeleteAtom) {
      mCloseRequested = true;
    }
  }
  return !mCloseRequested;
}

bool EditorWindow::capture(std::vector<uint32_t>* pixels) {
  XWindowAttributes attrs;
  if (!XGetWindowAttributes(mDisplay, mWindow, &attrs) || attrs.map_state != IsViewable) return false;
  // Reading a window that is partly off screen is an X error; it must not end the host.
  auto previous = XSetErrorHandler(ignoreXError);
  XImage* image = XGetImage(mDisplay, mWindow, 0, 0, static_cast<unsigned>(mWidth),
                            static_cast<unsigned>(mHeight), AllPlanes, ZPixmap);
  XSync(mDisplay, False);
  XSetErrorHandler(previous);
  if (!image) return false;
  int rs, rb, gs, gb, bs, bb;
  maskShape(image->red_mask, &rs, &rb);
  maskShape(image->green_mask, &gs, &gb);
  maskShape(image->blue_mask, &bs, &bb);
  pixels->resize(static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight));
  for (int y = 0; y < mHeight; ++y) {
    for (int x = 0; x < mWidth; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      (*pixels)[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)] =
          0xFF000000u | channel(p, rs, rb) << 16 | channel(p, gs, gb) << 8 | channel(p, bs, bb);
    }
  }
  XDestroyImage(image);
  return true;
}

}  // namespace qvhost
