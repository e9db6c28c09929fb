// ScaledFrameCache: film-strip frames at the editor's drawing scale, made as they are first shown
// and kept within a byte budget (least recently shown go first). One per editor, on the UI thread.
#pragma once

#include <cstddef>
#include <list>
#include <memory>

class PIX_MemBitmap;

class ScaledFrameCache {
 public:
  static constexpr size_t kDefaultBudget = 24u << 20;

  explicit ScaledFrameCache(size_t budgetBytes = kDefaultBudget) : mBudget(budgetBytes) {}
  ~ScaledFrameCache();
  ScaledFrameCache(const ScaledFrameCache&) = delete;
  ScaledFrameCache& operator=(const ScaledFrameCache&) = delete;

  // The frame stored under (source, frame, nFrames), or null; a hit counts as recently shown.
  PIX_MemBitmap* Find(const void* source, int frame, int nFrames);
  // Takes ownership and returns the stored frame; older frames are dropped to stay in budget, but
  // never the one just added.
  PIX_MemBitmap* Add(const void* source, int frame, int nFrames, std::unique_ptr<PIX_MemBitmap> image);
  void Clear();
  size_t Bytes() const { return mBytes; }
  size_t Count() const { return mEntries.size(); }

 private:
  struct Entry {
    const void* mSource;
    int mFrame, mNFrames;
    std::unique_ptr<PIX_MemBitmap> mImage;
    size_t mBytes;
  };

  size_t mBudget;
  size_t mBytes = 0;
  std::list<Entry> mEntries;  // most recently shown first
};
