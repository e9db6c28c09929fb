// A bitmap in plain heap memory: first pixel aligned to 64 bytes, rows optionally padded to a
// power-of-two pixel multiple, 25 % headroom when it grows.
#pragma once

#include "pix/PIX_IBitmap.h"

class PIX_MemBitmap : public PIX_IBitmap {
 public:
  explicit PIX_MemBitmap(int w = 0, int h = 0, int lineAlign = 0);
  ~PIX_MemBitmap() override;

  PIX_MemBitmap(const PIX_MemBitmap&) = delete;
  PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;

  PIX_Pixel* getBits() override;
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override;
  bool resize(int w, int h) override;

 private:
  void* m_fb = nullptr;
  int m_width = 0;
  int m_height = 0;
  long long m_allocsize = 0;
  int m_linealign = 0;
};
