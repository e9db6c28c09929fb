// The Quorvane editor at 1x and 2x, in memory with the bundle's images: the first full picture of
// a newly opened editor (images decoded as it draws, art drawn for 2x, nothing cached from an
// earlier editor), and the redraw of one knob moved between two positions already shown.
#include <benchmark/benchmark.h>

#include "framework/IPlugin.h"
#include "graphics/IGraphics.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "plugin/QuorvaneEditor.h"
#include "plugin/QuorvaneParams.h"

#include <memory>

namespace {

class BenchPlugin : public IPlugin {
 public:
  BenchPlugin()
      : IPlugin(QuorvaneParams::kNumParams, "2-2", 1, "Bench", "", "Maker", 0x00010100, 1, 1, 0, false, false,
                false, kAPIVST3) {
    for (int i = 0; i < QuorvaneParams::kNumParams; ++i) GetParam(i)->InitDouble("p", 0.0, 0.0, 1.0, 0.01);
  }
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void InformHostOfProgramChange() override {}
  double GetSamplePos() override { return 0.0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int*, int*) override {}
  void GetTime(ITimeInfo*) override {}
  void ResizeGraphics(int, int) override {}
  bool SendMidiMsg(IMidiMsg*) override { return false; }
};

struct Editor {
  BenchPlugin plug;
  std::unique_ptr<IGraphicsHeadless> gui;

  explicit Editor(double scale)
      : gui(std::make_unique<IGraphicsHeadless>(&plug, kQuorvaneEditorWidth, kQuorvaneEditorHeight)) {
    gui->SetResourceDir(QV_BUNDLE_RESOURCES);
    gui->SetDeferImages(true);
    AttachQuorvaneEditor(gui.get(), &plug);
    gui->SetScale(scale, false);
    gui->PrepDraw();
  }
  bool DrawAll() {
    IRECT all(0, 0, kQuorvaneEditorWidth, kQuorvaneEditorHeight);
    return gui->Draw(&all);
  }
};

void BM_FirstPicture(benchmark::State& state) {
  const double scale = state.range(0) / 100.0;
  for (auto _ : state) {
    state.PauseTiming();
    IGraphicsReleaseCaches();  // every decoded image goes: a cold start
    state.ResumeTiming();
    Editor e(scale);
    if (!e.DrawAll()) state.SkipWithError("nothing drawn");
    state.PauseTiming();
    e.gui.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstPicture)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KnobRedraw(benchmark::State& state) {
  Editor e(state.range(0) / 100.0);
  e.DrawAll();
  int turn = 0;
  for (auto _ : state) {
    e.gui->SetParameterFromPlug(QuorvaneParams::kMakeUpGain, (++turn & 1) ? 0.25 : 0.75, true);
    IRECT dirty;
    e.gui->IsDirty(&dirty);
    e.gui->Draw(&dirty);
  }
}
BENCHMARK(BM_KnobRedraw)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
