// ByteChunk storage and the bounded readers of the state format.
#include "framework/ByteChunk.h"

#include "base/StrBuf.h"

#include <climits>
#include <cstdint>

unsigned char* ByteChunk::Grow(long long n) {
  int size = Size();
  if (n < 0 || size + n > INT_MAX) return nullptr;
  unsigned char* p = mBytes.Resize(static_cast<int>(size + n), false);
  return p ? p + size : nullptr;
}

int ByteChunk::AppendBytes(const void* p, int n) {
  if (n <= 0) return Size();
  if (!p) return 0;
  unsigned char* dst = Grow(n);
  if (!dst) return 0;
  std::memcpy(dst, p, static_cast<size_t>(n));
  return Size();
}

int ByteChunk::AppendBool(bool b) {
  unsigned char byte = b ? 1 : 0;
  return AppendBytes(&byte, 1);
}

int ByteChunk::AppendString(const char* s) {
  size_t len = s ? std::strlen(s) : 0;
  if (len > static_cast<size_t>(INT32_MAX - 4)) return 0;
  int32_t n = static_cast<int32_t>(len);
  unsigned char* dst = Grow(4LL + n);
  if (!dst) return 0;
  std::memcpy(dst, &n, 4);
  if (n > 0) std::memcpy(dst + 4, s, static_cast<size_t>(n));
  return Size();
}

int ByteChunk::AppendChunk(const ByteChunk* c) {
  if (!c || c->Size() == 0) return Size();
  int n = c->Size();
  unsigned char* dst = Grow(n);
  if (!dst) return 0;
  // Read the source only after growing: appending a chunk to itself may move the storage.
  std::memcpy(dst, c->Data(), static_cast<size_t>(n));
  return Size();
}

int ByteChunk::ReadBytes(void* p, int n, int pos) const {
  int size = Size();
  if (pos < 0 || n < 0 || pos > size || n > size - pos) return -1;
  if (n > 0) std::memcpy(p, Data() + pos, static_cast<size_t>(n));
  return pos + n;
}

int ByteChunk::ReadBool(bool* b, int pos) const {
  unsigned char byte = 0;
  pos = ReadBytes(&byte, 1, pos);
  if (pos >= 0) *b = byte != 0;
  return pos;
}

int ByteChunk::ReadStringView(const char** text, int* len, int pos) const {
  int32_t n = 0;
  pos = ReadValue(&n, pos);
  // Writers never store a negative length; one means the stream is corrupt.
  if (pos < 0 || n < 0) return -1;
  long long end = static_cast<long long>(pos) + n;
  if (end > INT_MAX) return -1;
  if (end <= Size()) {
    const char* chars = n > 0 ? reinterpret_cast<const char*>(Data() + pos) : "";
    const void* nul = n > 0 ? std::memchr(chars, 0, static_cast<size_t>(n)) : nullptr;
    *text = chars;
    *len = nul ? static_cast<int>(static_cast<const char*>(nul) - chars) : n;
  }
  return static_cast<int>(end);
}

int ByteChunk::ReadString(StrBuf* s, int pos) const {
  const char* text = nullptr;
  int len = 0;
  int end = ReadStringView(&text, &len, pos);
  if (end >= 0 && end <= Size()) s->Set(text, len);
  return end;
}

int ByteChunk::Resize(int n) {
  int size = Size();
  if (n < 0) n = 0;
  if (n > size) {
    unsigned char* dst = Grow(n - size);
    if (!dst) return size;
    std::memset(dst, 0, static_cast<size_t>(n - size));
  } else
    mBytes.Resize(n, false);
  return Size();
}
