// DeferredBitmap: decoded once, under a lock, by whichever drawing asks first.
#include "graphics/DeferredBitmap.h"

#include "pix/PIX_PNG.h"

DeferredBitmap::DeferredBitmap(std::string path, int width, int height)
    : mPath(std::move(path)), mWidth(width), mHeight(height) {}

DeferredBitmap::~DeferredBitmap() = default;

PIX_IBitmap* DeferredBitmap::Image() {
  std::lock_guard<std::mutex> lock(mMutex);
  if (!mTried) {
    mTried = true;
    mImage.reset(PIX_LoadPNG(mPath.c_str()));
    // A file changed since its size was read must not be drawn from beyond its pixels.
    if (mImage && (!mImage->getBits() || mImage->getWidth() != mWidth || mImage->getHeight() != mHeight))
      mImage.reset();
  }
  return mImage.get();
}

PIX_Pixel* DeferredBitmap::getBits() {
  PIX_IBitmap* image = Image();
  return image ? image->getBits() : nullptr;
}

int DeferredBitmap::getRowSpan() {
  PIX_IBitmap* image = Image();
  return image ? image->getRowSpan() : mWidth;
}

bool DeferredBitmap::Decoded() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mImage != nullptr;
}
