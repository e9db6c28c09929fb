// The scale a Linux desktop asks applications to draw at, from its X resources.
#pragma once

// The Xft.dpi resource of an X resource string over 96 dpi (96 = 1, 192 = 2); 1 without one or
// for a value that is no positive number.
double XftDpiScale(const char* resources);
