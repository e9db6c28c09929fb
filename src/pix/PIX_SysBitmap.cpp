// System bitmap over a GDI memory context.
#include "pix/PIX_SysBitmap.h"

#include "gdi/GDI_MemContext.h"

PIX_SysBitmap::PIX_SysBitmap(int w, int h) { resize(w, h); }

PIX_SysBitmap::~PIX_SysBitmap() {
  if (m_dc) GDI_DeleteGfxContext(m_dc);
}

bool PIX_SysBitmap::resize(int w, int h) {
  if (w == m_width && h == m_height) return false;
  m_width = w;
  m_height = h;
  if (w && h && m_bits && m_allocw >= w && m_alloch >= h) return true;

  // Negative sizes get no storage at all; rounding is done in wide arithmetic so a huge width
  // cannot wrap.
  long long aw = w > 0 ? (((long long)w + 3) & ~3LL) : 0;
  m_allocw = aw > 0x7FFFFFFF ? 0 : (int)aw;
  m_alloch = h > 0 ? h : 0;
  if (m_dc) GDI_DeleteGfxContext(m_dc);
  m_dc = nullptr;
  m_bits = nullptr;
  if (m_allocw > 0 && m_alloch > 0) {
    m_dc = GDI_CreateMemContext(m_allocw, m_alloch);
    if (m_dc) m_bits = (PIX_Pixel*)GDI_GetCtxFrameBuffer(m_dc);
  }
  if (!m_bits) {
    if (m_dc) GDI_DeleteGfxContext(m_dc);
    m_dc = nullptr;
    m_width = m_height = 0;
    m_allocw = m_alloch = 0;
  }
  return true;
}
