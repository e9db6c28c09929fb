// PNG decoding through libpng (every system but Windows). libpng reports errors by long-jumping
// back into DecodePNG, so that function keeps everything it must release in plain (volatile)
// locals and holds no C++ objects.
#if !defined(_WIN32)

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNGDecode.h"

namespace {
struct MemSource {
  const unsigned char* data;
  size_t left;
};

// Zero-fills first, so a short read never leaves garbage. Reading past the end is an error: a
// corrupt chunk length would otherwise have libpng read up to 2 GB of zeros.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  MemSource* src = (MemSource*)png_get_io_ptr(png);
  memset(out, 0, count);
  size_t n = count < src->left ? count : src->left;
  if (n) {
    memcpy(out, src->data, n);
    src->data += n;
    src->left -= n;
  }
  if (n < count) png_error(png, "read past the end of the data");
}

void RequestTransforms(png_structp png, png_infop info) {
  const int colorType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    alpha = true;
  }
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (alpha)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  // png_read_image turns this on by itself for interlaced images; asking first lets the row
  // layout be checked below without a warning.
  png_set_interlace_handling(png);
}

// Bytes A, R, G, B become the pixel word, stored B, G, R, A.
void ArgbBytesToPixels(PIX_IBitmap* bm) {
  PIX_Pixel* bits = bm->getBits();
  const int w = bm->getWidth(), h = bm->getHeight();
  const long span = bm->getRowSpan();
  for (int y = 0; y < h; y++) {
    PIX_Pixel* row = bits + y * span;
    for (int x = 0; x < w; x++) {
      const unsigned char* b = (const unsigned char*)(row + x);
      row[x] = PIX_MAKEPIXEL(b[0], b[1], b[2], b[3]);
    }
  }
}

PIX_IBitmap* DecodePNG(MemSource* mem, PIX_IBitmap* given) {
  png_structp png = png_create_read_struct("1.6.19", nullptr, nullptr, nullptr);
  if (!png) return nullptr;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  PIX_IBitmap* volatile created = nullptr;
  png_bytep* volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    free(rows);
    delete created;
    return nullptr;
  }
  png_set_read_fn(png, mem, ReadFromMemory);
  // A few bytes of header must not commit gigabytes: a 45-byte file made libpng allocate 2 GB
  // for an ancillary chunk's claimed length. Every ancillary chunk but the transparency one is
  // skipped unread (nothing here uses them), chunks are held to 8 MB and images to PIX_PNG_MAX_PIXELS
  // (film strips are tall, so no limit per side).
  static const png_byte kTransparency[] = "tRNS";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kTransparency, 1);
  png_set_chunk_malloc_max(png, 8 << 20);
  png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  RequestTransforms(png, info);
  png_read_update_info(png, info);

  // libpng writes rowbytes per row: anything but 4 bytes per pixel would overrun the bitmap.
  bool ok = width > 0 && height > 0 && (unsigned long long)width * height <= PIX_PNG_MAX_PIXELS &&
            png_get_rowbytes(png, info) == (png_size_t)width * 4;
  PIX_IBitmap* bm = given;
  if (ok) {
    if (bm) {
      bm->resize((int)width, (int)height);
    } else {
      bm = new PIX_MemBitmap((int)width, (int)height, 4);
      created = bm;
    }
    ok = bm->getBits() && bm->getWidth() == (int)width && bm->getHeight() == (int)height &&
         bm->getRowSpan() >= (int)width;
  }
  if (ok) {
    rows = (png_bytep*)malloc(sizeof(png_bytep) * height);
    ok = rows != nullptr;
  }
  if (!ok) {
    png_destroy_read_struct(&png, &info, nullptr);
    delete created;
    return nullptr;
  }
  PIX_Pixel* bits = bm->getBits();
  const long span = bm->getRowSpan();
  for (png_uint_32 y = 0; y < height; y++) rows[y] = (png_bytep)(bits + y * span);
  png_read_image(png, rows);
  // Reading through the end chunk rejects files cut short after their image data.
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  free(rows);
  ArgbBytesToPixels(bm);
  return bm;
}
}  // namespace

PIX_IBitmap* PIX_DecodePNG(const unsigned char* data, size_t length, PIX_IBitmap* bitmap) {
  MemSource src{data, length};
  return DecodePNG(&src, bitmap);
}

#endif
