// PNG encoding: bitmaps as 8-bit RGB(A) files, and any raw PNG layout (for tests of the decoder).
// The bytes depend only on the input and the options (no time or text chunks), so the same pixels
// always give the same file. Any thread; nothing shared.
#pragma once

#include "pix/PIX_IBitmap.h"

#include <cstdint>
#include <vector>

enum class PIX_PNGAlpha {
  kKeep,            // RGBA, alpha as stored in the pixels
  kDropWhenOpaque,  // RGB when every pixel is opaque, else RGBA
  kDrop,            // RGB: the picture as shown on an opaque surface
};

enum class PIX_PNGCompression {
  kFast,      // zlib's default level: pictures written while a user or a test waits
  kSmallest,  // level 9 with zlib's largest window state: shipped images
};

// PNG's colour types.
namespace PIX_PNGColor {
constexpr int kGrey = 0, kRGB = 2, kPalette = 3, kGreyAlpha = 4, kRGBA = 6;
}

// An image exactly as PNG stores it.
struct PIX_PNGRaw {
  int width = 0, height = 0;
  int colorType = PIX_PNGColor::kRGBA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint8_t> palette;       // palette images: red, green, blue per entry
  std::vector<uint8_t> paletteAlpha;  // palette images: alpha per entry (tRNS), may be shorter
  int transparentGrey = -1;           // grey images: the one transparent level (tRNS), or -1
  // One row of packed samples each, as PNG stores them (16-bit samples big-endian).
  std::vector<std::vector<uint8_t>> rows;
};

// The file's bytes; empty when the image is malformed (sizes, rows, palette) or libpng fails.
std::vector<uint8_t> PIX_EncodePNG(const PIX_PNGRaw& raw,
                                   PIX_PNGCompression compression = PIX_PNGCompression::kFast);
// Straight-alpha pixels (span in pixels) as 8-bit RGB or RGBA; empty without pixels.
std::vector<uint8_t> PIX_EncodePNG(const PIX_Pixel* bits, int width, int height, long span,
                                   PIX_PNGAlpha alpha,
                                   PIX_PNGCompression compression = PIX_PNGCompression::kFast);
std::vector<uint8_t> PIX_EncodePNG(PIX_IBitmap* bitmap, PIX_PNGAlpha alpha,
                                   PIX_PNGCompression compression = PIX_PNGCompression::kFast);

// Writes bytes to path (UTF-8); false when they are empty or the file cannot be written whole.
bool PIX_WriteFile(const char* path, const std::vector<uint8_t>& bytes);

// The bitmap as an 8-bit RGBA file at path (UTF-8), rows top-down: on Windows through the Windows
// Imaging Component (the only form there), elsewhere through PIX_EncodePNG. False when the bitmap has
// no pixels or the file cannot be written.
bool PIX_WritePNGFile(PIX_IBitmap* bitmap, const char* path);
