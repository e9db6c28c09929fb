// StrBuf copies and formatting.
#include "base/StrBuf.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

const char* StrBuf::Get() const {
  const char* p = static_cast<const char*>(mBuf.Get());
  return p ? p : "";
}

int StrBuf::GetLength() const { return static_cast<int>(std::strlen(Get())); }

namespace {
int BoundedLength(const char* text, int maxLen) {
  size_t limit = maxLen < 0 ? static_cast<size_t>(INT_MAX - 1) : static_cast<size_t>(maxLen);
  return static_cast<int>(strnlen(text, limit));
}

// Text taken from our own storage must go through a copy: resizing may move it.
bool PointsInto(const HeapBuf& buf, const char* text) {
  const char* own = static_cast<const char*>(buf.Get());
  return own && text >= own && text < own + buf.GetSize();
}
}  // namespace

void StrBuf::Set(const char* text, int maxLen) {
  int n = text ? BoundedLength(text, maxLen) : 0;
  if (n == 0) {
    mBuf.Resize(0, false);
    return;
  }
  if (PointsInto(mBuf, text)) {
    StrBuf tmp(text, n);
    Set(tmp.Get(), n);
    return;
  }
  char* p = static_cast<char*>(mBuf.Resize(n + 1, false));
  if (!p) return;
  std::memcpy(p, text, static_cast<size_t>(n));
  p[n] = '\0';
}

void StrBuf::Append(const char* text, int maxLen) {
  int add = text ? BoundedLength(text, maxLen) : 0;
  if (add == 0) return;
  int old = GetLength();
  if (add > INT_MAX - 1 - old) return;
  if (PointsInto(mBuf, text)) {
    StrBuf tmp(text, add);
    Append(tmp.Get(), add);
    return;
  }
  char* p = static_cast<char*>(mBuf.Resize(old + add + 1, false));
  if (!p) return;
  std::memcpy(p + old, text, static_cast<size_t>(add));
  p[old + add] = '\0';
}

void StrBuf::SetFormatted(int maxLen, const char* format, ...) {
  if (maxLen < 0) maxLen = 0;
  // Formatted apart first: an argument may be this string's own text, which resizing would move.
  HeapBuf scratch;
  char* p = static_cast<char*>(scratch.Resize(maxLen + 1, false));
  if (!p) return;
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(p, static_cast<size_t>(maxLen) + 1, format, args);
  va_end(args);
  if (n < 0) n = 0;
  if (n > maxLen) n = maxLen;
  p[n] = '\0';
  Set(p, n);
}
