// X11ErrorTrap: keeps X protocol errors on our own display connections (a window the host
// destroyed under us, a bad parent id) from reaching the process's error handler, whose default
// ends the process, that is, the host.
//
// The error handler is process-wide and the host may have its own, so ours is installed only
// while at least one trap exists and the previous handler is put back when the last one goes;
// errors on displays that are not ours are passed on to that previous handler. Errors on our
// connection are only ever reported inside our own Xlib calls, so every stretch of them runs
// inside a trap.
#pragma once

#include <X11/Xlib.h>

class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  int Errors() const { return mErrors; }
  // Waits for the server to process every request so far; true when none of them failed.
  bool SyncOK();

 private:
  friend int X11ErrorTrapHandler(Display*, XErrorEvent*);

  Display* mDisplay;
  X11ErrorTrap* mOuter;
  int mErrors = 0;
};
