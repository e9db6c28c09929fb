// The abstract 32-bit bitmap every raster operation draws into or reads from.
#pragma once

#include "pix/PIX_Pixel.h"

class PIX_IBitmap {
 public:
  virtual ~PIX_IBitmap() {}

  // First pixel of the top row, or null without storage.
  virtual PIX_Pixel* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // Distance between rows in pixels, not bytes.
  virtual int getRowSpan() = 0;
  virtual bool isFlipped() { return false; }
  // True when the size changed; the contents are undefined afterwards.
  virtual bool resize(int w, int h) = 0;
  // Platform drawing context, or null for plain memory.
  virtual void* getDC() { return nullptr; }
  virtual int Extended(int id, void* data) {
    (void)id;
    (void)data;
    return 0;
  }
};
