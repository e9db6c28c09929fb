// Window pictures as PNG files on Windows, through the raster library's PNG writer (the Windows
// Imaging Component there): no PNG library travels with the host. The pictures are opaque, so the
// file holds 8-bit RGBA as on Linux.
#include "host/editor/PngFile.h"

#include "pix/PIX_IBitmap.h"
#include "pix/PIX_PNGWrite.h"

namespace qvhost {

namespace {

// The picture's pixels lent to the writer, which only reads them.
class PixelsView final : public PIX_IBitmap {
 public:
  PixelsView(const std::vector<uint32_t>& pixels, int width, int height)
      : mPixels(const_cast<uint32_t*>(pixels.data())), mWidth(width), mHeight(height) {}
  PIX_Pixel* getBits() override { return mPixels; }
  int getWidth() override { return mWidth; }
  int getHeight() override { return mHeight; }
  int getRowSpan() override { return mWidth; }
  bool resize(int, int) override { return false; }

 private:
  PIX_Pixel* mPixels;
  int mWidth, mHeight;
};

}  // namespace

bool writePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string* error) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
    if (error) *error = "no picture to write";
    return false;
  }
  PixelsView view(pixels, width, height);
  if (PIX_WritePNGFile(&view, path.c_str())) return true;
  if (error) *error = "cannot write the PNG file '" + path + "'";
  return false;
}

bool readPng(const std::string&, std::vector<uint32_t>*, int*, int*, std::string* error) {
  // Only tests read pictures back, and they run on Linux.
  if (error) *error = "reading PNG files is not offered on Windows";
  return false;
}

}  // namespace qvhost
