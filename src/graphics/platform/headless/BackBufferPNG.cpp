// WriteBitmapPNG over the raster library's PNG writer (every system but Windows, where
// BackBufferPNGWic.cpp writes through the Windows Imaging Component).
#if !defined(_WIN32)
#include "graphics/platform/headless/BackBufferPNG.h"

#include "pix/PIX_PNGWrite.h"

bool WriteBitmapPNG(PIX_IBitmap* bitmap, const char* path) {
  return PIX_WriteFile(path, PIX_EncodePNG(bitmap, PIX_PNGAlpha::kKeep));
}
#endif
