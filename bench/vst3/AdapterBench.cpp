// What the adapter costs per block on its own: a plug-in whose processing is the framework's plain
// copy, fed stereo main and sidechain busses, in both sample widths, with and without a parameter
// change in the block.
#include "vst3/IPluginVST3.h"
#include "vst3/abi/ResultCodes.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace vst3abi;

namespace {

class CopyPlug : public IPluginVST3 {
 public:
  CopyPlug()
      : IPluginVST3(IPluginInstanceInfo{}, 2, "2-2 4-2", 1, "Copy", "", "Tallowmarkworks", 0x10100,
                    0x43707931, 0x546D776B, 0, false, false, false, 2) {
    GetParam(1)->InitDouble("Gain", 0.5, 0.0, 1.0, 0.01, "%");
  }
};

// One queue holding one point, as a host sends for a knob that moved.
class OneChange : public IParameterChanges, public IParamValueQueue {
 public:
  tresult VST3ABI_CALL queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return 1; }
  uint32 VST3ABI_CALL release() override { return 1; }
  int32 VST3ABI_CALL getParameterCount() override { return 1; }
  IParamValueQueue* VST3ABI_CALL getParameterData(int32 i) override { return i == 0 ? this : nullptr; }
  IParamValueQueue* VST3ABI_CALL addParameterData(const ParamID*, int32*) override { return nullptr; }
  ParamID VST3ABI_CALL getParameterId() override { return 1; }
  int32 VST3ABI_CALL getPointCount() override { return 1; }
  tresult VST3ABI_CALL getPoint(int32, int32* offset, ParamValue* value) override {
    *offset = 0;
    *value = (mToggle = !mToggle) ? 0.25 : 0.75;
    return kResultOk;
  }
  tresult VST3ABI_CALL addPoint(int32, ParamValue, int32*) override { return kResultFalse; }

 private:
  bool mToggle = false;
};

template <class S>
void ProcessBlock(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  const bool withChange = state.range(1) != 0;
  auto* plug = new CopyPlug;
  plug->initialize(nullptr);
  plug->activateBus(kAudio, kInput, 1, 1);
  ProcessSetup setup{kRealtime, sizeof(S) == 4 ? kSample32 : kSample64, frames, 48000.0};
  plug->setupProcessing(&setup);
  plug->setActive(1);

  std::vector<std::vector<S>> buffers(6, std::vector<S>(frames, S(0.25)));
  S* main[2] = {buffers[0].data(), buffers[1].data()};
  S* side[2] = {buffers[2].data(), buffers[3].data()};
  S* out[2] = {buffers[4].data(), buffers[5].data()};
  AudioBusBuffers inputs[2]{};
  AudioBusBuffers output{};
  inputs[0].numChannels = inputs[1].numChannels = output.numChannels = 2;
  if constexpr (sizeof(S) == 4) {
    inputs[0].channelBuffers32 = main;
    inputs[1].channelBuffers32 = side;
    output.channelBuffers32 = out;
  } else {
    inputs[0].channelBuffers64 = main;
    inputs[1].channelBuffers64 = side;
    output.channelBuffers64 = out;
  }
  OneChange change;
  ProcessData data{};
  data.symbolicSampleSize = setup.symbolicSampleSize;
  data.numSamples = frames;
  data.numInputs = 2;
  data.numOutputs = 1;
  data.inputs = inputs;
  data.outputs = &output;
  data.inputParameterChanges = withChange ? &change : nullptr;

  for (auto _ : state) {
    plug->process(&data);
    benchmark::DoNotOptimize(buffers[4][0]);
  }
  state.SetItemsProcessed(state.iterations() * frames);
  plug->setActive(0);
  plug->terminate();
  plug->release();
}

}  // namespace

BENCHMARK_TEMPLATE(ProcessBlock, float)->ArgsProduct({{64, 512}, {0, 1}});
BENCHMARK_TEMPLATE(ProcessBlock, double)->ArgsProduct({{64, 512}, {0, 1}});
