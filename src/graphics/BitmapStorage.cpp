// BitmapStorage: lookups, insertions and removals under the cache's own lock.
#include "graphics/BitmapStorage.h"

#include "graphics/ModuleSingleton.h"

#include "pix/PIX_IBitmap.h"

#include <algorithm>

BitmapStorage& BitmapStorage::Shared() { return ModuleSingleton<BitmapStorage>::Get(); }

void BitmapStorage::DestroyShared() { ModuleSingleton<BitmapStorage>::Destroy(); }

PIX_IBitmap* BitmapStorage::Find(int ID) {
  RecursiveMutexLock lock(mMutex);
  for (const Entry& e : mEntries)
    if (e.mID == ID) return e.mBitmap;
  return nullptr;
}

void BitmapStorage::Add(PIX_IBitmap* bitmap, int ID) {
  if (!bitmap) return;
  RecursiveMutexLock lock(mMutex);
  mEntries.push_back({ID, bitmap});
}

bool BitmapStorage::Remove(PIX_IBitmap* bitmap) {
  if (!bitmap) return false;
  RecursiveMutexLock lock(mMutex);
  auto holds = [bitmap](const Entry& e) { return e.mBitmap == bitmap; };
  auto it = std::find_if(mEntries.begin(), mEntries.end(), holds);
  if (it == mEntries.end()) return false;
  mEntries.erase(it);
  // A retained copy of a loaded image shares the image: the last entry deletes it.
  if (std::none_of(mEntries.begin(), mEntries.end(), holds)) delete bitmap;
  return true;
}

void BitmapStorage::RemoveAll() {
  RecursiveMutexLock lock(mMutex);
  std::vector<PIX_IBitmap*> images;
  images.reserve(mEntries.size());
  for (const Entry& e : mEntries) images.push_back(e.mBitmap);
  mEntries.clear();
  std::sort(images.begin(), images.end());
  images.erase(std::unique(images.begin(), images.end()), images.end());
  for (PIX_IBitmap* image : images) delete image;
}

int BitmapStorage::Count() {
  RecursiveMutexLock lock(mMutex);
  return static_cast<int>(mEntries.size());
}
