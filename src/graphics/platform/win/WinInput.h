// Win32 input as the editor takes it: the buttons and modifier keys of a mouse message, a key
// press as an EditorKey, and how many wheel notches a run of partial deltas has added up to.
// UI thread.
#pragma once

#include "graphics/IMouseMod.h"
#include "graphics/platform/shared/EditorKey.h"

#include <windows.h>

// From a mouse message's wParam (MK_ flags) and the Alt key's state now.
IMouseMod MouseModFromFlags(WPARAM flags);
// WM_KEYDOWN's virtual key as a named key; kNone for keys that come as characters (WM_CHAR).
EditorKey KeyFromVirtualKey(WPARAM vk);
// WM_CHAR's character: printable ASCII only, else an EditorKey with nothing in it.
EditorKey KeyFromChar(WPARAM ch);

// Fine-grained wheels send deltas below a notch (120); they count once they add up to one.
class WheelNotches {
 public:
  // Whole notches so far, up positive; the remainder waits for the next delta.
  int Add(int delta);

 private:
  int mPending = 0;
};
