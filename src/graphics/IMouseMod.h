// IMouseMod: buttons and modifier keys of a mouse event, as the window reports them.
#pragma once

struct IMouseMod {
  bool L = false, R = false, S = false, C = false, A = false;

  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false)
      : L(l), R(r), S(s), C(c), A(a) {}
};

enum EDirection {
  kVertical = 0,
  kHorizontal = 1,
};
