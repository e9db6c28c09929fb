// CopyCString: bounded copy of a C string into a fixed-size character field.
#pragma once

#include <cstddef>
#include <cstring>

// Copies src into dst of dstSize bytes, cutting it to dstSize - 1 characters rather than overrunning
// the field; dst always ends terminated. Null src copies as "". Does nothing without room for a NUL.
inline void CopyCString(char* dst, size_t dstSize, const char* src) {
  if (!dst || dstSize == 0) return;
  if (!src) src = "";
  size_t n = strnlen(src, dstSize - 1);
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}
