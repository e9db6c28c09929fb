// HeapBuf: growable byte buffer behind every container of the framework.
// Growth leaves headroom so that repeated appends stay cheap; the allocation shrinks only when the
// caller asks for it, because audio-thread users resize to the same sizes over and over.
#pragma once

class HeapBuf {
 public:
  static constexpr int kDefaultGranularity = 4096;

  explicit HeapBuf(int granularity = kDefaultGranularity);
  HeapBuf(const HeapBuf& other);
  HeapBuf(HeapBuf&& other) noexcept;
  HeapBuf& operator=(const HeapBuf& other);
  HeapBuf& operator=(HeapBuf&& other) noexcept;
  ~HeapBuf();

  void SetGranularity(int granularity);
  int GetGranularity() const { return mGranularity; }

  // Null while the used size is 0.
  void* Get() const { return mSize > 0 ? mData : nullptr; }
  int GetSize() const { return mSize; }
  int GetAllocated() const { return mAlloc; }

  // Sets the used size to n bytes (negative counts as 0) keeping the first bytes. Returns the data,
  // or null for size 0. When memory runs out nothing changes and null is returned.
  void* Resize(int n, bool resizeDown = true);

  // Releases the allocation.
  void Free();

 private:
  char* mData = nullptr;
  int mAlloc = 0;
  int mSize = 0;
  int mGranularity = kDefaultGranularity;
};
