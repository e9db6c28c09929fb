// One loop per combine function.
#include "pix/PIX_CombineRow.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// s + (d - s) * ia / 256 on eight 16-bit channels, the division truncating toward zero as in C.
inline __m128i BlendChannels(__m128i d, __m128i s, __m128i ia) {
  const __m128i diff = _mm_sub_epi16(d, s);
  const __m128i lo = _mm_mullo_epi16(diff, ia), hi = _mm_mulhi_epi16(diff, ia);
  const __m128i round = _mm_set1_epi32(255);
  __m128i p0 = _mm_unpacklo_epi16(lo, hi), p1 = _mm_unpackhi_epi16(lo, hi);
  p0 = _mm_srai_epi32(_mm_add_epi32(p0, _mm_and_si128(_mm_srai_epi32(p0, 31), round)), 8);
  p1 = _mm_srai_epi32(_mm_add_epi32(p1, _mm_and_si128(_mm_srai_epi32(p1, 31), round)), 8);
  return _mm_add_epi16(s, _mm_packs_epi32(p0, p1));
}

// Four pixels of _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp at once.
inline __m128i SourceAlphaCopy4(__m128i d, __m128i s, __m128i clear) {
  const __m128i zero = _mm_setzero_si128(), alpha = _mm_set1_epi32((int)0xFF000000u);
  const __m128i a = _mm_srli_epi32(s, 24);
  const __m128i aa = _mm_or_si128(a, _mm_slli_epi32(a, 16));  // each pixel's alpha in both halves
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i iaLo = _mm_sub_epi16(c255, _mm_unpacklo_epi32(aa, aa));
  const __m128i iaHi = _mm_sub_epi16(c255, _mm_unpackhi_epi32(aa, aa));
  const __m128i lo = BlendChannels(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), iaLo);
  const __m128i hi = BlendChannels(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), iaHi);
  const __m128i colour = _mm_andnot_si128(alpha, _mm_packus_epi16(lo, hi));
  const __m128i out = _mm_or_si128(colour, _mm_adds_epu8(_mm_and_si128(d, alpha), _mm_and_si128(s, alpha)));
  return _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, out));
}
#endif

// The editor's film strips are mostly runs of opaque or wholly transparent pixels: blocks of four
// holding only those are copied, skipped or merged without arithmetic.
void SourceAlphaCopyRow(PIX_Pixel* d, const PIX_Pixel* s, int count, int) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i alpha = _mm_set1_epi32((int)0xFF000000u);
  for (; i + 4 <= count; i += 4) {
    const __m128i p = _mm_loadu_si128((const __m128i*)(s + i));
    const __m128i a = _mm_and_si128(p, alpha);
    const __m128i opaque = _mm_cmpeq_epi32(a, alpha);
    const __m128i clear = _mm_cmpeq_epi32(a, _mm_setzero_si128());
    const int o = _mm_movemask_epi8(opaque), z = _mm_movemask_epi8(clear);
    if (o == 0xFFFF) {
      _mm_storeu_si128((__m128i*)(d + i), p);
    } else if (z != 0xFFFF) {
      const __m128i old = _mm_loadu_si128((const __m128i*)(d + i));
      const __m128i merged = (o | z) == 0xFFFF
                                 ? _mm_or_si128(_mm_and_si128(opaque, p), _mm_andnot_si128(opaque, old))
                                 : SourceAlphaCopy4(old, p, clear);
      _mm_storeu_si128((__m128i*)(d + i), merged);
    }
  }
#endif
  for (; i < count; i++) {
    const PIX_Pixel p = s[i];
    const int a = PIX_GetA(p);
    if (a == 255)
      d[i] = p;
    else if (a)
      _PIX_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp(d + i, PIX_GetR(p), PIX_GetG(p), PIX_GetB(p), a,
                                                              256);
  }
}
}  // namespace

bool PIX_IsClobberRow(PIX_RowCombiner f) { return f == ClobberRow; }

PIX_RowCombiner PIX_GetRowCombiner(int mode, int w) {
  if (w == 0) return nullptr;
  switch (mode & PIX_BLIT_COMBINE_MASK) {
    case PIX_BLIT_MODE_COPY:
      if (w < 0) return nullptr;
      return w == 256 ? ClobberRow : Row<_PIX_CombinePixelsCopyNoClamp>;
    case PIX_BLIT_MODE_ADD:
      return Row<_PIX_CombinePixelsAdd>;
    case PIX_BLIT_MODE_DODGE:
      return Row<_PIX_CombinePixelsColorDodge>;
    case PIX_BLIT_MODE_MUL:
      return Row<_PIX_CombinePixelsMulNoClamp>;
    case PIX_BLIT_MODE_OVERLAY:
      return Row<_PIX_CombinePixelsOverlay>;
    case PIX_BLIT_MODE_HSVADJ:
      return Row<_PIX_CombinePixelsHSVAdjust>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_COPY:
      return w == 256 ? SourceAlphaCopyRow : Row<_PIX_CombinePixelsCopySourceAlphaNoClamp>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_ADD:
      return Row<_PIX_CombinePixelsAddSourceAlpha>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_DODGE:
      return Row<_PIX_CombinePixelsColorDodgeSourceAlpha>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_MUL:
      return Row<_PIX_CombinePixelsMulSourceAlphaNoClamp>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_OVERLAY:
      return Row<_PIX_CombinePixelsOverlaySourceAlpha>;
    case PIX_BLIT_USE_SRC_ALPHA | PIX_BLIT_MODE_HSVADJ:
      return Row<_PIX_CombinePixelsHSVAdjustSourceAlpha>;
    default:
      return nullptr;
  }
}
