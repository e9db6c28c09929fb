// The editor engine's costs at the plug-in's size: a full redraw of a 664 x 662 editor with a
// background and 17 film-strip controls (reported against a memcpy of the back buffer), the
// redraw of one changed knob, and the audio thread's per-call cost of SetControlFromPlug.
#include <benchmark/benchmark.h>

#include "graphics/controls/IBitmapControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_SysBitmap.h"
#include "support/FakePlugin.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace {
constexpr int kWidth = 664, kHeight = 662;
constexpr int kFrame = 92, kFrames = 121, kKnobs = 17;

FakePlugin::Options BenchPlugOptions() {
  FakePlugin::Options o = FakePlugin::Bare("2-2", kKnobs + 1);
  o.logCalls = false;
  return o;
}

// The plug-in's editor in memory: an opaque background and 17 knobs whose frames are discs with
// a soft edge and transparent corners, so every source-alpha path of the blit is exercised.
struct Editor {
  PIX_MemBitmap background{kWidth, kHeight, 4};
  PIX_MemBitmap strip{kFrame, kFrame* kFrames, 4};
  FakePlugin plug{BenchPlugOptions()};
  IGraphicsHeadless* gui = new IGraphicsHeadless(&plug, kWidth, kHeight);
  int firstKnob = 0;

  Editor() {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        background.getBits()[y * background.getRowSpan() + x] = PIX_MAKEPIXEL(255, x & 255, y & 255, 40);
    for (int y = 0; y < strip.getHeight(); ++y)
      for (int x = 0; x < kFrame; ++x) {
        const int dx = x - kFrame / 2, dy = y % kFrame - kFrame / 2, d2 = dx * dx + dy * dy;
        const int a = d2 < 40 * 40 ? 255 : (d2 < 44 * 44 ? 128 : 0);
        strip.getBits()[y * strip.getRowSpan() + x] = PIX_MAKEPIXEL(a, x * 2, y & 255, 90);
      }
    const IBitmap bg(&background, kWidth, kHeight);
    gui->AttachControl(new IBitmapControl(&plug, 0, 0, -1, &bg, IChannelBlend::kBlendClobber));
    const IBitmap knob(&strip, kFrame, kFrame * kFrames, kFrames);
    firstKnob = gui->NControls();
    for (int i = 0; i < kKnobs; ++i) {
      auto* control = new IKnobMultiControl(&plug, 20 + (i % 6) * 105, 150 + (i / 6) * 150, -1, &knob);
      control->SetValueFromPlug(i / static_cast<double>(kKnobs));
      gui->AttachControl(control);
    }
    plug.AttachGraphics(gui);
  }

  void RedrawAll() {
    gui->SetAllControlsDirty();
    IRECT r;
    gui->IsDirty(&r);
    gui->Draw(&r);
  }
};

double MedianSeconds(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BM_MemcpyBackBuffer(benchmark::State& state) {
  PIX_SysBitmap src(kWidth, kHeight), dst(kWidth, kHeight);
  const size_t bytes = static_cast<size_t>(src.getRowSpan()) * kHeight * sizeof(PIX_Pixel);
  std::memset(src.getBits(), 1, bytes);
  for (auto _ : state) {
    std::memcpy(dst.getBits(), src.getBits(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemcpyBackBuffer);

// Also reports the ratio to a memcpy of the back buffer timed alongside, as "x_memcpy".
void BM_FullRedraw(benchmark::State& state) {
  Editor ed;
  PIX_SysBitmap copy(kWidth, kHeight);
  const size_t bytes = static_cast<size_t>(copy.getRowSpan()) * kHeight * sizeof(PIX_Pixel);
  std::vector<double> redraws, copies;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    ed.RedrawAll();
    auto t1 = std::chrono::steady_clock::now();
    state.PauseTiming();
    std::memcpy(copy.getBits(), ed.gui->GetBits(), bytes);
    benchmark::ClobberMemory();
    auto t2 = std::chrono::steady_clock::now();
    redraws.push_back(std::chrono::duration<double>(t1 - t0).count());
    copies.push_back(std::chrono::duration<double>(t2 - t1).count());
    state.ResumeTiming();
  }
  state.counters["x_memcpy"] = MedianSeconds(redraws) / MedianSeconds(copies);
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_RedrawOneKnob(benchmark::State& state) {
  Editor ed;
  ed.RedrawAll();
  ed.RedrawAll();
  double v = 0.0;
  for (auto _ : state) {
    v = v > 0.9 ? 0.0 : v + 0.01;
    ed.gui->SetControlFromPlug(ed.firstKnob + 7, v);
    IRECT r;
    ed.gui->IsDirty(&r);
    ed.gui->Draw(&r);
  }
}
BENCHMARK(BM_RedrawOneKnob)->Unit(benchmark::kMicrosecond);

void BM_SetControlFromPlug(benchmark::State& state) {
  Editor ed;
  double v = 0.0;
  for (auto _ : state) {
    v = v > 0.9 ? 0.0 : v + 0.001;  // a new value every call, as a meter sends
    ed.gui->SetControlFromPlug(ed.firstKnob, v);
  }
}
BENCHMARK(BM_SetControlFromPlug);
}  // namespace
