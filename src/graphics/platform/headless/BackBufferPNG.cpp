// WriteBitmapPNG through libpng's writer (every system but Windows); its long-jump error return
// lands in one place.
#if !defined(_WIN32)
#include "graphics/platform/headless/BackBufferPNG.h"

#include "pix/PIX_IBitmap.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {
// Separate from the caller so nothing with a destructor lives across setjmp.
bool Encode(FILE* file, const std::vector<png_bytep>& rows, int w, int h) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // Pixels are stored blue, green, red, alpha.
  png_set_bgr(png);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

bool WriteBitmapPNG(PIX_IBitmap* bitmap, const char* path) {
  if (!bitmap || !bitmap->getBits() || !path) return false;
  const int w = bitmap->getWidth(), h = bitmap->getHeight();
  if (w <= 0 || h <= 0) return false;
  std::vector<png_bytep> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    rows[static_cast<size_t>(y)] =
        reinterpret_cast<png_bytep>(bitmap->getBits() + static_cast<long>(y) * bitmap->getRowSpan());
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool ok = Encode(file, rows, w, h);
  return std::fclose(file) == 0 && ok;
}
#endif
