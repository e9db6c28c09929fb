// Throughput of the signal chain at 48 kHz stereo in 512-frame blocks, against the plain reference.
#include "plugin/ReferenceChain.h"
#include "plugin/TestSignals.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kFrames = kBlock * 94;  // about one second of material, cycled

void EverythingOn(QuorvaneSettings& s, QuorvaneSwitches& sw) {
  sw.xformer = 1;
  sw.turbo = 1;
  sw.externalSidechain = 1;
  s.transientMix = 0.5;
  s.boostGain = std::pow(10.0, 5.0 / 20.0);
}

template <class Chain>
void Run(benchmark::State& state, bool allOn) {
  StereoSignal sig(kFrames, kRate);
  QuorvaneSettings s;
  QuorvaneSwitches sw;
  if (allOn) EverythingOn(s, sw);
  auto chain = std::make_unique<Chain>();
  chain->Reset(s, kRate);
  std::vector<double> outL(kBlock), outR(kBlock);
  double* out[2] = {outL.data(), outR.data()};
  const double* const* in = sig.inputs();
  int pos = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    const double* blockIn[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
    chain->Process(blockIn, out, kBlock, s, sw, kRate);
    benchmark::DoNotOptimize(outL.data());
    benchmark::ClobberMemory();
    pos = (pos + kBlock) % kFrames;
    frames += kBlock;
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["x_realtime"] =
      benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
}

void BM_Chain_Defaults(benchmark::State& st) { Run<QuorvaneChain>(st, false); }
void BM_Chain_EverythingOn(benchmark::State& st) { Run<QuorvaneChain>(st, true); }
void BM_Reference_Defaults(benchmark::State& st) { Run<ReferenceChain>(st, false); }
void BM_Reference_EverythingOn(benchmark::State& st) { Run<ReferenceChain>(st, true); }

}  // namespace

BENCHMARK(BM_Chain_Defaults);
BENCHMARK(BM_Reference_Defaults);
BENCHMARK(BM_Chain_EverythingOn);
BENCHMARK(BM_Reference_EverythingOn);
