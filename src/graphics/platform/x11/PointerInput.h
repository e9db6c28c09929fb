// Pointer input rules shared by the window's event handling: which IMouseMod an event carries
// and how consecutive presses count as a double click.
#pragma once

#include "graphics/IMouseMod.h"

enum class EPointerButton {
  kNone = 0,
  kLeft,
  kMiddle,
  kRight,
};

struct ModifierKeys {
  bool mShift = false, mControl = false, mAlt = false;
};

// Control with the left button also sets R: control-click is this system's right click.
IMouseMod MakeMouseMod(bool leftHeld, bool rightHeld, const ModifierKeys& keys);

// Counts presses of the same button close in time and place: 1 for a single click, 2 for a
// double click, and so on.
class ClickCounter {
 public:
  static constexpr unsigned long kMaxIntervalMs = 400;
  static constexpr int kMaxDistance = 4;

  // timeMs is a wrapping millisecond clock (the window system's event time).
  int Press(EPointerButton button, int x, int y, unsigned long timeMs);
  void Reset() { mCount = 0; }

 private:
  EPointerButton mButton = EPointerButton::kNone;
  int mX = 0, mY = 0;
  unsigned long mTime = 0;
  int mCount = 0;
};
