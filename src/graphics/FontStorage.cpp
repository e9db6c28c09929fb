// FontStorage: style matching, insertion and release under the cache's own lock.
#include "graphics/FontStorage.h"

#include "graphics/ModuleSingleton.h"

#include "graphics/IText.h"
#include "pix/PIX_IFont.h"

#include <cstring>

FontStorage& FontStorage::Shared() { return ModuleSingleton<FontStorage>::Get(); }

void FontStorage::DestroyShared() { ModuleSingleton<FontStorage>::Destroy(); }

PIX_IFont* FontStorage::Find(const IText* text) {
  if (!text) return nullptr;
  RecursiveMutexLock lock(mMutex);
  for (const Entry& e : mEntries) {
    // Bytes after a name's terminator are not part of it.
    if (e.mSize == text->mSize && e.mOrientation == text->mOrientation && e.mStyle == text->mStyle &&
        std::strncmp(e.mFace, text->mFont, IText::kFontNameLen) == 0)
      return e.mFont;
  }
  return nullptr;
}

void FontStorage::Add(PIX_IFont* font, const IText* text) {
  if (!font || !text) return;
  Entry e{text->mSize, text->mOrientation, text->mStyle, {}, font};
  std::memcpy(e.mFace, text->mFont, IText::kFontNameLen);
  e.mFace[IText::kFontNameLen - 1] = '\0';
  RecursiveMutexLock lock(mMutex);
  mEntries.push_back(e);
}

void FontStorage::RemoveAll() {
  RecursiveMutexLock lock(mMutex);
  for (const Entry& e : mEntries) delete e.mFont;
  mEntries.clear();
}

int FontStorage::Count() {
  RecursiveMutexLock lock(mMutex);
  return static_cast<int>(mEntries.size());
}
