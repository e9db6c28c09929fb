// A source-alpha blit of one 72 x 72 frame of a knob film strip into the editor's back buffer.
#include <benchmark/benchmark.h>

#include "pix/PIX_Blit.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"

namespace {
const int kFrame = 72, kFrames = 60;

void BM_SourceAlphaFrameBlit(benchmark::State& state) {
  PIX_MemBitmap strip(kFrame, kFrame * kFrames, 4);
  for (int y = 0; y < strip.getHeight(); y++)
    for (int x = 0; x < kFrame; x++) {
      const int dx = x - 36, dy = y % kFrame - 36, d2 = dx * dx + dy * dy;
      // Opaque knob body, soft edge, transparent corners: all three alpha paths are taken.
      const int a = d2 < 30 * 30 ? 255 : (d2 < 35 * 35 ? 128 : 0);
      strip.getBits()[y * strip.getRowSpan() + x] = PIX_MAKEPIXEL(a, x * 3, y & 255, 90);
    }
  PIX_SysBitmap back(664, 662);
  PIX_Clear(&back, 0xFF202020);
  const int frame = 30;
  for (auto _ : state) {
    PIX_Blit(&back, &strip, 300, 300, 0, frame * kFrame, kFrame, kFrame, 1.0f, 0x10000);
    benchmark::DoNotOptimize(back.getBits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrame * kFrame);
}
BENCHMARK(BM_SourceAlphaFrameBlit);
}  // namespace
