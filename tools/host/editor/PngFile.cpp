// Window pictures as PNG files.
#include "host/editor/PngFile.h"

#include <png.h>

#include <cstring>

namespace qvhost {

// 0xAARRGGBB words lie in memory as blue, green, red, alpha on the little-endian machines we
// build for, which is libpng's BGRA layout.
bool writePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string* error) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    if (error) *error = "no picture to write";
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) {
    if (error) *error = "cannot write '" + path + "': " + image.message;
    return false;
  }
  return true;
}

bool readPng(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height,
             std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    if (error) *error = "cannot read '" + path + "': " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  pixels->assign(static_cast<size_t>(image.width) * image.height, 0);
  if (!png_image_finish_read(&image, nullptr, pixels->data(), 0, nullptr)) {
    if (error) *error = "cannot decode '" + path + "': " + image.message;
    png_image_free(&image);
    return false;
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return true;
}

}  // namespace qvhost
