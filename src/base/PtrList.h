// PtrList: ordered list of pointers. Reading past either end gives null rather than failing, which
// lets callers probe indices from hosts without checking first.
#pragma once

#include "base/HeapBuf.h"

#include <cstring>

template <class T>
class PtrList {
 public:
  explicit PtrList(int granularity = 64 * sizeof(T*)) : mBuf(granularity) {}
  PtrList(const PtrList&) = delete;
  PtrList& operator=(const PtrList&) = delete;

  T* Get(int idx) const { return idx >= 0 && idx < GetSize() ? GetList()[idx] : nullptr; }
  int GetSize() const { return mBuf.GetSize() / static_cast<int>(sizeof(T*)); }
  T** GetList() const { return static_cast<T**>(mBuf.Get()); }

  // Returns the item, or null when it could not be stored.
  T* Add(T* item) {
    int n = GetSize();
    if (!mBuf.Resize((n + 1) * static_cast<int>(sizeof(T*)), false)) return nullptr;
    GetList()[n] = item;
    return item;
  }

  // The position is clamped into [0, size].
  T* Insert(int idx, T* item) {
    int n = GetSize();
    if (idx < 0) idx = 0;
    if (idx > n) idx = n;
    if (!mBuf.Resize((n + 1) * static_cast<int>(sizeof(T*)), false)) return nullptr;
    T** list = GetList();
    std::memmove(list + idx + 1, list + idx, static_cast<size_t>(n - idx) * sizeof(T*));
    list[idx] = item;
    return item;
  }

  int Find(const T* item) const {
    for (int i = 0; i < GetSize(); ++i)
      if (GetList()[i] == item) return i;
    return -1;
  }

  void Delete(int idx, bool deleteItem = false) {
    int n = GetSize();
    if (idx < 0 || idx >= n) return;
    T** list = GetList();
    T* item = list[idx];
    std::memmove(list + idx, list + idx + 1, static_cast<size_t>(n - idx - 1) * sizeof(T*));
    mBuf.Resize((n - 1) * static_cast<int>(sizeof(T*)), false);
    if (deleteItem) delete item;
  }

  // Items are deleted last to first.
  void Empty(bool deleteItems = false) {
    if (deleteItems)
      for (int i = GetSize() - 1; i >= 0; --i) delete GetList()[i];
    mBuf.Resize(0, false);
  }

 private:
  HeapBuf mBuf;
};
