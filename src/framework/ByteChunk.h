// ByteChunk: the growable byte buffer in which plug-in state and preset lists travel.
// Values are copied as they lie in memory (little-endian on every supported processor), with no
// padding or alignment. Readers thread a byte position through successive reads; any read that
// cannot be satisfied from the bytes actually held returns -1 and leaves its output untouched.
#pragma once

#include "base/TypedBuf.h"

#include <cstring>
#include <type_traits>

class StrBuf;

class ByteChunk {
 public:
  static constexpr int kGranularity = 4096;

  ByteChunk() : mBytes(kGranularity) {}

  // Appends return the new size, or 0 when the bytes could not be stored (the chunk is then
  // unchanged); callers treat a non-positive size as failure.
  int AppendBytes(const void* p, int n);
  template <class T>
  int AppendValue(const T* v) {
    static_assert(std::is_trivially_copyable<T>::value, "only plain values can be appended");
    return AppendBytes(v, static_cast<int>(sizeof(T)));
  }
  int AppendBool(bool b);
  // int32 length followed by the characters, no terminator.
  int AppendString(const char* s);
  int AppendChunk(const ByteChunk* c);

  // Reads return the position after the data read, or -1 (output untouched).
  int ReadBytes(void* p, int n, int pos) const;
  template <class T>
  int ReadValue(T* v, int pos) const {
    static_assert(std::is_trivially_copyable<T>::value, "only plain values can be read");
    return ReadBytes(v, static_cast<int>(sizeof(T)), pos);
  }
  int ReadBool(bool* b, int pos) const;
  // Reads an int32 length L and L characters; s is set only when all L characters are present.
  // Returns pos + 4 + L (which may lie beyond the size when the characters are missing), or -1
  // when the length cannot be read or is negative.
  int ReadString(StrBuf* s, int pos) const;
  // The same for callers without a StrBuf: on success *text points at the characters inside the
  // chunk (not terminated) and *len holds their count up to the first NUL.
  int ReadStringView(const char** text, int* len, int pos) const;

  void Clear() { mBytes.Resize(0, false); }
  int Size() const { return mBytes.GetSize(); }
  // New bytes are zero-filled; returns the new size (the old size when memory runs out).
  int Resize(int n);
  // Null while empty.
  unsigned char* Data() { return mBytes.Get(); }
  const unsigned char* Data() const { return mBytes.Get(); }

  bool IsEqual(const ByteChunk& other) const {
    int n = Size();
    return n == other.Size() && (n == 0 || std::memcmp(Data(), other.Data(), n) == 0);
  }

 private:
  // Grows by n bytes and returns where they start, or null (nothing changed).
  unsigned char* Grow(long long n);

  TypedBuf<unsigned char> mBytes;
};
