// Text drawing cost: 100 short labels per iteration through the glyph cache, natively and
// measured only, as an editor redraw would issue them.
#include "gdi/GDI_Font.h"
#include "pix/PIX_CachedFont.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_SysBitmap.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Labels() {
  std::vector<std::string> v;
  const char* names[] = {"Threshold", "Ratio", "Attack", "Release", "Mix",
                         "Gain",      "HPF",   "Tilt",   "Boost",   "HF"};
  for (int i = 0; i < 100; ++i) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s %.1f dB", names[i % 10], -0.7 * i);
    v.push_back(buf);
  }
  return v;
}

void DrawLabels(benchmark::State& state, int fontFlags, unsigned drawFlags, PIX_Pixel colour) {
  PIX_SysBitmap back(664, 662);
  PIX_Clear(&back, 0xFF303030);
  PIX_CachedFont font;
  font.SetFromHFont(
      GDI_CreateFont(13, 0, 0, 0, GDI_FW_NORMAL, 0, 0, 0, 0, 0, 0, GDI_ANTIALIASED_QUALITY, 0, "DejaVu Sans"),
      fontFlags | PIX_FONT_FLAG_OWNS_HFONT);
  font.SetTextColor(colour);
  const std::vector<std::string> labels = Labels();
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      RECT r = {(i % 5) * 130, (i / 5) * 32, (i % 5) * 130 + 120, (i / 5) * 32 + 20};
      benchmark::DoNotOptimize(font.DrawText(&back, labels[size_t(i)].c_str(), -1, &r, drawFlags));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
}  // namespace

static void BM_Text100_GlyphCache(benchmark::State& state) {
  DrawLabels(state, 0, PIX_DT_CENTER | PIX_DT_NOCLIP, 0xFFE0E0E0);
}
BENCHMARK(BM_Text100_GlyphCache)->Unit(benchmark::kMicrosecond);

static void BM_Text100_GlyphCacheForegroundAlpha(benchmark::State& state) {
  DrawLabels(state, PIX_FONT_FLAG_PREFER_NATIVE, PIX_DT_CENTER | PIX_DT_NOCLIP | PIX_DT_USEFGALPHA,
             0x80E0E0E0);
}
BENCHMARK(BM_Text100_GlyphCacheForegroundAlpha)->Unit(benchmark::kMicrosecond);

static void BM_Text100_Native(benchmark::State& state) {
  DrawLabels(state, PIX_FONT_FLAG_PREFER_NATIVE, PIX_DT_CENTER | PIX_DT_NOCLIP, 0xFFE0E0E0);
}
BENCHMARK(BM_Text100_Native)->Unit(benchmark::kMicrosecond);

static void BM_Text100_MeasureOnly(benchmark::State& state) {
  DrawLabels(state, 0, PIX_DT_CALCRECT, 0xFFE0E0E0);
}
BENCHMARK(BM_Text100_MeasureOnly)->Unit(benchmark::kMicrosecond);

// Cold start: a new font, its handle and the first rendering of every glyph of the labels.
static void BM_FontFirstUse(benchmark::State& state) {
  PIX_SysBitmap back(664, 662);
  const std::vector<std::string> labels = Labels();
  for (auto _ : state) {
    PIX_CachedFont font;
    font.SetFromHFont(GDI_CreateFont(13, 0, 0, 0, GDI_FW_NORMAL, 0, 0, 0, 0, 0, 0, GDI_ANTIALIASED_QUALITY, 0,
                                     "DejaVu Sans"),
                      PIX_FONT_FLAG_OWNS_HFONT);
    for (int i = 0; i < 10; ++i) {
      RECT r = {0, 0, 200, 20};
      font.DrawText(&back, labels[size_t(i)].c_str(), -1, &r, 0);
    }
  }
}
BENCHMARK(BM_FontFirstUse)->Unit(benchmark::kMicrosecond);
