// UTF-8 <-> UTF-16 conversion for the fixed-size text fields of the VST 3 structs.
#include "vst3/support/Utf16.h"

#include <cstdint>
#include <cstring>

namespace vstsupport {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point from UTF-8; advances src. Rejects overlong forms, surrogates and values
// above U+10FFFF.
char32_t DecodeUtf8(const unsigned char*& s) {
  const unsigned char c = *s++;
  if (c < 0x80) return c;
  int extra;
  char32_t cp;
  if ((c & 0xE0) == 0xC0) {
    extra = 1;
    cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    cp = c & 0x07;
  } else
    return kReplacement;
  for (int i = 0; i < extra; ++i) {
    if ((*s & 0xC0) != 0x80) return kReplacement;  // also stops at the terminator
    cp = (cp << 6) | (*s++ & 0x3F);
  }
  static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

}  // namespace

size_t Utf8ToUtf16(const char* src, char16_t* dst, size_t dstUnits) {
  if (!dst || dstUnits == 0) return 0;
  size_t n = 0;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(src ? src : "");
  while (*s) {
    const char32_t cp = DecodeUtf8(s);
    if (cp >= 0x10000) {
      if (n + 2 > dstUnits - 1) break;
      const char32_t v = cp - 0x10000;
      dst[n++] = static_cast<char16_t>(0xD800 + (v >> 10));
      dst[n++] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      if (n + 1 > dstUnits - 1) break;
      dst[n++] = static_cast<char16_t>(cp);
    }
  }
  dst[n] = 0;
  return n;
}

size_t Utf16ToUtf8(const char16_t* src, size_t maxSrcUnits, char* dst, size_t dstBytes) {
  if (!dst || dstBytes == 0) return 0;
  size_t n = 0;
  size_t i = 0;
  while (src && i < maxSrcUnits && src[i]) {
    char32_t cp = src[i++];
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i < maxSrcUnits && src[i] >= 0xDC00 && src[i] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (src[i++] - 0xDC00);
      } else {
        cp = kReplacement;
      }
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    unsigned char buf[4];
    size_t len;
    if (cp < 0x80) {
      buf[0] = static_cast<unsigned char>(cp);
      len = 1;
    } else if (cp < 0x800) {
      buf[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
      buf[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      len = 2;
    } else if (cp < 0x10000) {
      buf[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
      buf[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      buf[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      len = 3;
    } else {
      buf[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
      buf[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
      buf[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      buf[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      len = 4;
    }
    if (n + len > dstBytes - 1) break;
    std::memcpy(dst + n, buf, len);
    n += len;
  }
  dst[n] = 0;
  return n;
}

void CopyPadded(const char* src, char* dst, size_t dstBytes) {
  if (!dst || dstBytes == 0) return;
  std::memset(dst, 0, dstBytes);
  if (!src) return;
  const size_t len = strnlen(src, dstBytes - 1);
  std::memcpy(dst, src, len);
}

size_t Utf16Length(const char16_t* s, size_t maxUnits) {
  size_t n = 0;
  while (s && n < maxUnits && s[n]) ++n;
  return n;
}

}  // namespace vstsupport
