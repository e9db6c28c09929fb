// IGraphics: loading images into the process-wide cache and deriving scaled and cropped copies.
#include "graphics/IGraphics.h"

#include "base/Trace.h"
#include "graphics/BitmapStorage.h"
#include "graphics/DeferredBitmap.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"

#include <string>

IBitmap IGraphics::LoadIBitmap(int ID, const char* name, int nStates, bool framesAreHoriz) {
  BitmapStorage& cache = BitmapStorage::Shared();
  PIX_IBitmap* image = cache.Find(ID);
  int w = 0, h = 0;
  const std::string file = image ? std::string() : OSBitmapFile(ID, name);
  if (!image && !file.empty() && PIX_ReadPNGSize(file.c_str(), &w, &h)) {
    // Decoded when first drawn.
    image = new DeferredBitmap(file, w, h);
    cache.Add(image, ID);
  }
  if (!image) {
    image = OSLoadBitmap(ID, name);
    // A failed load is not cached, so a later load (say, once the resource is installed) retries.
    if (!image || !image->getBits()) {
      QV_TRACE("image %d \"%s\" could not be loaded", ID, name ? name : "");
      delete image;
      return IBitmap(nullptr, 0, 0, nStates, framesAreHoriz);
    }
    cache.Add(image, ID);
  }
  return IBitmap(image, image->getWidth(), image->getHeight(), nStates, framesAreHoriz);
}

void IGraphics::RetainBitmap(IBitmap* bitmap) {
  if (bitmap && bitmap->mData) BitmapStorage::Shared().Add(bitmap->mData, BitmapStorage::kNoID);
}

void IGraphics::ReleaseBitmap(IBitmap* bitmap) {
  if (bitmap && bitmap->mData) BitmapStorage::Shared().Remove(bitmap->mData);
}

IBitmap IGraphics::ScaleBitmap(IBitmap* bitmap, int destW, int destH) {
  if (!bitmap || !bitmap->mData || destW <= 0 || destH <= 0) return IBitmap();
  auto* image = new PIX_MemBitmap(destW, destH);
  if (!image->getBits()) {
    delete image;
    return IBitmap();
  }
  PIX_ScaledBlit(image, bitmap->mData, 0, 0, destW, destH, 0.0f, 0.0f, static_cast<float>(bitmap->W),
                 static_cast<float>(bitmap->H), 1.0f, PIX_BLIT_FILTER_BILINEAR);
  BitmapStorage::Shared().Add(image, BitmapStorage::kNoID);
  return IBitmap(image, destW, destH, bitmap->N);
}

IBitmap IGraphics::CropBitmap(IBitmap* bitmap, IRECT* rect) {
  if (!bitmap || !bitmap->mData || !rect || rect->W() <= 0 || rect->H() <= 0) return IBitmap();
  const int w = rect->W(), h = rect->H();
  auto* image = new PIX_MemBitmap(w, h);
  if (!image->getBits()) {
    delete image;
    return IBitmap();
  }
  // Parts of the rectangle beyond the source stay transparent rather than uninitialised.
  PIX_Clear(image, 0);
  PIX_Blit(image, bitmap->mData, 0, 0, rect->L, rect->T, w, h, 1.0f, PIX_BLIT_MODE_COPY);
  BitmapStorage::Shared().Add(image, BitmapStorage::kNoID);
  return IBitmap(image, w, h, bitmap->N);
}
