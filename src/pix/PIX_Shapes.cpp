// Rectangle outlines and rounded rectangles.
#include "pix/PIX_Shapes.h"

#include "pix/PIX_Circle.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"

namespace {
// Coordinates far outside any bitmap saturate instead of overflowing.
int Sat(long long v) { return v > 0x3FFFFFFF ? 0x3FFFFFFF : (v < -0x3FFFFFFF ? -0x3FFFFFFF : (int)v); }

void Line(PIX_IBitmap* bm, long long x1, long long y1, long long x2, long long y2, PIX_Pixel colour,
          float weight, int mode, bool aa) {
  PIX_Line(bm, Sat(x1), Sat(y1), Sat(x2), Sat(y2), colour, weight, mode, aa);
}
}  // namespace

void PIX_DrawRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_Pixel colour, float weight, int mode) {
  const long long l = x, t = y, r = (long long)x + w, b = (long long)y + h;
  Line(bm, l, t, r, t, colour, weight, mode, false);
  Line(bm, r, t, r, b, colour, weight, mode, false);
  Line(bm, r, b, l, b, colour, weight, mode, false);
  Line(bm, l, b, l, t, colour, weight, mode, false);
}

void PIX_BorderedRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_Pixel fillColour,
                      PIX_Pixel borderColour, float weight, int mode) {
  PIX_FillRect(bm, Sat((long long)x + 1), Sat((long long)y + 1), Sat((long long)w - 1), Sat((long long)h - 1),
               fillColour, weight, mode);
  PIX_DrawRect(bm, x, y, w, h, borderColour, weight, mode);
}

void PIX_RoundRect(PIX_IBitmap* bm, int x, int y, int w, int h, int cornerRadius, PIX_Pixel colour,
                   float weight, int mode, bool antialias) {
  int r = cornerRadius;
  if (r > w / 2) r = w / 2;
  if (r > h / 2) r = h / 2;
  if (r < 2) {
    PIX_DrawRect(bm, x, y, w, h, colour, weight, mode);
    return;
  }
  const long long l = x, t = y, rt = (long long)x + w, b = (long long)y + h;
  Line(bm, l + r, t, rt - r, t, colour, weight, mode, antialias);
  Line(bm, l + r - 1, b, rt - r, b, colour, weight, mode, antialias);
  Line(bm, rt, t + r, rt, b - r, colour, weight, mode, antialias);
  Line(bm, l, t + r - 1, l, b - r, colour, weight, mode, antialias);
  const float pi = 3.14159265358979f, fr = (float)r;
  PIX_Arc(bm, (float)(l + r), (float)(t + r), fr, -pi / 2, 0, colour, weight, mode, antialias);
  PIX_Arc(bm, (float)(rt - r), (float)(t + r), fr, 0, pi / 2, colour, weight, mode, antialias);
  PIX_Arc(bm, (float)(rt - r), (float)(b - r), fr, pi / 2, pi, colour, weight, mode, antialias);
  PIX_Arc(bm, (float)(l + r), (float)(b - r), fr, pi, 3 * pi / 2, colour, weight, mode, antialias);
}
