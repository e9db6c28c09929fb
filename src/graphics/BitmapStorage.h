// BitmapStorage: the process-wide cache of editor images. Every editor of every plug-in instance
// shares one decoded copy of each image; the cache owns them until the module unloads.
#pragma once

#include "base/RecursiveMutex.h"

#include <vector>

class PIX_IBitmap;

class BitmapStorage {
 public:
  // Images made at run time (scaled, cropped, retained) carry this ID.
  static constexpr int kNoID = -1;

  // The one cache of the module, made on first use; IGraphicsReleaseCaches destroys it at module
  // exit, with every image.
  static BitmapStorage& Shared();
  static void DestroyShared();

  BitmapStorage() = default;
  BitmapStorage(const BitmapStorage&) = delete;
  BitmapStorage& operator=(const BitmapStorage&) = delete;
  ~BitmapStorage() { RemoveAll(); }

  // The image of the first entry with that ID, or null.
  PIX_IBitmap* Find(int ID);
  // Takes ownership; a null image is not stored.
  void Add(PIX_IBitmap* bitmap, int ID);
  // Drops the first entry holding the image and deletes the image unless another entry still holds
  // it. False when no entry holds it (the image is then left alone).
  bool Remove(PIX_IBitmap* bitmap);
  // Deletes every image once, however many entries hold it.
  void RemoveAll();
  int Count();
  RecursiveMutex& Mutex() { return mMutex; }

 private:
  struct Entry {
    int mID;
    PIX_IBitmap* mBitmap;
  };

  RecursiveMutex mMutex;
  std::vector<Entry> mEntries;
};
