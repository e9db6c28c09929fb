// Rectangle fills, clears and single-pixel access.
#include "pix/PIX_Fill.h"

#include "pix/PIX_Painter.h"

namespace {
// Limits (x, y, w, h) to the bitmap; false when nothing remains.
bool ClipToBitmap(PIX_IBitmap* bm, int& x, int& y, int& w, int& h) {
  long long l = x, t = y, r = (long long)x + w, b = (long long)y + h;
  if (l < 0) l = 0;
  if (t < 0) t = 0;
  if (r > bm->getWidth()) r = bm->getWidth();
  if (b > bm->getHeight()) b = bm->getHeight();
  if (r <= l || b <= t) return false;
  x = (int)l;
  y = (int)t;
  w = (int)(r - l);
  h = (int)(b - t);
  return true;
}

void FillWithWeight(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float weight, int mode) {
  PIX_Pixel* bits = dest ? dest->getBits() : nullptr;
  if (!bits || !ClipToBitmap(dest, x, y, w, h)) return;
  const int iw = PIX_WeightToInt(weight);
  // Fills hand the weight to the combine functions as the source alpha as well.
  PIX_Painter painter(colour, iw, mode, iw);
  if (!painter.valid()) return;
  const long span = dest->getRowSpan();
  PIX_Pixel* row = bits + y * span + x;
  for (int j = 0; j < h; j++, row += span) painter.run(row, w);
}
}  // namespace

void PIX_FillRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float weight, int mode) {
  if (mode & PIX_BLIT_USE_SRC_ALPHA) weight = PIX_SaneWeight(weight) * (float)PIX_GetA(colour) / 255.0f;
  FillWithWeight(dest, x, y, w, h, colour, weight, mode);
}

void PIX_PutPixel(PIX_IBitmap* bm, int x, int y, PIX_Pixel colour, float weight, int mode) {
  FillWithWeight(bm, x, y, 1, 1, colour, weight, mode);
}

void PIX_Clear(PIX_IBitmap* dest, PIX_Pixel colour) {
  PIX_Pixel* bits = dest ? dest->getBits() : nullptr;
  if (!bits) return;
  const int w = dest->getWidth(), h = dest->getHeight();
  const long span = dest->getRowSpan();
  for (int j = 0; j < h; j++) {
    PIX_Pixel* row = bits + j * span;
    for (int i = 0; i < w; i++) row[i] = colour;
  }
}

void PIX_ClearRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel mask, PIX_Pixel orBits) {
  PIX_Pixel* bits = dest ? dest->getBits() : nullptr;
  if (!bits || !ClipToBitmap(dest, x, y, w, h)) return;
  const long span = dest->getRowSpan();
  for (int j = 0; j < h; j++) {
    PIX_Pixel* row = bits + (y + j) * span + x;
    for (int i = 0; i < w; i++) row[i] = (row[i] & mask) | orBits;
  }
}

PIX_Pixel PIX_GetPixel(PIX_IBitmap* bm, int x, int y) {
  PIX_Pixel* bits = bm ? bm->getBits() : nullptr;
  if (!bits || x < 0 || y < 0 || x >= bm->getWidth() || y >= bm->getHeight()) return 0;
  return bits[(long)y * bm->getRowSpan() + x];
}
