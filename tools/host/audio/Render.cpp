// Offline rendering of a whole stream through an instance.
#include "host/audio/Render.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace qvhost {

namespace {

struct Planar {
  std::vector<std::vector<double>> data;
  std::vector<double*> ptrs;

  Planar(int channels, size_t frames)
      : data(static_cast<size_t>(std::max(channels, 0)), std::vector<double>(frames)) {
    for (auto& c : data) ptrs.push_back(c.data());
  }
  double* const* get() { return ptrs.empty() ? nullptr : ptrs.data(); }
  void zeroFrom(size_t from, size_t to) {
    for (auto& c : data)
      std::fill(c.begin() + static_cast<std::ptrdiff_t>(from), c.begin() + static_cast<std::ptrdiff_t>(to),
                0.0);
  }
};

}  // namespace

bool sidechainRateMatches(const AudioSource& main, const AudioSource* sidechain, std::string* error) {
  if (!sidechain || sidechain->sampleRate() == main.sampleRate()) return true;
  if (error) {
    *error = "sample rates differ: main input " + std::to_string(std::lround(main.sampleRate())) +
             " Hz, sidechain " + std::to_string(std::lround(sidechain->sampleRate())) + " Hz";
  }
  return false;
}

void mapChannels(const double* const* src, int srcChannels, double* const* dst, int dstChannels,
                 size_t frames) {
  for (int c = 0; c < dstChannels; ++c) {
    double* d = dst[c];
    if (srcChannels <= 0) {
      std::fill_n(d, frames, 0.0);
    } else if (dstChannels == 1 && srcChannels > 1) {
      for (size_t i = 0; i < frames; ++i) {
        double sum = 0;
        for (int s = 0; s < srcChannels; ++s) sum += src[s][i];
        d[i] = sum / srcChannels;
      }
    } else if (srcChannels == 1) {
      std::copy_n(src[0], frames, d);
    } else if (c < srcChannels) {
      std::copy_n(src[c], frames, d);
    } else {
      std::fill_n(d, frames, 0.0);
    }
  }
}

bool render(PluginInstance& plugin, AudioSource& main, AudioSource* sidechain,
            const std::function<std::unique_ptr<AudioSink>(int, double, std::string*)>& openSink,
            const RenderOptions& options, RenderStats* stats, std::string* error) {
  BlockProcessor proc(plugin);
  return render(proc, main, sidechain, openSink, options, stats, error);
}

bool render(EffectProcessor& proc, AudioSource& main, AudioSource* sidechain,
            const std::function<std::unique_ptr<AudioSink>(int, double, std::string*)>& openSink,
            const RenderOptions& options, RenderStats* stats, std::string* error) {
  RenderStats local;
  RenderStats& st = stats ? *stats : local;
  st = RenderStats{};
  if (!sidechainRateMatches(main, sidechain, error)) return false;

  ProcessConfig config;
  config.sampleRate = main.sampleRate();
  config.maxBlock = options.blockSize;
  config.symbolicSampleSize = options.symbolicSampleSize;
  config.processMode = options.processMode;
  config.sidechain = sidechain != nullptr;
  config.tempo = options.tempo;
  if (!proc.start(config, error)) return false;
  const auto tooWide = [&](const char* what, int have, int takes) {
    if (error) {
      *error = std::string("the ") + what + " has " + std::to_string(have) + " channels, but the plug-in's " +
               what + " bus takes " + std::to_string(takes) + "; mix it down first";
    }
    return false;
  };
  if (main.channelCount() > proc.mainInputChannels()) {
    return tooWide("main input", main.channelCount(), proc.mainInputChannels());
  }
  if (sidechain && sidechain->channelCount() > proc.sidechainChannels()) {
    return tooWide("sidechain", sidechain->channelCount(), proc.sidechainChannels());
  }
  std::unique_ptr<AudioSink> sink = openSink(proc.outputChannels(), main.sampleRate(), error);
  if (!sink) return false;

  for (const auto& change : options.parameterChanges) proc.queueParameter(change.first, change.second, 0);

  const auto block = static_cast<size_t>(options.blockSize);
  Planar srcMain(main.channelCount(), block), srcSide(sidechain ? sidechain->channelCount() : 0, block);
  Planar busMain(proc.mainInputChannels(), block), busSide(proc.sidechainChannels(), block);
  Planar out(proc.outputChannels(), block);

  st.sampleRate = main.sampleRate();
  st.latency = options.compensateLatency ? proc.latency() : 0;
  const int64_t total = main.totalFrames();
  uint64_t toSkip = st.latency;    // leading output frames that only hold the plug-in's delay
  uint64_t tailLeft = st.latency;  // silent frames to push the last input out
  uint64_t inputFrames = 0;
  bool inputDone = false;
  std::vector<const double*> from(out.ptrs.size());
  const auto t0 = std::chrono::steady_clock::now();

  while (!inputDone || tailLeft > 0) {
    size_t n = 0;
    if (!inputDone) {
      n = main.read(srcMain.get(), block);
      if (n == 0) inputDone = true;
    }
    if (inputDone) {
      if (tailLeft == 0) break;
      n = static_cast<size_t>(std::min<uint64_t>(block, tailLeft));
      tailLeft -= n;
      srcMain.zeroFrom(0, n);
    } else {
      st.input.add(srcMain.get(), main.channelCount(), n);
      inputFrames += n;
      st.inputFrames = inputFrames;
    }
    if (sidechain) {
      size_t got = inputDone ? 0 : sidechain->read(srcSide.get(), n);
      st.sidechainFrames += got;
      srcSide.zeroFrom(got, n);  // a shorter sidechain continues as silence
    }
    mapChannels(srcMain.get(), main.channelCount(), busMain.get(), proc.mainInputChannels(), n);
    if (sidechain)
      mapChannels(srcSide.get(), sidechain->channelCount(), busSide.get(), proc.sidechainChannels(), n);

    if (!proc.process(busMain.get(), sidechain ? busSide.get() : nullptr, out.get(), static_cast<int32_t>(n),
                      error)) {
      return false;
    }
    for (auto& c : out.data) {
      for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(c[i])) {
          c[i] = 0.0;
          ++st.nonFiniteSamples;
        }
      }
    }
    const size_t skip = static_cast<size_t>(std::min<uint64_t>(toSkip, n));
    toSkip -= skip;
    if (n > skip) {
      for (size_t c = 0; c < from.size(); ++c) from[c] = out.ptrs[c] + skip;
      if (!sink->write(from.data(), n - skip, error)) return false;
      st.output.add(from.data(), proc.outputChannels(), n - skip);
      st.frames += n - skip;
    }
    if (options.progress && total > 0) {
      options.progress(std::min(1.0, static_cast<double>(inputFrames) / static_cast<double>(total)));
    }
  }
  proc.stop();
  st.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return sink->finish(error);
}

}  // namespace qvhost
