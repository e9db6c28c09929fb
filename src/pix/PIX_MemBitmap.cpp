// Plain memory bitmap: storage, alignment and growth policy.
#include "pix/PIX_MemBitmap.h"

#include <cstdint>
#include <cstdlib>

namespace {
// Larger requests are refused rather than attempted: a corrupt image header must not be able to
// ask for gigabytes.
const long long kMaxBytes = 1LL << 30;
}  // namespace

PIX_MemBitmap::PIX_MemBitmap(int w, int h, int lineAlign) {
  if (lineAlign >= 2) {
    // Rows align to at most 16 pixels; a mask must be all ones below its top bit.
    int lowest = lineAlign & -lineAlign;
    m_linealign = lowest - 1;
    if (m_linealign > 15) m_linealign = 15;
  }
  if (w > 0 && h > 0) resize(w, h);
}

PIX_MemBitmap::~PIX_MemBitmap() { free(m_fb); }

PIX_Pixel* PIX_MemBitmap::getBits() {
  if (!m_fb) return nullptr;
  uintptr_t p = ((uintptr_t)m_fb + 63) & ~(uintptr_t)63;
  return (PIX_Pixel*)p;
}

int PIX_MemBitmap::getRowSpan() {
  if (!m_linealign) return m_width;
  return (m_width + m_linealign) & ~m_linealign;
}

bool PIX_MemBitmap::resize(int w, int h) {
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;
  long long need = 0;
  if (w > 0 && h > 0) {
    long long span = m_linealign ? (((long long)w + m_linealign) & ~(long long)m_linealign) : w;
    need = span * h * 4;
  }
  if (need <= 0 || need > kMaxBytes) {
    free(m_fb);
    m_fb = nullptr;
    m_allocsize = 0;
    m_width = m_height = 0;
    return true;
  }
  if (m_fb && m_allocsize >= need) return true;
  if (m_fb) {
    // Contents are undefined after a resize, so there is nothing to carry over.
    free(m_fb);
    m_fb = malloc((size_t)(need + need / 4 + 63));
    if (m_fb) {
      m_allocsize = need + need / 4;
      return true;
    }
  }
  m_fb = malloc((size_t)(need + 63));
  if (m_fb) {
    m_allocsize = need;
  } else {
    m_allocsize = 0;
    m_width = m_height = 0;
  }
  return true;
}
