// FontStorage: the process-wide cache of editor fonts, keyed by text style. Styles that differ
// only in quality share a font. The cache owns the fonts until the module unloads.
#pragma once

#include "base/RecursiveMutex.h"
#include "graphics/IText.h"

#include <vector>

class PIX_IFont;

class FontStorage {
 public:
  // The one cache of the module, made on first use; IGraphicsReleaseCaches destroys it at module
  // exit, while the GDI layer its fonts rely on is still intact.
  static FontStorage& Shared();
  static void DestroyShared();

  FontStorage() = default;
  FontStorage(const FontStorage&) = delete;
  FontStorage& operator=(const FontStorage&) = delete;
  ~FontStorage() { RemoveAll(); }

  // The font of the first entry with the style's size, orientation, style and font name; null
  // when none matches.
  PIX_IFont* Find(const IText* text);
  // Takes ownership; keyed by the style as given. A null font is not stored.
  void Add(PIX_IFont* font, const IText* text);
  void RemoveAll();
  int Count();
  RecursiveMutex& Mutex() { return mMutex; }

 private:
  struct Entry {
    int mSize, mOrientation, mStyle;
    char mFace[IText::kFontNameLen];
    PIX_IFont* mFont;
  };

  RecursiveMutex mMutex;
  std::vector<Entry> mEntries;
};
