// UTF-8 conversions (see GDI_Utf8.h).
#include "gdi/GDI_Utf8.h"

int GDI_Utf8Decode(const char* s, int len, uint32_t* cp) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  *cp = GDI_REPLACEMENT_CHAR;
  if (len <= 0) return 0;
  const unsigned c0 = p[0];
  if (c0 < 0x80) {
    *cp = c0;
    return 1;
  }
  int need;
  uint32_t v;
  unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c0 >= 0xC2 && c0 <= 0xDF) {
    need = 1;
    v = c0 & 0x1F;
  } else if (c0 >= 0xE0 && c0 <= 0xEF) {
    need = 2;
    v = c0 & 0x0F;
    if (c0 == 0xE0)
      lo = 0xA0;  // overlong
    else if (c0 == 0xED)
      hi = 0x9F;  // surrogates
  } else if (c0 >= 0xF0 && c0 <= 0xF4) {
    need = 3;
    v = c0 & 0x07;
    if (c0 == 0xF0)
      lo = 0x90;  // overlong
    else if (c0 == 0xF4)
      hi = 0x8F;  // above U+10FFFF
  } else
    return 1;

  for (int i = 1; i <= need; ++i) {
    if (i >= len) return i;
    const unsigned c = p[i];
    const unsigned l = i == 1 ? lo : 0x80, h = i == 1 ? hi : 0xBF;
    if (c < l || c > h) return i;
    v = (v << 6) | (c & 0x3F);
  }
  *cp = v;
  return need + 1;
}

int GDI_Utf8Encode(uint32_t cp, char* out) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = GDI_REPLACEMENT_CHAR;
  unsigned char* o = reinterpret_cast<unsigned char*>(out);
  if (cp < 0x80) {
    o[0] = static_cast<unsigned char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    o[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
    o[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    o[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
    o[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    o[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 3;
  }
  o[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
  o[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
  o[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
  o[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  return 4;
}
