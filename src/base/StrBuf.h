// StrBuf: NUL-terminated string on a HeapBuf. Get() never returns null, so callers can hand the
// text straight to C string functions.
#pragma once

#include "base/HeapBuf.h"

class StrBuf {
 public:
  static constexpr int kGranularity = 128;

  StrBuf() : mBuf(kGranularity) {}
  explicit StrBuf(const char* text, int maxLen = -1) : mBuf(kGranularity) { Set(text, maxLen); }
  StrBuf(const StrBuf& other) : mBuf(kGranularity) { Set(other.Get()); }
  StrBuf& operator=(const StrBuf& other) {
    if (this != &other) Set(other.Get());
    return *this;
  }

  const char* Get() const;
  int GetLength() const;

  // Copies text up to its first NUL, and at most maxLen characters when maxLen is not negative.
  // Null text empties the string.
  void Set(const char* text, int maxLen = -1);
  void Append(const char* text, int maxLen = -1);
  void SetFormatted(int maxLen, const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 3, 4)))
#endif
      ;

 private:
  HeapBuf mBuf;
};
