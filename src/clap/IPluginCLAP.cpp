// The CLAP adapter: construction, the clap_plugin functions, audio ports, activation and the
// real-time process call, and the host-time queries.
#include "clap/IPluginCLAP.h"

#include "clap/ClapRunLoopBridge.h"
#include "clap/abi/ContextMenu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// Longest slice handed to the framework at once; longer host blocks are cut, so the scratch
// buffers stay small whatever maximum the host announces.
constexpr uint32_t kMaxSlice = 8192;
// Room for the editor's gestures between two process or flush calls.
constexpr int kQueueCapacity = 1024;

template <class Ext>
const Ext* HostExtension(const clap_host_t* host, const char* id) {
  return host && host->get_extension ? static_cast<const Ext*>(host->get_extension(host, id)) : nullptr;
}

}  // namespace

IPluginCLAP::IPluginCLAP(IPluginInstanceInfo instanceInfo, int nParams, const char* channelIOStr,
                         int nPresets, const char* effectName, const char* productName, const char* makerName,
                         int vendorVersion, int uniqueId, int makerId, int latency, bool plugDoesMidi,
                         bool plugDoesChunks, bool plugIsInst, int plugScChans)
    : IPlugin(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueId,
              makerId, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPICLAP),
      mClapHost(instanceInfo.host),
      mSidechainChannels(std::clamp(plugScChans, 0, std::min(2, GetInputChannelCount()))),
      mToHost(kQueueCapacity),
      mFeeder(GetInputChannelCount(), GetOutputChannelCount()) {
  SetUpEffectBuses("Main In", "Sidechain", mSidechainChannels != 0, "Main Out");

  mPendingValues.assign(nParams, std::numeric_limits<double>::quiet_NaN());

  mClap.plugin_data = this;
  mClap.init = [](const clap_plugin_t* p) { return FromClap(p)->Init(); };
  // The host owns the instance through this record: destroy deletes the whole plug-in.
  mClap.destroy = [](const clap_plugin_t* p) {
    IPluginCLAP* plug = FromClap(p);
    if (plug->mActive) plug->Deactivate();
    plug->GuiDestroy();
    delete plug;
  };
  mClap.activate = [](const clap_plugin_t* p, double rate, uint32_t minFrames, uint32_t maxFrames) {
    return FromClap(p)->Activate(rate, minFrames, maxFrames);
  };
  mClap.deactivate = [](const clap_plugin_t* p) { FromClap(p)->Deactivate(); };
  mClap.start_processing = [](const clap_plugin_t*) { return true; };
  mClap.stop_processing = [](const clap_plugin_t*) {};
  mClap.reset = [](const clap_plugin_t* p) {
    IPluginCLAP* plug = FromClap(p);
    try {
      RecursiveMutexLock lock(plug->mMutex);
      plug->Reset();
    } catch (...) {
    }
  };
  mClap.process = [](const clap_plugin_t* p, const clap_process_t* process) {
    return FromClap(p)->Process(process);
  };
  mClap.get_extension = [](const clap_plugin_t* p, const char* id) { return FromClap(p)->Extension(id); };
  mClap.on_main_thread = [](const clap_plugin_t* p) { FromClap(p)->OnMainThread(); };
}

IPluginCLAP::~IPluginCLAP() = default;

IPluginCLAP* IPluginCLAP::FromClap(const clap_plugin_t* plugin) {
  return static_cast<IPluginCLAP*>(plugin->plugin_data);
}

// ---- Lifecycle -----------------------------------------------------------------------------------

bool IPluginCLAP::Init() {
  try {
    if (mClapHost && mClapHost->name) SetHost(mClapHost->name, 0);
    mHostParams = HostExtension<clap_host_params_t>(mClapHost, CLAP_EXT_PARAMS);
    mHostGui = HostExtension<clap_host_gui_t>(mClapHost, CLAP_EXT_GUI);
    mHostTimer = HostExtension<clap_host_timer_support_t>(mClapHost, CLAP_EXT_TIMER_SUPPORT);
    mHostPosixFd = HostExtension<clap_host_posix_fd_support_t>(mClapHost, CLAP_EXT_POSIX_FD_SUPPORT);
    mHostContextMenu = HostExtension<void>(mClapHost, CLAP_EXT_CONTEXT_MENU);
    if (!mHostContextMenu) mHostContextMenu = HostExtension<void>(mClapHost, CLAP_EXT_CONTEXT_MENU_COMPAT);

    // Parameters never initialised stand for nothing and stay out of the host's list.
    for (int i = 0; i < GetParamCount(); ++i)
      if (GetParam(i) && GetParam(i)->GetType() != IParam::kParamNone)
        mParamIds.push_back(static_cast<clap_id>(i));
    if (!IsInstrument()) mParamIds.push_back(kBypassParam);

    OnHostIdentified();
    RestorePreset(0);
    return true;
  } catch (...) {
    return false;
  }
}

bool IPluginCLAP::Activate(double sampleRate, uint32_t, uint32_t maxFrames) {
  if (mActive || !std::isfinite(sampleRate) || sampleRate <= 0.0 || maxFrames == 0) return false;
  try {
    RecursiveMutexLock lock(mMutex);
    SetSampleRate(sampleRate);
    const int slice = static_cast<int>(std::min(maxFrames, kMaxSlice));
    SetBlockSize(slice);
    bool scratchOk = true;
    for (int i = 0; i < GetInputChannelCount(); ++i)
      scratchOk = scratchOk && mInChannels.Get(i)->mScratchBuf.GetSize() >= slice;
    for (int i = 0; i < GetOutputChannelCount(); ++i)
      scratchOk = scratchOk && mOutChannels.Get(i)->mScratchBuf.GetSize() >= slice;
    if (!scratchOk) {
      SetBlockSize(0);
      return false;
    }
    Reset();
    OnActivate(true);
    mActive = true;
    return true;
  } catch (...) {
    return false;
  }
}

void IPluginCLAP::Deactivate() {
  if (!mActive) return;
  mActive = false;
  try {
    OnActivate(false);
  } catch (...) {
  }
}

// ---- Audio ports ---------------------------------------------------------------------------------

uint32_t IPluginCLAP::PortCount(bool isInput) const {
  if (isInput)
    return (GetInputChannelCount() > mSidechainChannels ? 1u : 0u) + (mSidechainChannels ? 1u : 0u);
  return GetOutputChannelCount() > 0 ? 1u : 0u;
}

bool IPluginCLAP::PortInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const {
  if (!info || index >= PortCount(isInput)) return false;
  *info = clap_audio_port_info_t{};
  const bool sidechain = isInput && index == 1;
  const int channels = sidechain ? mSidechainChannels
                       : isInput ? GetInputChannelCount() - mSidechainChannels
                                 : GetOutputChannelCount();
  const char* label = isInput ? GetInputBusLabel(static_cast<int>(index)) : GetOutputBusLabel(0);
  std::snprintf(info->name, sizeof info->name, "%s", label ? label : "");
  info->id = index;
  info->flags = CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE |
                (sidechain ? 0u : static_cast<uint32_t>(CLAP_AUDIO_PORT_IS_MAIN));
  info->channel_count = static_cast<uint32_t>(channels);
  info->port_type = channels == 2 ? CLAP_PORT_STEREO : channels == 1 ? CLAP_PORT_MONO : nullptr;
  // The main pair may share buffers: every input sample is read before its output is written.
  info->in_place_pair = sidechain ? CLAP_INVALID_ID : 0;
  return true;
}

// ---- Processing ----------------------------------------------------------------------------------

clap_process_status IPluginCLAP::Process(const clap_process_t* process) {
  if (!process) return CLAP_PROCESS_ERROR;
  const AudioCall audioCall(*this);
  try {
    RecursiveMutexLock lock(mMutex);
    if (process->transport) ApplyTransport(*process->transport);
    ApplyEvents(process->in_events);
    PushQueuedEvents(process->out_events);
    if (process->frames_count > 0 && GetBlockSize() > 0 && process->audio_outputs_count > 0 &&
        process->audio_outputs) {
      if (process->audio_outputs[0].data64) {
        RenderBlock<double>(*process);
      } else if (process->audio_outputs[0].data32) {
        RenderBlock<float>(*process);
      }
    }
  } catch (...) {
    // Nothing may unwind into the host's audio thread; the block is simply lost.
  }
  return CLAP_PROCESS_CONTINUE;
}

void IPluginCLAP::ApplyTransport(const clap_event_transport_t& transport) { mTransport = transport; }

void IPluginCLAP::ConnectChannels(const clap_process_t& process, bool f64) {
  const int nMain = GetInputChannelCount() - mSidechainChannels;
  // A port in the other sample width than the output is not fed, rather than read past its end.
  auto channelPtr = [f64](const clap_audio_buffer_t& buf, int c) -> void* {
    if (c >= static_cast<int>(buf.channel_count)) return nullptr;
    if (f64) return buf.data64 ? static_cast<void*>(buf.data64[c]) : nullptr;
    return buf.data32 ? static_cast<void*>(buf.data32[c]) : nullptr;
  };
  mFeeder.Clear();
  const uint32_t numInputs = process.audio_inputs ? process.audio_inputs_count : 0;
  if (numInputs > 0)
    for (int c = 0; c < nMain; ++c) mFeeder.SetInput(c, channelPtr(process.audio_inputs[0], c));
  if (mSidechainChannels && numInputs > 1)
    for (int c = 0; c < mSidechainChannels; ++c)
      mFeeder.SetInput(nMain + c, channelPtr(process.audio_inputs[1], c));
  for (int c = 0; c < GetOutputChannelCount(); ++c)
    mFeeder.SetOutput(c, channelPtr(process.audio_outputs[0], c));
  mFeeder.ConnectChannels(*this);
}

template <class Sample>
void IPluginCLAP::RenderBlock(const clap_process_t& process) {
  ConnectChannels(process, sizeof(Sample) == sizeof(double));
  mFeeder.Process<Sample>(*this, static_cast<int>(std::min<uint32_t>(process.frames_count, INT32_MAX)));
  for (uint32_t p = 0; p < process.audio_outputs_count; ++p) process.audio_outputs[p].constant_mask = 0;
}

template void IPluginCLAP::RenderBlock<float>(const clap_process_t&);
template void IPluginCLAP::RenderBlock<double>(const clap_process_t&);

// ---- Host time -----------------------------------------------------------------------------------

namespace {
double Beats(clap_beattime t) { return static_cast<double>(t) / static_cast<double>(CLAP_BEATTIME_FACTOR); }
double Seconds(clap_sectime t) { return static_cast<double>(t) / static_cast<double>(CLAP_SECTIME_FACTOR); }
}  // namespace

double IPluginCLAP::GetSamplePos() {
  if (!(mTransport.flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE)) return 0.0;
  return std::floor(Seconds(mTransport.song_pos_seconds) * GetSampleRate() + 0.5);
}

double IPluginCLAP::GetTempo() {
  return mTransport.flags & CLAP_TRANSPORT_HAS_TEMPO ? mTransport.tempo : 0.0;
}

void IPluginCLAP::GetTimeSig(int* numerator, int* denominator) {
  const bool has = mTransport.flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE;
  if (numerator) *numerator = has ? mTransport.tsig_num : 0;
  if (denominator) *denominator = has ? mTransport.tsig_denom : 0;
}

void IPluginCLAP::GetTime(ITimeInfo* timeInfo) {
  if (!timeInfo) return;
  const uint32_t f = mTransport.flags;
  timeInfo->mTempo = GetTempo();
  timeInfo->mSamplePos = GetSamplePos();
  if (f & CLAP_TRANSPORT_HAS_BEATS_TIMELINE) {
    timeInfo->mPPQPos = Beats(mTransport.song_pos_beats);
    timeInfo->mLastBar = Beats(mTransport.bar_start);
    timeInfo->mCycleStart = Beats(mTransport.loop_start_beats);
    timeInfo->mCycleEnd = Beats(mTransport.loop_end_beats);
  }
  GetTimeSig(&timeInfo->mNumerator, &timeInfo->mDenominator);
  timeInfo->mTransportIsRunning = (f & CLAP_TRANSPORT_IS_PLAYING) != 0;
  timeInfo->mTransportLoopEnabled = (f & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
}

void IPluginCLAP::SetLatency(int samples) {
  IPlugin::SetLatency(samples);
  // Latency may only change across a reactivation.
  if (mActive && mClapHost && mClapHost->request_restart) mClapHost->request_restart(mClapHost);
}

// ---- Extensions ----------------------------------------------------------------------------------

const clap_plugin_audio_ports_t IPluginCLAP::sAudioPorts = {
    [](const clap_plugin_t* p, bool isInput) { return FromClap(p)->PortCount(isInput); },
    [](const clap_plugin_t* p, uint32_t index, bool isInput, clap_audio_port_info_t* info) {
      return FromClap(p)->PortInfo(index, isInput, info);
    },
};

const clap_plugin_latency_t IPluginCLAP::sLatency = {
    [](const clap_plugin_t* p) { return static_cast<uint32_t>(std::max(0, FromClap(p)->GetLatency())); },
};

const void* IPluginCLAP::Extension(const char* id) const {
  if (!id) return nullptr;
  if (!std::strcmp(id, CLAP_EXT_AUDIO_PORTS)) return &sAudioPorts;
  if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &sParams;
  if (!std::strcmp(id, CLAP_EXT_STATE)) return &sState;
  if (!std::strcmp(id, CLAP_EXT_LATENCY)) return &sLatency;
  if (GetGraphics()) {
    if (!std::strcmp(id, CLAP_EXT_GUI)) return &sGui;
    if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return &sTimer;
    if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT)) return &sPosixFd;
  }
  return nullptr;
}
