// A bitmap whose pixels live in a GDI memory drawing context, so that text can be drawn into it
// natively and the window bridge can present it. Shrinking keeps the allocation.
#pragma once

#include "gdi/GDI_Types.h"
#include "pix/PIX_IBitmap.h"

class PIX_SysBitmap : public PIX_IBitmap {
 public:
  explicit PIX_SysBitmap(int w = 0, int h = 0);
  ~PIX_SysBitmap() override;

  PIX_SysBitmap(const PIX_SysBitmap&) = delete;
  PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

  PIX_Pixel* getBits() override { return m_bits; }
  int getWidth() override { return m_width; }
  int getHeight() override { return m_height; }
  int getRowSpan() override { return m_allocw; }
  bool resize(int w, int h) override;
  void* getDC() override { return m_dc; }

  int getAllocWidth() const { return m_allocw; }
  int getAllocHeight() const { return m_alloch; }

 private:
  int m_width = 0;
  int m_height = 0;
  HDC m_dc = nullptr;
  PIX_Pixel* m_bits = nullptr;
  int m_allocw = 0;
  int m_alloch = 0;
};
