// An opaque copy blit of an editor-sized image against memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "pix/PIX_Blit.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"

namespace {
const int kW = 664, kH = 662;

void BM_OpaqueCopyBlit(benchmark::State& state) {
  PIX_MemBitmap src(kW, kH);
  PIX_SysBitmap dst(kW, kH);
  PIX_Clear(&src, 0xFF336699);
  for (auto _ : state) {
    PIX_Blit(&dst, &src, 0, 0, nullptr, 1.0f, 0);
    benchmark::DoNotOptimize(dst.getBits());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)kW * kH * 4);
}
BENCHMARK(BM_OpaqueCopyBlit);

void BM_MemcpySameBytes(benchmark::State& state) {
  std::vector<PIX_Pixel> src((size_t)kW * kH, 0xFF336699), dst((size_t)kW * kH);
  for (auto _ : state) {
    memcpy(dst.data(), src.data(), src.size() * sizeof(PIX_Pixel));
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)kW * kH * 4);
}
BENCHMARK(BM_MemcpySameBytes);
}  // namespace
