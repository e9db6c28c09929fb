// TypedBuf: a HeapBuf seen as an array of one trivially copyable element type.
#pragma once

#include "base/HeapBuf.h"

#include <climits>
#include <type_traits>

template <class T>
class TypedBuf {
  static_assert(std::is_trivially_copyable<T>::value, "TypedBuf holds plain values only");

 public:
  explicit TypedBuf(int granularity = HeapBuf::kDefaultGranularity) : mBuf(granularity) {}

  T* Get() const { return static_cast<T*>(mBuf.Get()); }
  int GetSize() const { return mBuf.GetSize() / static_cast<int>(sizeof(T)); }
  int GetBytes() const { return mBuf.GetSize(); }

  // Size in elements; null for 0 or when the byte count cannot be held.
  T* Resize(int n, bool resizeDown = true) {
    if (n < 0) n = 0;
    if (n > INT_MAX / static_cast<int>(sizeof(T))) return nullptr;
    return static_cast<T*>(mBuf.Resize(n * static_cast<int>(sizeof(T)), resizeDown));
  }

  void Free() { mBuf.Free(); }

 private:
  HeapBuf mBuf;
};
