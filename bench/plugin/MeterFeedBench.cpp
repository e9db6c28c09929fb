// What the gain-reduction meter costs the audio thread: the plug-in's own processing entry (chain
// plus the feed into the editor engine's meter control) against the chain alone, and, for
// comparison, a feed that hands the control every sample's value. 48 kHz, 512-frame blocks, defaults.
#include "graphics/IGraphics.h"
#include "plugin/Quorvane.h"
#include "plugin/TestSignals.h"
#include "vst3/PluginModule.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kFrames = kBlock * 94;

struct PlugDeleter {
  void operator()(IPluginVST3* p) const { p->release(); }
};

struct Rig {
  std::unique_ptr<IPluginVST3, PlugDeleter> holder{MakePlug()};
  Quorvane* plug = dynamic_cast<Quorvane*>(holder.get());
  StereoSignal sig{kFrames, kRate};
  std::vector<double> outL = std::vector<double>(kBlock), outR = std::vector<double>(kBlock);
  int pos = 0;

  Rig() {
    plug->OnParamReset();
    plug->SetSampleRate(kRate);
    plug->Reset();
  }
  template <class F>
  void Loop(benchmark::State& state, F block) {
    int64_t frames = 0;
    for (auto _ : state) {
      const double* const* in = sig.inputs();
      double* blockIn[4] = {const_cast<double*>(in[0]) + pos, const_cast<double*>(in[1]) + pos,
                            const_cast<double*>(in[2]) + pos, const_cast<double*>(in[3]) + pos};
      double* out[2] = {outL.data(), outR.data()};
      block(blockIn, out);
      benchmark::ClobberMemory();
      pos = (pos + kBlock) % kFrames;
      frames += kBlock;
    }
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
  }
};

void BM_ChainAlone(benchmark::State& state) {
  Rig rig;
  QuorvaneChain chain;
  chain.Reset(rig.plug->Settings(), kRate);
  rig.Loop(state, [&](double** in, double** out) {
    chain.Process(in, out, kBlock, rig.plug->Settings(), QuorvaneSwitches{}, kRate);
  });
}

void BM_PluginWithMeterFeed(benchmark::State& state) {
  Rig rig;
  rig.Loop(state, [&](double** in, double** out) { rig.plug->ProcessDoubleReplacing(in, out, kBlock); });
}

struct PerSample {
  IGraphics* graphics;
  int idx;
};

void BM_ChainWithPerSampleMeterCalls(benchmark::State& state) {
  Rig rig;
  QuorvaneChain chain;
  chain.Reset(rig.plug->Settings(), kRate);
  PerSample feed{AttachedGraphics(rig.plug), rig.plug->MeterIdx()};
  rig.Loop(state, [&](double** in, double** out) {
    chain.Process(
        in, out, kBlock, rig.plug->Settings(), QuorvaneSwitches{}, kRate,
        [](void* ctx, const double* levels, int count) {
          auto* f = static_cast<PerSample*>(ctx);
          for (int i = 0; i < count; ++i) f->graphics->SetControlFromPlug(f->idx, levels[i]);
        },
        &feed);
  });
}

}  // namespace

BENCHMARK(BM_ChainAlone);
BENCHMARK(BM_PluginWithMeterFeed);
BENCHMARK(BM_ChainWithPerSampleMeterCalls);
