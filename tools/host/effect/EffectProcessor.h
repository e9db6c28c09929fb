// EffectProcessor: what rendering, benchmarking and real-time playback need from a loaded effect,
// whatever its plug-in format: start with a configuration, feed blocks of planar doubles, queue
// parameter changes, stop. BlockProcessor drives a VST 3 instance, ClapProcessor a CLAP one.
#pragma once

#include <cstdint>
#include <string>

namespace qvhost {

struct ProcessConfig;

class EffectProcessor {
 public:
  virtual ~EffectProcessor() = default;

  virtual bool start(const ProcessConfig& config, std::string* error) = 0;
  virtual void stop() = 0;
  virtual bool running() const = 0;
  // The configuration of the last start().
  virtual const ProcessConfig& config() const = 0;

  virtual int mainInputChannels() const = 0;
  virtual int sidechainChannels() const = 0;
  virtual int outputChannels() const = 0;
  virtual uint32_t latency() const = 0;
  // Time spent inside the plug-in's process calls since start(), in seconds.
  virtual double processSeconds() const = 0;

  // Delivered with the next process call, as host automation would be. The value is in the
  // format's own terms: normalized for VST 3, the plain value for CLAP.
  virtual void queueParameter(uint32_t id, double value, int32_t sampleOffset = 0) = 0;

  // in: mainInputChannels() channels or null for silence; sidechain: sidechainChannels() channels or
  // null; out: outputChannels() channels. frames must not exceed the configured maxBlock.
  virtual bool process(const double* const* in, const double* const* sidechain, double* const* out,
                       int32_t frames, std::string* error) = 0;
};

}  // namespace qvhost
