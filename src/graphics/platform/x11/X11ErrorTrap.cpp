// The process-wide X error handler, installed while our traps exist.
#include "graphics/platform/x11/X11ErrorTrap.h"

#include <atomic>
#include <mutex>

namespace {
// Errors are reported on the thread that made the failing call, so the traps a thread has open
// are all the handler needs to look at.
thread_local X11ErrorTrap* tInnermost = nullptr;

std::mutex sInstallMutex;
int sInstallCount = 0;
std::atomic<XErrorHandler> sPrevious{nullptr};
}  // namespace

int X11ErrorTrapHandler(Display* display, XErrorEvent* error) {
  for (X11ErrorTrap* t = tInnermost; t; t = t->mOuter) {
    if (t->mDisplay == display) {
      ++t->mErrors;
      return 0;
    }
  }
  XErrorHandler previous = sPrevious.load();
  return previous ? previous(display, error) : 0;
}

X11ErrorTrap::X11ErrorTrap(Display* display) : mDisplay(display), mOuter(tInnermost) {
  tInnermost = this;
  std::lock_guard<std::mutex> lock(sInstallMutex);
  if (sInstallCount++ == 0) sPrevious.store(XSetErrorHandler(X11ErrorTrapHandler));
}

X11ErrorTrap::~X11ErrorTrap() {
  tInnermost = mOuter;
  std::lock_guard<std::mutex> lock(sInstallMutex);
  if (--sInstallCount == 0) {
    XErrorHandler current = XSetErrorHandler(sPrevious.load());
    // Someone installed a handler after ours: theirs stays.
    if (current != X11ErrorTrapHandler) XSetErrorHandler(current);
  }
}

bool X11ErrorTrap::SyncOK() {
  XSync(mDisplay, False);
  return mErrors == 0;
}
