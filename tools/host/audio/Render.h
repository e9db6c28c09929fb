// Offline rendering of a whole stream through an instance: reads the main (and sidechain) source
// block by block, maps file channels onto the busses, sends the requested parameter changes with
// the first block, compensates the reported latency so output lines up with input, writes the sink
// and measures levels and speed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/audio/AudioStream.h"
#include "host/audio/Levels.h"
#include "host/vst3/BlockProcessor.h"

namespace qvhost {

struct RenderOptions {
  vst3abi::int32 blockSize = 512;
  vst3abi::int32 symbolicSampleSize = vst3abi::kSample32;
  vst3abi::int32 processMode = vst3abi::kRealtime;
  double tempo = 120;
  // (parameter id, normalized value) pairs delivered at offset 0 of the first block.
  std::vector<std::pair<vst3abi::ParamID, double>> parameterChanges;
  bool compensateLatency = true;
  // Called after each block with the fraction done (0..1), when the length is known.
  std::function<void(double)> progress;
};

struct RenderStats {
  LevelMeter input;
  LevelMeter output;
  uint64_t frames = 0;
  uint64_t inputFrames = 0;      // read from the main source
  uint64_t sidechainFrames = 0;  // read from the sidechain source, at most inputFrames
  double sampleRate = 0;
  double wallSeconds = 0;
  vst3abi::uint32 latency = 0;
  uint64_t nonFiniteSamples = 0;  // replaced by silence in the output

  double audioSeconds() const { return sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0; }
  double realtimeFactor() const { return wallSeconds > 0 ? audioSeconds() / wallSeconds : 0; }
};

// openSink is called once, after activation, with the plug-in's main output width and the rate.
// A source with more channels than its bus takes is refused before that: a mono source is copied
// to every channel of its bus, a narrower one leaves the other channels silent.
bool render(
    PluginInstance& plugin, AudioSource& main, AudioSource* sidechain,
    const std::function<std::unique_ptr<AudioSink>(int channels, double rate, std::string* error)>& openSink,
    const RenderOptions& options, RenderStats* stats, std::string* error);
// The same through any format's processor (not yet started); parameterChanges are in its terms.
bool render(
    EffectProcessor& proc, AudioSource& main, AudioSource* sidechain,
    const std::function<std::unique_ptr<AudioSink>(int channels, double rate, std::string* error)>& openSink,
    const RenderOptions& options, RenderStats* stats, std::string* error);

// False, with the message in error, when a sidechain runs at another rate than the main input.
// Callers may check before loading anything; render checks again.
bool sidechainRateMatches(const AudioSource& main, const AudioSource* sidechain, std::string* error);

// Copies src channels onto dst channels: equal widths one to one, mono spread to all, several
// channels averaged into mono, missing channels silent.
void mapChannels(const double* const* src, int srcChannels, double* const* dst, int dstChannels,
                 size_t frames);

}  // namespace qvhost
