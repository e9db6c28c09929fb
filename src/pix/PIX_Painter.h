// One colour at one weight and mode, ready to be put into runs of pixels: the shared inner loop of
// fills and primitives. Copy mode at the weights 256, 192, 128 and 64 uses the shift-and-mask
// mixes; everything else goes through the combine function of the mode's low byte.
#pragma once

#include "pix/PIX_Combine.h"
#include "pix/PIX_Mode.h"

class PIX_Painter {
 public:
  // alpha is the source alpha handed to the combine functions (fills pass the weight, primitives
  // the colour's own alpha). A painter that draws nothing reports !valid().
  PIX_Painter(PIX_Pixel colour, int w, int mode, int alpha)
      : m_colour(colour),
        m_w(w),
        m_r(PIX_GetR(colour)),
        m_g(PIX_GetG(colour)),
        m_b(PIX_GetB(colour)),
        m_a(alpha) {
    const int op = mode & PIX_BLIT_MODE_MASK;
    if (w == 0 || op > PIX_BLIT_MODE_HSVADJ) return;
    if (op == PIX_BLIT_MODE_COPY) {
      if (w < 0) return;
      switch (w) {
        case 256:
          m_kind = kStore;
          return;
        case 192:
          m_kind = kMix75;
          return;
        case 128:
          m_kind = kMix50;
          return;
        case 64:
          m_kind = kMix25;
          return;
        default:
          break;
      }
    }
    m_func = PIX_GetCombineFunc(op, w);
    m_kind = kCombine;
  }

  bool valid() const { return m_kind != kNone; }

  void pixel(PIX_Pixel* p) const {
    switch (m_kind) {
      case kStore:
        *p = m_colour;
        break;
      case kMix75:
        *p = PIX_Mix75(*p, m_colour);
        break;
      case kMix50:
        *p = PIX_Mix50(*p, m_colour);
        break;
      case kMix25:
        *p = PIX_Mix25(*p, m_colour);
        break;
      case kCombine:
        m_func(p, m_r, m_g, m_b, m_a, m_w);
        break;
      default:
        break;
    }
  }

  // count pixels starting at p, stride pixels apart.
  void run(PIX_Pixel* p, int count, long stride = 1) const {
    switch (m_kind) {
      case kStore:
        for (int i = 0; i < count; i++, p += stride) *p = m_colour;
        break;
      case kMix75:
        for (int i = 0; i < count; i++, p += stride) *p = PIX_Mix75(*p, m_colour);
        break;
      case kMix50:
        for (int i = 0; i < count; i++, p += stride) *p = PIX_Mix50(*p, m_colour);
        break;
      case kMix25:
        for (int i = 0; i < count; i++, p += stride) *p = PIX_Mix25(*p, m_colour);
        break;
      case kCombine:
        for (int i = 0; i < count; i++, p += stride) m_func(p, m_r, m_g, m_b, m_a, m_w);
        break;
      default:
        break;
    }
  }

 private:
  enum Kind { kNone, kStore, kMix75, kMix50, kMix25, kCombine };
  Kind m_kind = kNone;
  PIX_CombineFunc m_func = nullptr;
  PIX_Pixel m_colour;
  int m_w;
  int m_r, m_g, m_b, m_a;
};
