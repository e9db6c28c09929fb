// Mouse modifiers and click counting.
#include "graphics/platform/x11/PointerInput.h"

#include <cstdint>
#include <cstdlib>

IMouseMod MakeMouseMod(bool leftHeld, bool rightHeld, const ModifierKeys& keys) {
  return IMouseMod(leftHeld, rightHeld || (leftHeld && keys.mControl), keys.mShift, keys.mControl, keys.mAlt);
}

int ClickCounter::Press(EPointerButton button, int x, int y, unsigned long timeMs) {
  // Event times are 32-bit and wrap about every 49 days.
  const uint32_t elapsed = static_cast<uint32_t>(timeMs) - static_cast<uint32_t>(mTime);
  const bool continues = mCount > 0 && button == mButton && elapsed <= kMaxIntervalMs &&
                         std::abs(x - mX) <= kMaxDistance && std::abs(y - mY) <= kMaxDistance;
  mCount = continues ? mCount + 1 : 1;
  mButton = button;
  mX = x;
  mY = y;
  mTime = timeMs;
  return mCount;
}
