// Clipboard text through the CLIPBOARD selection.
#include "graphics/platform/x11/X11Clipboard.h"

#include <X11/Xatom.h>

#include <poll.h>
#include <algorithm>
#include <chrono>
#include <climits>

namespace {
long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool WaitForNotify(Display* display, Window requestor, XEvent* event, long long deadline) {
  for (;;) {
    if (XCheckTypedWindowEvent(display, requestor, SelectionNotify, event)) return true;
    const long long left = deadline - NowMs();
    if (left <= 0) return false;
    pollfd p = {ConnectionNumber(display), POLLIN, 0};
    poll(&p, 1, static_cast<int>(std::min(left, 20LL)));
  }
}

std::string Latin1ToUtf8(const unsigned char* s, unsigned long n) {
  std::string out;
  for (unsigned long i = 0; i < n; ++i) {
    if (s[i] < 0x80)
      out += static_cast<char>(s[i]);
    else {
      out += static_cast<char>(0xC0 | (s[i] >> 6));
      out += static_cast<char>(0x80 | (s[i] & 0x3F));
    }
  }
  return out;
}
}  // namespace

bool ReadClipboardText(Display* display, Window requestor, std::string* text, int timeoutMs) {
  text->clear();
  const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
  if (XGetSelectionOwner(display, clipboard) == None) return false;
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const Atom property = XInternAtom(display, "QUORVANE_CLIPBOARD", False);
  const Atom incr = XInternAtom(display, "INCR", False);
  const long long deadline = NowMs() + timeoutMs;

  for (Atom target : {utf8, static_cast<Atom>(XA_STRING)}) {
    XConvertSelection(display, clipboard, target, property, requestor, CurrentTime);
    XEvent event;
    if (!WaitForNotify(display, requestor, &event, deadline)) return false;
    if (event.xselection.property == None) continue;

    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, requestor, property, 0, LONG_MAX / 4, True,
                                          AnyPropertyType, &type, &format, &count, &remaining, &data);
    bool ok = false;
    if (status == Success && data && format == 8 && type != incr) {
      *text = type == XA_STRING ? Latin1ToUtf8(data, count)
                                : std::string(reinterpret_cast<const char*>(data), count);
      ok = true;
    }
    if (data) XFree(data);
    return ok;
  }
  return false;
}
