// WriteBitmapPNG over the raster library's PNG writer.
#include "graphics/platform/headless/BackBufferPNG.h"

#include "pix/PIX_PNGWrite.h"

bool WriteBitmapPNG(PIX_IBitmap* bitmap, const char* path) {
  return PIX_WriteFile(path, PIX_EncodePNG(bitmap, PIX_PNGAlpha::kKeep));
}
