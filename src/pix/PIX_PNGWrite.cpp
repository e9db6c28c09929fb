// PNG encoding through libpng's writer into memory. libpng reports errors by long-jumping back into
// Encode, which therefore holds nothing with a destructor. Not on Windows, which has no libpng: there
// PNG files are written through the Windows Imaging Component.
#if !defined(_WIN32)
#include "pix/PIX_PNGWrite.h"

#include <png.h>

#include <cstdio>

namespace {

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

bool Encode(const PIX_PNGRaw& raw, PIX_PNGCompression compression, png_bytep* rows,
            std::vector<uint8_t>* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, nullptr);
  if (compression == PIX_PNGCompression::kSmallest) {
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 9);
  }
  png_set_IHDR(png, info, static_cast<png_uint_32>(raw.width), static_cast<png_uint_32>(raw.height),
               raw.bitDepth, raw.colorType, raw.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!raw.palette.empty())
    png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(raw.palette.data()),
                 static_cast<int>(raw.palette.size() / 3));
  if (!raw.paletteAlpha.empty())
    png_set_tRNS(png, info, raw.paletteAlpha.data(), static_cast<int>(raw.paletteAlpha.size()), nullptr);
  if (raw.transparentGrey >= 0) {
    png_color_16 grey{};
    grey.gray = static_cast<png_uint_16>(raw.transparentGrey);
    png_set_tRNS(png, info, nullptr, 0, &grey);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

int Channels(int colorType) {
  switch (colorType) {
    case PIX_PNGColor::kGrey:
    case PIX_PNGColor::kPalette:
      return 1;
    case PIX_PNGColor::kRGB:
      return 3;
    case PIX_PNGColor::kGreyAlpha:
      return 2;
    case PIX_PNGColor::kRGBA:
      return 4;
    default:
      return 0;
  }
}

// What libpng would otherwise answer with a long jump (or not check at all, as short rows).
bool WellFormed(const PIX_PNGRaw& raw) {
  const int channels = Channels(raw.colorType);
  const int d = raw.bitDepth;
  const bool depthOk = raw.colorType == PIX_PNGColor::kGrey
                           ? (d == 1 || d == 2 || d == 4 || d == 8 || d == 16)
                       : raw.colorType == PIX_PNGColor::kPalette ? (d == 1 || d == 2 || d == 4 || d == 8)
                                                                 : (d == 8 || d == 16);
  if (!channels || !depthOk || raw.width <= 0 || raw.height <= 0 || raw.width > (1 << 24) ||
      raw.height > (1 << 24) || raw.rows.size() != static_cast<size_t>(raw.height))
    return false;
  if (raw.palette.size() % 3 || raw.palette.size() > 3 * 256 ||
      raw.paletteAlpha.size() > raw.palette.size() / 3)
    return false;
  if (raw.colorType == PIX_PNGColor::kPalette && raw.palette.empty()) return false;
  const size_t rowBytes = (static_cast<size_t>(raw.width) * channels * d + 7) / 8;
  for (const std::vector<uint8_t>& row : raw.rows)
    if (row.size() < rowBytes) return false;
  return true;
}

}  // namespace

std::vector<uint8_t> PIX_EncodePNG(const PIX_PNGRaw& raw, PIX_PNGCompression compression) {
  std::vector<uint8_t> out;
  if (!WellFormed(raw)) return out;
  std::vector<png_bytep> rows;
  rows.reserve(raw.rows.size());
  for (const std::vector<uint8_t>& row : raw.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  if (!Encode(raw, compression, rows.data(), &out)) out.clear();
  return out;
}

std::vector<uint8_t> PIX_EncodePNG(const PIX_Pixel* bits, int width, int height, long span,
                                   PIX_PNGAlpha alpha, PIX_PNGCompression compression) {
  if (!bits || width <= 0 || height <= 0 || span < width) return {};
  bool withAlpha = alpha == PIX_PNGAlpha::kKeep;
  if (alpha == PIX_PNGAlpha::kDropWhenOpaque)
    for (int y = 0; y < height && !withAlpha; y++)
      for (int x = 0; x < width; x++)
        if (PIX_GetA(bits[y * span + x]) != 255) {
          withAlpha = true;
          break;
        }
  const int channels = withAlpha ? 4 : 3;
  PIX_PNGRaw raw;
  raw.width = width;
  raw.height = height;
  raw.colorType = withAlpha ? PIX_PNGColor::kRGBA : PIX_PNGColor::kRGB;
  raw.rows.assign(static_cast<size_t>(height), std::vector<uint8_t>(static_cast<size_t>(width) * channels));
  for (int y = 0; y < height; y++) {
    uint8_t* d = raw.rows[static_cast<size_t>(y)].data();
    for (int x = 0; x < width; x++, d += channels) {
      const PIX_Pixel p = bits[y * span + x];
      d[0] = static_cast<uint8_t>(PIX_GetR(p));
      d[1] = static_cast<uint8_t>(PIX_GetG(p));
      d[2] = static_cast<uint8_t>(PIX_GetB(p));
      if (withAlpha) d[3] = static_cast<uint8_t>(PIX_GetA(p));
    }
  }
  return PIX_EncodePNG(raw, compression);
}

std::vector<uint8_t> PIX_EncodePNG(PIX_IBitmap* bitmap, PIX_PNGAlpha alpha, PIX_PNGCompression compression) {
  if (!bitmap) return {};
  return PIX_EncodePNG(bitmap->getBits(), bitmap->getWidth(), bitmap->getHeight(), bitmap->getRowSpan(),
                       alpha, compression);
}

bool PIX_WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
  if (!path || bytes.empty()) return false;
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool PIX_WritePNGFile(PIX_IBitmap* bitmap, const char* path) {
  return PIX_WriteFile(path, PIX_EncodePNG(bitmap, PIX_PNGAlpha::kKeep));
}
#endif
