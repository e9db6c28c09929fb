// Hex dump of system-exclusive bytes.
#include "framework/ISysEx.h"

#include <cstdio>

char* SysExStr(char* out, int maxLen, const uint8_t* data, int size) {
  if (!out) return out;
  out[0] = '\0';
  if (!data || size <= 0 || maxLen <= 0) return out;
  int n = size < maxLen / 3 ? size : maxLen / 3;
  if (n <= 0) return out;
  static const char kHex[] = "0123456789ABCDEF";
  char* p = out;
  for (int i = 0; i < n; ++i) {
    *p++ = kHex[data[i] >> 4];
    *p++ = kHex[data[i] & 0x0F];
    *p++ = ' ';
  }
  p[-1] = '\0';
  return out;
}
