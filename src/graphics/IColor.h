// IColor: an editor colour as A, R, G, B components (0..255), its raster pixel form, and the
// named colours the controls use.
#pragma once

#include "pix/PIX_Pixel.h"

struct IColor {
  int A = 255, R = 0, G = 0, B = 0;

  IColor() = default;
  IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }

  // Each component contributes its low 8 bits.
  PIX_Pixel ToPixel() const {
    return (static_cast<PIX_Pixel>(A & 0xFF) << 24) | (static_cast<PIX_Pixel>(R & 0xFF) << 16) |
           (static_cast<PIX_Pixel>(G & 0xFF) << 8) | static_cast<PIX_Pixel>(B & 0xFF);
  }
  static IColor FromPixel(PIX_Pixel p) {
    return IColor(static_cast<int>((p >> 24) & 0xFF), static_cast<int>((p >> 16) & 0xFF),
                  static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
  }
};

const IColor COLOR_TRANSPARENT(0, 0, 0, 0);
const IColor COLOR_BLACK(255, 0, 0, 0);
const IColor COLOR_GRAY(255, 127, 127, 127);
const IColor COLOR_WHITE(255, 255, 255, 255);
const IColor COLOR_RED(255, 255, 0, 0);
const IColor COLOR_GREEN(255, 0, 255, 0);
const IColor COLOR_BLUE(255, 0, 0, 255);
const IColor COLOR_YELLOW(255, 255, 255, 0);
const IColor COLOR_ORANGE(255, 255, 127, 0);

const IColor DEFAULT_TEXT_COLOR = COLOR_BLACK;
const IColor DEFAULT_TEXT_ENTRY_BGCOLOR = COLOR_WHITE;
const IColor DEFAULT_TEXT_ENTRY_FGCOLOR = COLOR_BLACK;
