// Win32 mouse flags and keys.
#include "graphics/platform/win/WinInput.h"

IMouseMod MouseModFromFlags(WPARAM flags) {
  const bool alt = GetKeyState(VK_MENU) < 0;
  return IMouseMod((flags & MK_LBUTTON) != 0, (flags & MK_RBUTTON) != 0, (flags & MK_SHIFT) != 0,
                   (flags & MK_CONTROL) != 0, alt);
}

EditorKey KeyFromVirtualKey(WPARAM vk) {
  ENamedKey named = ENamedKey::kNone;
  switch (vk) {
    case VK_UP: named = ENamedKey::kUp; break;
    case VK_DOWN: named = ENamedKey::kDown; break;
    case VK_LEFT: named = ENamedKey::kLeft; break;
    case VK_RIGHT: named = ENamedKey::kRight; break;
    case VK_RETURN: named = ENamedKey::kReturn; break;
    case VK_ESCAPE: named = ENamedKey::kEscape; break;
    case VK_BACK: named = ENamedKey::kBackSpace; break;
    case VK_DELETE: named = ENamedKey::kDelete; break;
    case VK_HOME: named = ENamedKey::kHome; break;
    case VK_END: named = ENamedKey::kEnd; break;
    case VK_TAB: named = ENamedKey::kTab; break;
    default: break;
  }
  EditorKey key = EditorKey::Named(named);
  key.mControl = GetKeyState(VK_CONTROL) < 0;
  return key;
}

EditorKey KeyFromChar(WPARAM ch) {
  if (ch < 0x20 || ch > 0x7E) return EditorKey();
  return EditorKey::Char(static_cast<char>(ch));
}

int WheelNotches::Add(int delta) {
  mPending += delta;
  const int notches = mPending / WHEEL_DELTA;
  mPending -= notches * WHEEL_DELTA;
  return notches;
}
