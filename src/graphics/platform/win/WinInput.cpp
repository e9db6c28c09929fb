// Win32 mouse flags and keys.
#include "graphics/platform/win/WinInput.h"

IMouseMod MouseModFromFlags(WPARAM flags) {
  const bool alt = GetKeyState(VK_MENU) < 0;
  return IMouseMod((flags & MK_LBUTTON) != 0, (flags & MK_RBUTTON) != 0, (flags & MK_SHIFT) != 0,
                   (flags & MK_CONTROL) != 0, alt);
}

EditorKey KeyFromVirtualKey(WPARAM vk) {
  static const struct {
    WPARAM mVirtualKey;
    ENamedKey mKey;
  } kNamed[] = {
      {VK_UP, ENamedKey::kUp},          {VK_DOWN, ENamedKey::kDown},     {VK_LEFT, ENamedKey::kLeft},
      {VK_RIGHT, ENamedKey::kRight},    {VK_RETURN, ENamedKey::kReturn}, {VK_ESCAPE, ENamedKey::kEscape},
      {VK_BACK, ENamedKey::kBackSpace}, {VK_DELETE, ENamedKey::kDelete}, {VK_HOME, ENamedKey::kHome},
      {VK_END, ENamedKey::kEnd},        {VK_TAB, ENamedKey::kTab}};
  ENamedKey named = ENamedKey::kNone;
  for (const auto& k : kNamed)
    if (k.mVirtualKey == vk) named = k.mKey;
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
