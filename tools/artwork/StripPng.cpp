// libpng in memory with setjmp error return; the settings below are part of the artwork's
// reproducibility.
#include "StripPng.h"

#include <png.h>

#include <cstdio>

namespace {
void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

// Kept outside the setjmp frame so nothing with a destructor lives across the jump.
bool Encode(PIX_IBitmap* bm, bool opaque, std::vector<uint8_t>* out,
            std::vector<std::vector<png_byte>>* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, nullptr);
  png_set_compression_level(png, 9);
  png_set_compression_mem_level(png, 9);
  png_set_IHDR(png, info, (png_uint_32)bm->getWidth(), (png_uint_32)bm->getHeight(), 8,
               opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (auto& r : *rows) png_write_row(png, r.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

std::vector<uint8_t> EncodePng(PIX_IBitmap* bm) {
  std::vector<uint8_t> out;
  const int w = bm->getWidth(), h = bm->getHeight();
  const PIX_Pixel* bits = bm->getBits();
  if (!bits || w <= 0 || h <= 0) return out;
  bool opaque = true;
  for (int y = 0; y < h && opaque; y++)
    for (int x = 0; x < w; x++)
      if (PIX_GetA(bits[(size_t)y * bm->getRowSpan() + x]) != 255) {
        opaque = false;
        break;
      }
  const int channels = opaque ? 3 : 4;
  std::vector<std::vector<png_byte>> rows((size_t)h, std::vector<png_byte>((size_t)w * channels));
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const PIX_Pixel p = bits[(size_t)y * bm->getRowSpan() + x];
      png_byte* d = &rows[(size_t)y][(size_t)x * channels];
      d[0] = (png_byte)PIX_GetR(p);
      d[1] = (png_byte)PIX_GetG(p);
      d[2] = (png_byte)PIX_GetB(p);
      if (!opaque) d[3] = (png_byte)PIX_GetA(p);
    }
  if (!Encode(bm, opaque, &out, &rows)) out.clear();
  return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
