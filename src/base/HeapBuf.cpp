// HeapBuf allocation policy.
#include "base/HeapBuf.h"

#include <climits>
#include <cstdlib>
#include <cstring>

HeapBuf::HeapBuf(int granularity) { SetGranularity(granularity); }

HeapBuf::HeapBuf(const HeapBuf& other) : mGranularity(other.mGranularity) {
  if (other.mSize > 0 && Resize(other.mSize))
    std::memcpy(mData, other.mData, static_cast<size_t>(other.mSize));
}

HeapBuf::HeapBuf(HeapBuf&& other) noexcept
    : mData(other.mData), mAlloc(other.mAlloc), mSize(other.mSize), mGranularity(other.mGranularity) {
  other.mData = nullptr;
  other.mAlloc = other.mSize = 0;
}

HeapBuf& HeapBuf::operator=(const HeapBuf& other) {
  if (this != &other) {
    if (other.mSize > 0 && Resize(other.mSize, false))
      std::memcpy(mData, other.mData, static_cast<size_t>(other.mSize));
    else if (other.mSize == 0)
      mSize = 0;
  }
  return *this;
}

HeapBuf& HeapBuf::operator=(HeapBuf&& other) noexcept {
  if (this != &other) {
    std::free(mData);
    mData = other.mData;
    mAlloc = other.mAlloc;
    mSize = other.mSize;
    mGranularity = other.mGranularity;
    other.mData = nullptr;
    other.mAlloc = other.mSize = 0;
  }
  return *this;
}

HeapBuf::~HeapBuf() { std::free(mData); }

void HeapBuf::SetGranularity(int granularity) {
  mGranularity = granularity > 0 ? granularity : kDefaultGranularity;
}

void HeapBuf::Free() {
  std::free(mData);
  mData = nullptr;
  mAlloc = mSize = 0;
}

void* HeapBuf::Resize(int n, bool resizeDown) {
  if (n < 0) n = 0;

  long long want = -1;
  if (n > mAlloc) {
    // Headroom of at least half the request or one granule, rounded up to whole granules.
    long long headroom = n / 2 > mGranularity ? n / 2 : mGranularity;
    want = (static_cast<long long>(n) + headroom + mGranularity - 1) / mGranularity * mGranularity;
    if (want > INT_MAX) want = n;
  } else if (resizeDown && n < mAlloc / 2 && mAlloc - n > mGranularity) {
    want = (static_cast<long long>(n) + mGranularity - 1) / mGranularity * mGranularity;
  }

  if (want >= 0) {
    if (want == 0) {
      std::free(mData);
      mData = nullptr;
      mAlloc = 0;
    } else {
      void* p = std::realloc(mData, static_cast<size_t>(want));
      if (!p) {
        if (n > mAlloc) return nullptr;
      } else {
        mData = static_cast<char*>(p);
        mAlloc = static_cast<int>(want);
      }
    }
  }
  mSize = n;
  return Get();
}
