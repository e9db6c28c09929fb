// DeferredBitmap: an image file known by its size until its pixels are first asked for, so a
// plug-in whose editor is never opened (or opened at another scale) never decodes its 1x strips.
// A file that turns out not to decode has no pixels and draws nothing.
#pragma once

#include "pix/PIX_IBitmap.h"

#include <memory>
#include <mutex>
#include <string>

class DeferredBitmap : public PIX_IBitmap {
 public:
  DeferredBitmap(std::string path, int width, int height);
  ~DeferredBitmap() override;

  PIX_Pixel* getBits() override;
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override;
  // The size is the file's; it cannot change.
  bool resize(int, int) override { return false; }

  bool Decoded() const;

 private:
  PIX_IBitmap* Image();

  const std::string mPath;
  const int mWidth, mHeight;
  mutable std::mutex mMutex;
  bool mTried = false;
  std::unique_ptr<PIX_IBitmap> mImage;
};
