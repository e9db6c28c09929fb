// PNG decoding. libpng reports errors by long-jumping back into DecodePNG, so that function keeps
// everything it must release in plain (volatile) locals and holds no C++ objects.
#include "pix/PIX_PNG.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pix/PIX_MemBitmap.h"

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

// 8192 x 8192 worth: six times the largest editor strip (280 x 35870), a quarter of a gigabyte.
constexpr unsigned long long kMaxPixels = 1ull << 26;

PIX_IBitmap* DecodePNG(FILE* file, MemSource* mem, PIX_IBitmap* given) {
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
  if (file)
    png_init_io(png, file);
  else
    png_set_read_fn(png, mem, ReadFromMemory);
  // A few bytes of header must not commit gigabytes: a 45-byte file made libpng allocate 2 GB
  // for an ancillary chunk's claimed length. Every ancillary chunk but the transparency one is
  // skipped unread (nothing here uses them), chunks are held to 8 MB and images to kMaxPixels
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
  bool ok = width > 0 && height > 0 && (unsigned long long)width * height <= kMaxPixels &&
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

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap) {
  if (!path) return nullptr;
  FILE* f = fopen(path, "rb");
  if (!f) return nullptr;
  PIX_IBitmap* result = DecodePNG(f, nullptr, bitmap);
  fclose(f);
  return result;
}

bool PIX_ReadPNGSize(const char* path, int* width, int* height) {
  FILE* f = path ? fopen(path, "rb") : nullptr;
  if (!f) return false;
  // Signature, then the IHDR chunk: length, type, width and height (big-endian).
  unsigned char head[24];
  const bool read = fread(head, 1, sizeof head, f) == sizeof head;
  fclose(f);
  if (!read || png_sig_cmp(head, 0, 8) != 0 || memcmp(head + 12, "IHDR", 4) != 0) return false;
  const auto word = [&head](int at) {
    return (unsigned long)head[at] << 24 | (unsigned long)head[at + 1] << 16 |
           (unsigned long)head[at + 2] << 8 | (unsigned long)head[at + 3];
  };
  const unsigned long w = word(16), h = word(20);
  if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
  if (width) *width = (int)w;
  if (height) *height = (int)h;
  return true;
}

PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t length, PIX_IBitmap* bitmap) {
  if (!data || length < 8 || png_sig_cmp((png_const_bytep)data, 0, 8) != 0) return nullptr;
  MemSource src{(const unsigned char*)data, length};
  return DecodePNG(nullptr, &src, bitmap);
}

PIX_IBitmap* PIX_LoadPNGFromResource(void* module, int resourceId, PIX_IBitmap* bitmap) {
  (void)module;
  (void)resourceId;
  (void)bitmap;
  return nullptr;
}
