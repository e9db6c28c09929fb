// Processing a CLAP instance.
#include "host/clap/ClapProcessor.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace qvhost {

bool ClapProcessor::start(const ProcessConfig& config, std::string* error) {
  stop();
  mConfig = config;
  m64 = config.symbolicSampleSize == vst3abi::kSample64;
  const clap_plugin_t* p = mPlugin.plugin();

  const auto inputs = mPlugin.ports(true);
  const auto outputs = mPlugin.ports(false);
  mIn.assign(inputs.size(), Port{});
  mOut.assign(outputs.size(), Port{});
  mMainIn = mSideIn = -1;
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (m64 && !(inputs[i].flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS)) {
      *error = "the plug-in's input \"" + std::string(inputs[i].name) + "\" takes no 64-bit samples";
      return false;
    }
    allocate(mIn[i], static_cast<int>(inputs[i].channel_count));
    if ((inputs[i].flags & CLAP_AUDIO_PORT_IS_MAIN) && mMainIn < 0) {
      mMainIn = static_cast<int>(i);
    } else if (mSideIn < 0) {
      mSideIn = static_cast<int>(i);
    }
  }
  if (!config.sidechain) mSideIn = -1;
  for (size_t i = 0; i < outputs.size(); ++i) allocate(mOut[i], static_cast<int>(outputs[i].channel_count));
  if (mOut.empty() || mOut[0].channels == 0) {
    *error = "the plug-in has no audio output";
    return false;
  }
  mInBuffers.assign(mIn.size(), clap_audio_buffer_t{});
  mOutBuffers.assign(mOut.size(), clap_audio_buffer_t{});
  for (size_t i = 0; i < mIn.size(); ++i) {
    mInBuffers[i].channel_count = static_cast<uint32_t>(mIn[i].channels);
    if (m64) {
      mInBuffers[i].data64 = mIn[i].ptr64.data();
    } else {
      mInBuffers[i].data32 = mIn[i].ptr32.data();
    }
  }
  for (size_t i = 0; i < mOut.size(); ++i) {
    mOutBuffers[i].channel_count = static_cast<uint32_t>(mOut[i].channels);
    if (m64) {
      mOutBuffers[i].data64 = mOut[i].ptr64.data();
    } else {
      mOutBuffers[i].data32 = mOut[i].ptr32.data();
    }
  }
  mEvents.reserve(256);
  mQueued.reserve(256);

  if (!p->activate(p, config.sampleRate, 1, static_cast<uint32_t>(config.maxBlock))) {
    *error = "the plug-in refused to activate";
    return false;
  }
  mPlugin.markActive(true);
  const clap_plugin_latency_t* lat = mPlugin.latencyExtension();
  mLatency = lat ? lat->get(p) : 0;
  if (!p->start_processing(p)) {
    *error = "the plug-in refused to start processing";
    p->deactivate(p);
    mPlugin.markActive(false);
    return false;
  }
  mPlugin.markProcessing(true);
  mPosition = 0;
  mProcessSeconds = 0;
  mRunning = true;
  return true;
}

void ClapProcessor::stop() {
  if (!mRunning) return;
  mRunning = false;
  const clap_plugin_t* p = mPlugin.plugin();
  p->stop_processing(p);
  mPlugin.markProcessing(false);
  p->deactivate(p);
  mPlugin.markActive(false);
}

void ClapProcessor::allocate(Port& port, int channels) {
  port.channels = std::max(channels, 0);
  const auto n = static_cast<size_t>(port.channels);
  const auto frames = static_cast<size_t>(mConfig.maxBlock);
  port.f32.assign(n, std::vector<float>(m64 ? 0 : frames));
  port.f64.assign(n, std::vector<double>(m64 ? frames : 0));
  port.ptr32.clear();
  port.ptr64.clear();
  for (size_t c = 0; c < n; ++c) {
    port.ptr32.push_back(port.f32[c].data());
    port.ptr64.push_back(port.f64[c].data());
  }
}

void ClapProcessor::fill(Port& port, const double* const* src, int32_t frames) {
  for (int c = 0; c < port.channels; ++c) {
    const auto n = static_cast<size_t>(frames);
    if (m64) {
      double* d = port.f64[static_cast<size_t>(c)].data();
      if (src)
        std::copy_n(src[c], n, d);
      else
        std::fill_n(d, n, 0.0);
    } else {
      float* d = port.f32[static_cast<size_t>(c)].data();
      for (size_t i = 0; i < n; ++i) d[i] = src ? static_cast<float>(src[c][i]) : 0.0f;
    }
  }
}

void ClapProcessor::queueParameter(uint32_t id, double value, int32_t sampleOffset) {
  clap_event_param_value_t e{};
  e.header = {sizeof e, static_cast<uint32_t>(std::max(sampleOffset, 0)), CLAP_CORE_EVENT_SPACE_ID,
              CLAP_EVENT_PARAM_VALUE, 0};
  e.param_id = id;
  e.note_id = -1;
  e.port_index = e.channel = e.key = -1;
  e.value = value;
  mQueued.push_back(e);
}

bool ClapProcessor::process(const double* const* in, const double* const* sidechain, double* const* out,
                            int32_t frames, std::string* error) {
  if (!mRunning || frames <= 0 || frames > mConfig.maxBlock) {
    *error = "process called with " + std::to_string(frames) + " frames";
    return false;
  }
  for (size_t i = 0; i < mIn.size(); ++i) {
    const int idx = static_cast<int>(i);
    fill(mIn[i], idx == mMainIn ? in : idx == mSideIn ? sidechain : nullptr, frames);
  }
  // Events in time order, those of this block only.
  std::stable_sort(mQueued.begin(), mQueued.end(),
                   [](const auto& a, const auto& b) { return a.header.time < b.header.time; });
  mEvents.clear();
  size_t keep = 0;
  for (auto& e : mQueued) {
    if (e.header.time < static_cast<uint32_t>(frames)) {
      mEvents.push_back(e);
    } else {
      e.header.time -= static_cast<uint32_t>(frames);
      mQueued[keep++] = e;
    }
  }
  mQueued.resize(keep);

  const double seconds = static_cast<double>(mPosition) / mConfig.sampleRate;
  const double beats = seconds * mConfig.tempo / 60.0;
  mTransport = clap_event_transport_t{};
  mTransport.header = {sizeof mTransport, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
  mTransport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE |
                     CLAP_TRANSPORT_HAS_SECONDS_TIMELINE | CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
                     CLAP_TRANSPORT_IS_PLAYING;
  mTransport.song_pos_beats = std::llround(beats * CLAP_BEATTIME_FACTOR);
  mTransport.song_pos_seconds = std::llround(seconds * CLAP_SECTIME_FACTOR);
  mTransport.tempo = mConfig.tempo;
  mTransport.bar_start = std::llround(std::floor(beats / 4.0) * 4.0 * CLAP_BEATTIME_FACTOR);
  mTransport.bar_number = static_cast<int32_t>(std::floor(beats / 4.0));
  mTransport.tsig_num = 4;
  mTransport.tsig_denom = 4;

  clap_input_events_t inEvents{
      this,
      [](const clap_input_events_t* l) {
        return static_cast<uint32_t>(static_cast<ClapProcessor*>(l->ctx)->mEvents.size());
      },
      [](const clap_input_events_t* l, uint32_t i) -> const clap_event_header_t* {
        auto& ev = static_cast<ClapProcessor*>(l->ctx)->mEvents;
        return i < ev.size() ? &ev[i].header : nullptr;
      }};
  clap_output_events_t outEvents{&mPlugin, [](const clap_output_events_t* l, const clap_event_header_t* e) {
                                   static_cast<ClapPlugin*>(l->ctx)->recordHeader(e);
                                   return true;
                                 }};
  clap_process_t data{};
  data.steady_time = mPosition;
  data.frames_count = static_cast<uint32_t>(frames);
  data.transport = &mTransport;
  data.audio_inputs = mInBuffers.data();
  data.audio_outputs = mOutBuffers.data();
  data.audio_inputs_count = static_cast<uint32_t>(mInBuffers.size());
  data.audio_outputs_count = static_cast<uint32_t>(mOutBuffers.size());
  data.in_events = &inEvents;
  data.out_events = &outEvents;

  mPlugin.setAudioThread(std::this_thread::get_id());
  const clap_plugin_t* p = mPlugin.plugin();
  const auto t0 = std::chrono::steady_clock::now();
  const clap_process_status status = p->process(p, &data);
  mProcessSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (status == CLAP_PROCESS_ERROR) {
    *error = "the plug-in reported a processing error";
    return false;
  }
  Port& main = mOut[0];
  for (int c = 0; c < main.channels; ++c) {
    const auto n = static_cast<size_t>(frames);
    if (m64) {
      std::copy_n(main.f64[static_cast<size_t>(c)].data(), n, out[c]);
    } else {
      const float* s = main.f32[static_cast<size_t>(c)].data();
      for (size_t i = 0; i < n; ++i) out[c][i] = s[i];
    }
  }
  mPosition += frames;
  return true;
}

}  // namespace qvhost
