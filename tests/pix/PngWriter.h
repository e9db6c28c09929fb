// Test helper: encodes PNG files in memory with libpng's writer, in any colour type and depth.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

struct PngImage {
  int width = 1, height = 1;
  int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> trnsAlpha;  // palette images: alpha per entry
  bool greyTrns = false;            // grey images: one transparent grey value
  png_uint_16 greyTrnsValue = 0;
};

// rows: packed raw sample bytes per row exactly as PNG stores them (big-endian 16-bit samples).
inline std::vector<unsigned char> EncodePng(const PngImage& img,
                                            const std::vector<std::vector<png_byte>>& rows) {
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    out.clear();
    return out;
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* v = (std::vector<unsigned char>*)png_get_io_ptr(p);
        v->insert(v->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, img.width, img.height, img.bitDepth, img.colorType,
               img.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!img.palette.empty()) png_set_PLTE(png, info, img.palette.data(), (int)img.palette.size());
  if (!img.trnsAlpha.empty())
    png_set_tRNS(png, info, img.trnsAlpha.data(), (int)img.trnsAlpha.size(), nullptr);
  if (img.greyTrns) {
    png_color_16 c{};
    c.gray = img.greyTrnsValue;
    png_set_tRNS(png, info, nullptr, 0, &c);
  }
  png_write_info(png, info);
  std::vector<png_bytep> ptrs;
  for (auto& r : rows) ptrs.push_back((png_bytep)r.data());
  png_write_image(png, ptrs.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// 8-bit RGBA from pixel words 0xAARRGGBB, row span = width.
inline std::vector<unsigned char> EncodePixels(const uint32_t* px, int w, int h, long span) {
  PngImage img;
  img.width = w;
  img.height = h;
  std::vector<std::vector<png_byte>> rows((size_t)h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const uint32_t p = px[y * span + x];
      rows[y].push_back((png_byte)(p >> 16));
      rows[y].push_back((png_byte)(p >> 8));
      rows[y].push_back((png_byte)p);
      rows[y].push_back((png_byte)(p >> 24));
    }
  return EncodePng(img, rows);
}
