// Drives a CLAP instance through activation and processing and feeds it blocks: ports read while
// deactivated, activate with the block size, start_processing; then process calls carrying the
// queued parameter values, a playing transport and the sidechain (silence when not fed); the
// plug-in's output events go back to its ClapPlugin. stop() (or destruction) runs it backwards.
#pragma once

#include <string>
#include <vector>

#include "clap/abi/Process.h"
#include "host/clap/ClapPlugin.h"
#include "host/effect/EffectProcessor.h"
#include "host/effect/ProcessConfig.h"

namespace qvhost {

class ClapProcessor final : public EffectProcessor {
 public:
  explicit ClapProcessor(ClapPlugin& plugin) : mPlugin(plugin) {}
  ~ClapProcessor() override { stop(); }
  ClapProcessor(const ClapProcessor&) = delete;
  ClapProcessor& operator=(const ClapProcessor&) = delete;

  // config.symbolicSampleSize kSample64 selects 64-bit buffers.
  bool start(const ProcessConfig& config, std::string* error) override;
  void stop() override;
  bool running() const override { return mRunning; }
  const ProcessConfig& config() const override { return mConfig; }

  int mainInputChannels() const override {
    return mMainIn < 0 ? 0 : mIn[static_cast<size_t>(mMainIn)].channels;
  }
  int sidechainChannels() const override {
    return mSideIn < 0 ? 0 : mIn[static_cast<size_t>(mSideIn)].channels;
  }
  int outputChannels() const override { return mOut.empty() ? 0 : mOut[0].channels; }
  uint32_t latency() const override { return mLatency; }
  double processSeconds() const override { return mProcessSeconds; }

  // value is the parameter's plain value.
  void queueParameter(uint32_t id, double value, int32_t sampleOffset = 0) override;
  bool process(const double* const* in, const double* const* sidechain, double* const* out, int32_t frames,
               std::string* error) override;

 private:
  struct Port {
    int channels = 0;
    std::vector<std::vector<float>> f32;
    std::vector<std::vector<double>> f64;
    std::vector<float*> ptr32;
    std::vector<double*> ptr64;
  };
  void allocate(Port& port, int channels);
  void fill(Port& port, const double* const* src, int32_t frames);

  ClapPlugin& mPlugin;
  ProcessConfig mConfig;
  bool mRunning = false;
  bool m64 = false;
  std::vector<Port> mIn, mOut;
  std::vector<clap_audio_buffer_t> mInBuffers, mOutBuffers;
  int mMainIn = -1, mSideIn = -1;
  uint32_t mLatency = 0;
  std::vector<clap_event_param_value_t> mQueued, mEvents;
  clap_event_transport_t mTransport{};
  int64_t mPosition = 0;
  double mProcessSeconds = 0;
};

}  // namespace qvhost
