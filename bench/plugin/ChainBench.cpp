// Throughput of the signal chain at 48 kHz stereo in 512-frame blocks (and 32 and 64), against the plain
// per-sample reference, at defaults and with everything on, on each vector form this CPU runs (the argument:
// 0 portable, then SSE2, AVX2, AVX-512 as available; the last is what the plug-in uses). Also loud
// program followed by 30 s of digital silence, which must run as fast as the program itself.
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
  s.hpfPos = 200.0;
  s.midGainDb = 3.0;
  s.hfDb = -4.0;
  s.compMix = 0.7;
}

std::unique_ptr<QuorvaneChain> MakeChain(benchmark::State& state) {
  const ChainKernels& k = ChainKernels::At(static_cast<int>(state.range(0)));
  state.SetLabel(k.name);
  return std::make_unique<QuorvaneChain>(k);
}

template <class Chain>
void Run(benchmark::State& state, std::unique_ptr<Chain> chain, bool allOn, int block = kBlock) {
  StereoSignal sig(kFrames, kRate);
  QuorvaneSettings s;
  QuorvaneSwitches sw;
  if (allOn) EverythingOn(s, sw);
  chain->Reset(s, kRate);
  std::vector<double> outL(block), outR(block);
  double* out[2] = {outL.data(), outR.data()};
  const double* const* in = sig.inputs();
  int pos = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    const double* blockIn[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
    chain->Process(blockIn, out, block, s, sw, kRate);
    benchmark::DoNotOptimize(outL.data());
    benchmark::ClobberMemory();
    pos = (pos + block) % (kFrames - kFrames % block);
    frames += block;
  }
  state.counters["x_realtime"] =
      benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
}

void BM_Chain_Defaults(benchmark::State& st) { Run(st, MakeChain(st), false); }
void BM_Chain_EverythingOn(benchmark::State& st) { Run(st, MakeChain(st), true); }
// The plug-in's own choice of passes at the block sizes low-latency users run, against 512.
void BM_Chain_DefaultsBlock(benchmark::State& st) {
  Run(st, std::make_unique<QuorvaneChain>(), false, static_cast<int>(st.range(0)));
}
void BM_Chain_EverythingOnBlock(benchmark::State& st) {
  Run(st, std::make_unique<QuorvaneChain>(), true, static_cast<int>(st.range(0)));
}
void BM_Reference_Defaults(benchmark::State& st) { Run(st, std::make_unique<ReferenceChain>(), false); }
void BM_Reference_EverythingOn(benchmark::State& st) { Run(st, std::make_unique<ReferenceChain>(), true); }

// Loud program (the test material 12 dB up, compressing hard), then 30 s of digital silence while the
// gain, the envelope and the meter decay; silence is timed when `silence`, else the program itself.
void LoudThenSilence(benchmark::State& state, bool silence) {
  const int programFrames = kBlock * 188;
  const int silentBlocks = static_cast<int>(30.0 * kRate) / kBlock;
  StereoSignal loud(programFrames, kRate);
  for (auto& ch : loud.ch)
    for (double& v : ch) v *= 4.0;
  StereoSignal quiet(kBlock, kRate);
  for (auto& ch : quiet.ch) std::fill(ch.begin(), ch.end(), 0.0);
  QuorvaneSettings s;
  s.thresholdPos = -15.0;
  s.ratio = 10.0;
  s.kneeFactor = 0.3;
  QuorvaneSwitches sw;
  auto chain = std::make_unique<QuorvaneChain>();
  chain->Reset(s, kRate);
  std::vector<double> outL(kBlock), outR(kBlock);
  double* out[2] = {outL.data(), outR.data()};
  int64_t frames = 0;
  for (auto _ : state) {
    if (silence) state.PauseTiming();
    for (int pos = 0; pos < programFrames; pos += kBlock) {
      const double* const* in = loud.inputs();
      const double* blockIn[4] = {in[0] + pos, in[1] + pos, in[2] + pos, in[3] + pos};
      chain->Process(blockIn, out, kBlock, s, sw, kRate);
    }
    if (!silence) {
      frames += programFrames;
      continue;
    }
    state.ResumeTiming();
    for (int b = 0; b < silentBlocks; ++b) chain->Process(quiet.inputs(), out, kBlock, s, sw, kRate);
    benchmark::DoNotOptimize(outL.data());
    frames += static_cast<int64_t>(silentBlocks) * kBlock;
  }
  state.counters["x_realtime"] =
      benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
}

void BM_Chain_LoudProgram(benchmark::State& st) { LoudThenSilence(st, false); }
void BM_Chain_SilenceAfterLoud(benchmark::State& st) { LoudThenSilence(st, true); }

void Kernels(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < ChainKernels::Count(); ++i) b->Arg(i);
}

}  // namespace

BENCHMARK(BM_Chain_Defaults)->Apply(Kernels);
BENCHMARK(BM_Reference_Defaults);
BENCHMARK(BM_Chain_EverythingOn)->Apply(Kernels);
BENCHMARK(BM_Reference_EverythingOn);
BENCHMARK(BM_Chain_DefaultsBlock)->Arg(32)->Arg(64)->Arg(512);
BENCHMARK(BM_Chain_EverythingOnBlock)->Arg(32)->Arg(64)->Arg(512);
BENCHMARK(BM_Chain_LoudProgram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chain_SilenceAfterLoud)->Unit(benchmark::kMillisecond);
