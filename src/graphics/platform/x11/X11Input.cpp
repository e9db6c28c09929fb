// X key symbols and state bits to editor input.
#include "graphics/platform/x11/X11Input.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {
ENamedKey NamedKeyFor(KeySym sym) {
  switch (sym) {
    case XK_Up:
    case XK_KP_Up:
      return ENamedKey::kUp;
    case XK_Down:
    case XK_KP_Down:
      return ENamedKey::kDown;
    case XK_Left:
    case XK_KP_Left:
      return ENamedKey::kLeft;
    case XK_Right:
    case XK_KP_Right:
      return ENamedKey::kRight;
    case XK_Return:
    case XK_KP_Enter:
      return ENamedKey::kReturn;
    case XK_Escape:
      return ENamedKey::kEscape;
    case XK_BackSpace:
      return ENamedKey::kBackSpace;
    case XK_Delete:
    case XK_KP_Delete:
      return ENamedKey::kDelete;
    case XK_Home:
    case XK_KP_Home:
      return ENamedKey::kHome;
    case XK_End:
    case XK_KP_End:
      return ENamedKey::kEnd;
    case XK_Tab:
    case XK_ISO_Left_Tab:
      return ENamedKey::kTab;
    default:
      return ENamedKey::kNone;
  }
}
}  // namespace

EditorKey TranslateKey(const XKeyEvent& event) {
  XKeyEvent plain = event;
  plain.state &= ~static_cast<unsigned>(ControlMask | Mod1Mask);
  char buf[8] = {0};
  KeySym sym = NoSymbol;
  const int n = XLookupString(&plain, buf, sizeof(buf), &sym, nullptr);
  EditorKey key = EditorKey::Named(NamedKeyFor(sym));
  if (key.mNamed == ENamedKey::kNone && n == 1 && buf[0] >= 0x20 && buf[0] < 0x7F) key.mChar = buf[0];
  key.mControl = (event.state & ControlMask) != 0;
  return key;
}

ModifierKeys ModifiersFromState(unsigned state) {
  ModifierKeys keys;
  keys.mShift = (state & ShiftMask) != 0;
  keys.mControl = (state & ControlMask) != 0;
  keys.mAlt = (state & Mod1Mask) != 0;
  return keys;
}
