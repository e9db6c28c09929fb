// A bilinear 2x upscale of an editor-sized image.
#include <benchmark/benchmark.h>

#include "pix/PIX_Blit.h"
#include "pix/PIX_MemBitmap.h"

namespace {
const int kW = 664, kH = 662;

void BM_BilinearUpscale2x(benchmark::State& state) {
  PIX_MemBitmap src(kW, kH), dst(kW * 2, kH * 2);
  for (int y = 0; y < kH; y++)
    for (int x = 0; x < kW; x++) src.getBits()[y * src.getRowSpan() + x] = PIX_MAKEPIXEL(255, x, y, x ^ y);
  for (auto _ : state) {
    PIX_ScaledBlit(&dst, &src, 0, 0, kW * 2, kH * 2, 0, 0, kW, kH, 1.0f, 0x100);
    benchmark::DoNotOptimize(dst.getBits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * (int64_t)kW * kH * 4);
}
BENCHMARK(BM_BilinearUpscale2x);
}  // namespace
