// PNG files and memory blocks: the checks and file handling every system shares, in front of the
// system's decoder (PIX_PNGDecode.h).
#include "pix/PIX_PNG.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/Utf8Path.h"
#include "pix/PIX_PNGDecode.h"

namespace {
const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Compressed, the largest image the decoder accepts is far smaller than this.
constexpr long kMaxFileBytes = 256L << 20;

bool HasSignature(const void* data, size_t length) {
  return data && length >= sizeof kSignature && memcmp(data, kSignature, sizeof kSignature) == 0;
}
}  // namespace

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap) {
  FILE* f = OpenUtf8File(path, "rb");
  if (!f) return nullptr;
  std::vector<unsigned char> data;
  long size = -1;
  if (fseek(f, 0, SEEK_END) == 0) size = ftell(f);
  if (size > 0 && size <= kMaxFileBytes && fseek(f, 0, SEEK_SET) == 0) {
    data.resize((size_t)size);
    if (fread(data.data(), 1, data.size(), f) != data.size()) data.clear();
  }
  fclose(f);
  return PIX_LoadPNGFromMemory(data.data(), data.size(), bitmap);
}

bool PIX_ReadPNGSize(const char* path, int* width, int* height) {
  FILE* f = OpenUtf8File(path, "rb");
  if (!f) return false;
  // Signature, then the IHDR chunk: length, type, width and height (big-endian).
  unsigned char head[24];
  const bool read = fread(head, 1, sizeof head, f) == sizeof head;
  fclose(f);
  if (!read || !HasSignature(head, sizeof head) || memcmp(head + 12, "IHDR", 4) != 0) return false;
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
  if (!HasSignature(data, length)) return nullptr;
  return PIX_DecodePNG((const unsigned char*)data, length, bitmap);
}

PIX_IBitmap* PIX_LoadPNGFromResource(void* module, int resourceId, PIX_IBitmap* bitmap) {
  (void)module;
  (void)resourceId;
  (void)bitmap;
  return nullptr;
}
