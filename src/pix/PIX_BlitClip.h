// Clipping of a source rectangle and destination point against both bitmaps, and the mirroring of
// negative destination sizes, shared by the blits.
#pragma once

#include <climits>

#include "pix/PIX_IBitmap.h"

struct PIX_BlitArea {
  int dstx, dsty;  // top-left in the destination
  int srcx, srcy;  // top-left in the source
  int w, h;        // size, both positive
};

// The source rectangle (l, t, r, b) is limited to the source (a negative left or top moves the
// destination point by the same amount), then the area is limited to the destination. False when
// nothing remains. Wide arithmetic so that extreme arguments cannot overflow.
bool PIX_ClipBlit(PIX_IBitmap* dest, PIX_IBitmap* src, long long dstx, long long dsty, long long l,
                  long long t, long long r, long long b, PIX_BlitArea& out);

// A negative destination size mirrors along its axis: the origin moves by the size, which turns
// positive. True when it did.
inline bool PIX_Unmirror(long long& origin, int& size) {
  if (size >= 0) return false;
  origin += size;
  size = size == INT_MIN ? INT_MAX : -size;
  return true;
}
