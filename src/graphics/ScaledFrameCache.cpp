// ScaledFrameCache: a short list in recency order; an editor shows a few dozen frames at most.
#include "graphics/ScaledFrameCache.h"

#include "pix/PIX_MemBitmap.h"

ScaledFrameCache::~ScaledFrameCache() = default;

PIX_MemBitmap* ScaledFrameCache::Find(const void* source, int frame, int nFrames) {
  for (auto it = mEntries.begin(); it != mEntries.end(); ++it) {
    if (it->mSource != source || it->mFrame != frame || it->mNFrames != nFrames) continue;
    if (it != mEntries.begin()) mEntries.splice(mEntries.begin(), mEntries, it);
    return mEntries.front().mImage.get();
  }
  return nullptr;
}

PIX_MemBitmap* ScaledFrameCache::Add(const void* source, int frame, int nFrames,
                                     std::unique_ptr<PIX_MemBitmap> image) {
  if (!image) return nullptr;
  const size_t bytes = static_cast<size_t>(image->getRowSpan()) * static_cast<size_t>(image->getHeight()) * 4;
  mEntries.push_front(Entry{source, frame, nFrames, std::move(image), bytes});
  mBytes += bytes;
  while (mBytes > mBudget && mEntries.size() > 1) {
    mBytes -= mEntries.back().mBytes;
    mEntries.pop_back();
  }
  return mEntries.front().mImage.get();
}

void ScaledFrameCache::Clear() {
  mEntries.clear();
  mBytes = 0;
}
