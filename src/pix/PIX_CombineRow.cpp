// One loop per combine function.
#include "pix/PIX_CombineRow.h"

#include <cstring>

#include "pix/PIX_Combine.h"
#include "pix/PIX_Mode.h"

namespace {
template <void (*F)(PIX_Pixel*, int, int, int, int, int)>
void Row(PIX_Pixel* d, const PIX_Pixel* s, int count, int w) {
  for (int i = 0; i < count; i++) {
    const PIX_Pixel p = s[i];
    F(d + i, PIX_GetR(p), PIX_GetG(p), PIX_GetB(p), PIX_GetA(p), w);
  }
}

void ClobberRow(PIX_Pixel* d, const PIX_Pixel* s, int count, int) {
  memcpy(d, s, (size_t)count * sizeof(PIX_Pixel));
}
}  // namespace

bool PIX_IsClobberRow(PIX_RowCombiner f) { return f == ClobberRow; }

PIX_RowCombiner PIX_GetRowCombiner(int mode, int w) {
  if (w == 0) return nullptr;
  switch (mode & PIX_BLIT_COMBINE_MASK) {
    case PIX_BLIT_MODE_COPY:
      if (w < 0) return nullptr;
      return w == 256 ? ClobberRow : Row<_PIX_CombinePixelsCopyNoClamp>;
    case PIX_BLIT_MODE_ADD: return Row<_PIX_CombinePixelsAdd>;
    case PIX_BLIT_MODE_DODGE: return Row<_PIX_CombinePixelsColorDodge>;
    case PIX_BLIT_MODE_MUL: return Row<_PIX_CombinePixelsMulNoClamp>;
    case PIX_BLIT_MODE_OVERLAY: return Row<_PIX_CombinePixelsOverlay>;
    case PIX_BLIT_MODE_HSVADJ: return Row<_PIX_CombinePixelsHSVAdjust>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY:
      return w == 256 ? Row<_PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp>
                      : Row<_PIX_CombinePixelsCopySourceAlphaNoClamp>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_ADD: return Row<_PIX_CombinePixelsAddSourceAlpha>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_DODGE:
      return Row<_PIX_CombinePixelsColorDodgeSourceAlpha>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_MUL:
      return Row<_PIX_CombinePixelsMulSourceAlphaNoClamp>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_OVERLAY:
      return Row<_PIX_CombinePixelsOverlaySourceAlpha>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_HSVADJ:
      return Row<_PIX_CombinePixelsHSVAdjustSourceAlpha>;
    default: return nullptr;
  }
}
