// Window pictures as PNG files, through the raster library's PNG reader and writer (whose pixel
// word is the same 0xAARRGGBB, straight alpha).
#include "host/editor/PngFile.h"

#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"
#include "pix/PIX_PNGWrite.h"

#include <memory>

namespace qvhost {

bool writePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string* error) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    if (error) *error = "no picture to write";
    return false;
  }
  if (!PIX_WriteFile(path.c_str(), PIX_EncodePNG(pixels.data(), width, height, width, PIX_PNGAlpha::kKeep))) {
    if (error) *error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

bool readPng(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height,
             std::string* error) {
  std::unique_ptr<PIX_IBitmap> image(PIX_LoadPNG(path.c_str()));
  if (!image || !image->getBits()) {
    if (error) *error = "cannot read '" + path + "' as a PNG image";
    return false;
  }
  const int w = image->getWidth(), h = image->getHeight();
  pixels->resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      (*pixels)[static_cast<size_t>(y) * w + x] =
          image->getBits()[static_cast<long>(y) * image->getRowSpan() + x];
  *width = w;
  *height = h;
  return true;
}

}  // namespace qvhost
