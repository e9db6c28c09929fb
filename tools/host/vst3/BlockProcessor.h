// Drives an instance through the processing lifecycle and feeds it blocks: bus arrangements and
// activation (main busses, plus the first aux input when a sidechain is fed), sample size and
// setup, activation; then process calls carrying queued parameter changes, the controller's own
// edits, transport and silence flags; output parameter changes go back to the controller.
// stop() (or destruction) deactivates in reverse order. Must not outlive its PluginInstance.
#pragma once

#include <string>
#include <vector>

#include "host/effect/EffectProcessor.h"
#include "host/effect/ProcessConfig.h"
#include "host/vst3/EventList.h"
#include "host/vst3/ParameterChanges.h"
#include "host/vst3/PluginInstance.h"
#include "vst3/abi/AudioProcessor.h"

namespace qvhost {

class BlockProcessor final : public EffectProcessor {
 public:
  explicit BlockProcessor(PluginInstance& plugin) : mPlugin(plugin) {}
  ~BlockProcessor() override { stop(); }
  BlockProcessor(const BlockProcessor&) = delete;
  BlockProcessor& operator=(const BlockProcessor&) = delete;

  bool start(const ProcessConfig& config, std::string* error) override;
  void stop() override;
  bool running() const override { return mRunning; }

  int mainInputChannels() const override {
    return mMainIn < 0 ? 0 : mIn[static_cast<size_t>(mMainIn)].channels;
  }
  int sidechainChannels() const override {
    return mSideIn < 0 ? 0 : mIn[static_cast<size_t>(mSideIn)].channels;
  }
  int outputChannels() const override {
    return mMainOut < 0 ? 0 : mOut[static_cast<size_t>(mMainOut)].channels;
  }
  vst3abi::uint32 latency() const override { return mLatency; }
  vst3abi::uint32 tail() const { return mTail; }
  // Time spent inside the plug-in's process calls since start(), in seconds.
  double processSeconds() const override { return mProcessSeconds; }
  const ProcessConfig& config() const override { return mConfig; }

  // Delivered with the next process call, as host automation would be.
  void queueParameter(vst3abi::ParamID id, double normalized, vst3abi::int32 sampleOffset = 0) override;

  // in: mainInputChannels() channels or null for silence; sidechain: sidechainChannels() channels or
  // null; out: outputChannels() channels. frames must not exceed the configured maxBlock.
  bool process(const double* const* in, const double* const* sidechain, double* const* out,
               vst3abi::int32 frames, std::string* error) override;

 private:
  struct Bus {
    int channels = 0;
    std::vector<std::vector<float>> f32;
    std::vector<std::vector<double>> f64;
    std::vector<float*> ptr32;
    std::vector<double*> ptr64;
  };
  void allocate(Bus& bus, int channels);
  void fillInput(Bus& bus, vst3abi::AudioBusBuffers& abb, const double* const* src, vst3abi::int32 frames);

  PluginInstance& mPlugin;
  ProcessConfig mConfig;
  bool mRunning = false;
  std::vector<Bus> mIn, mOut;
  std::vector<vst3abi::AudioBusBuffers> mInBuffers, mOutBuffers;
  int mMainIn = -1, mSideIn = -1, mMainOut = -1;
  vst3abi::uint32 mLatency = 0, mTail = 0;
  ParameterChangeList mInChanges, mOutChanges;
  EventList mInEvents, mOutEvents;
  vst3abi::ProcessContext mContext{};
  vst3abi::int64 mPosition = 0;
  double mProcessSeconds = 0;
};

}  // namespace qvhost
