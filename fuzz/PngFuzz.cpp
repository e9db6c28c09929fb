// Fuzzes PNG decoding from memory, into a new bitmap and into a caller's bitmap: a decoded image
// has the size its header claims and every pixel can be read.
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"

#include <cstdint>
#include <cstdlib>

namespace {
void Touch(PIX_IBitmap* bm) {
  if (!bm->getBits() || bm->getWidth() <= 0 || bm->getHeight() <= 0) std::abort();
  volatile PIX_Pixel sum = 0;
  for (int y = 0; y < bm->getHeight(); y++)
    for (int x = 0; x < bm->getWidth(); x++) sum = sum + bm->getBits()[(long)y * bm->getRowSpan() + x];
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (PIX_IBitmap* bm = PIX_LoadPNGFromMemory(data, size)) {
    Touch(bm);
    delete bm;
  }
  PIX_MemBitmap given(3, 2, 16);
  if (PIX_LoadPNGFromMemory(data, size, &given) == &given) Touch(&given);
  return 0;
}
