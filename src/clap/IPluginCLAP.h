// IPluginCLAP: the plug-in framework presented to a CLAP host. The object carries the clap_plugin
// record the host holds, answers the extensions a stereo effect with sidechain, parameters, saved
// state and an embedded editor needs, and turns CLAP's buffers and events into the framework's
// channels and parameter changes. A concrete plug-in derives from this class.
//
// Threads, as CLAP names them: "main" is the host's main thread (init, activation, state, parameter
// queries, gui), "audio" the process call, and flush runs on either (audio while the plug-in is
// active, main otherwise). The notes say where the plug-in's mutex (IPlugin::GetMutex) is taken.
#pragma once

#include "clap/IPluginInstanceInfo.h"
#include "clap/ParamEventQueue.h"
#include "clap/abi/AudioPorts.h"
#include "clap/abi/Entry.h"
#include "clap/abi/Gui.h"
#include "clap/abi/HostServices.h"
#include "clap/abi/Latency.h"
#include "clap/abi/Params.h"
#include "clap/abi/State.h"
#include "framework/HostBlockFeeder.h"
#include "framework/IPlugin.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class ClapRunLoopBridge;

class IPluginCLAP : public IPlugin {
 public:
  // Id of the host bypass parameter, beside the framework parameters whose ids are their indices.
  static constexpr clap_id kBypassParam = 0x62706173;  // "bpas"

  // Main (the factory's create_plugin).
  IPluginCLAP(IPluginInstanceInfo instanceInfo, int nParams, const char* channelIOStr, int nPresets,
              const char* effectName, const char* productName, const char* makerName, int vendorVersion,
              int uniqueId, int makerId, int latency, bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst,
              int plugScChans);
  ~IPluginCLAP() override;

  // Main. The record handed to the host; its desc is set by the factory.
  clap_plugin_t* ClapPlugin() { return &mClap; }
  static IPluginCLAP* FromClap(const clap_plugin_t* plugin);

  // ---- State: the framework state chunk followed by the 4-byte bypass flag, as in VST 3 (main,
  // mutex) ----
  bool SaveState(const clap_ostream_t* stream);
  // Nothing changes unless the whole state arrived and every value in it is usable.
  bool LoadState(const clap_istream_t* stream);

  // ---- Parameters as the host sees them (main, without the mutex) ----
  uint32_t ParamCount() const { return static_cast<uint32_t>(mParamIds.size()); }
  bool ParamInfo(uint32_t index, clap_param_info_t* info) const;
  bool ParamValue(clap_id id, double* value) const;
  bool ParamValueToText(clap_id id, double value, char* out, uint32_t capacity) const;
  bool ParamTextToValue(clap_id id, const char* text, double* value) const;
  // Audio or main (see above), mutex: applies host events and hands over the editor's queued ones;
  // no audio.
  void FlushParams(const clap_input_events_t* in, const clap_output_events_t* out);

  // ---- IPlugin: the host-facing operations (threads as IPlugin states; the gesture calls queue
  // for the host under the mutex and ask it to flush) ----
  void PopupHostContextMenuForParam(int idx, int x, int y) override;
  bool OfferContextClickToHost(int idx, int x, int y) override;
  void BeginInformHostOfParamChange(int idx) override;
  void InformHostOfParamChange(int idx, double normalizedValue) override;
  void EndInformHostOfParamChange(int idx) override;
  void InformHostOfProgramChange() override {}
  bool IsRenderingOffline() override { return false; }
  double GetSamplePos() override;
  double GetTempo() override;
  void GetTimeSig(int* numerator, int* denominator) override;
  void GetTime(ITimeInfo* timeInfo) override;
  void ResizeGraphics(int w, int h) override;
  void SetLatency(int samples) override;
  bool SendMidiMsg(IMidiMsg*) override { return false; }

 private:
  // ---- clap_plugin ----
  bool Init();
  bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  void Deactivate();
  clap_process_status Process(const clap_process_t* process);
  const void* Extension(const char* id) const;
  void OnMainThread() {}

  // ---- Processing ----
  template <class Sample>
  void RenderBlock(const clap_process_t& process);
  // Decides which channels the host feeds this block and remembers their buffers.
  void ConnectChannels(const clap_process_t& process, bool f64);
  void ApplyEvents(const clap_input_events_t* in);
  void ApplyTransport(const clap_event_transport_t& transport);
  void PushQueuedEvents(const clap_output_events_t* out);
  bool IsFrameworkParam(clap_id id) const;

  // ---- Audio ports ----
  uint32_t PortCount(bool isInput) const;
  bool PortInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const;

  // ---- Editor ----
  bool GuiApiSupported(const char* api, bool floating) const;
  bool GuiCreate(const char* api, bool floating);
  void GuiDestroy();
  bool GuiSize(uint32_t* width, uint32_t* height) const;
  bool GuiSetParent(const clap_window_t* window);
  bool GuiSetScale(double scale);
  bool GuiAdjustSize(uint32_t* width, uint32_t* height) const;
  bool GuiSetSize(uint32_t width, uint32_t height);
  void QueueForHost(ParamEventQueue::Kind kind, int idx, double value);
  // Marks the calling thread as inside process or flush for its lifetime.
  class AudioCall {
   public:
    explicit AudioCall(IPluginCLAP& plug) : mPlug(plug) {
      mPlug.mAudioCallThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    }
    ~AudioCall() { mPlug.mAudioCallThread.store(std::thread::id(), std::memory_order_relaxed); }

   private:
    IPluginCLAP& mPlug;
  };

  static const clap_plugin_audio_ports_t sAudioPorts;
  static const clap_plugin_params_t sParams;
  static const clap_plugin_state_t sState;
  static const clap_plugin_gui_t sGui;
  static const clap_plugin_timer_support_t sTimer;
  static const clap_plugin_posix_fd_support_t sPosixFd;
  static const clap_plugin_latency_t sLatency;

  clap_plugin_t mClap{};
  // The host's callbacks (IPlugin::mHost is the code of the host it identified).
  const clap_host_t* mClapHost;
  const clap_host_params_t* mHostParams = nullptr;
  const clap_host_gui_t* mHostGui = nullptr;
  const clap_host_timer_support_t* mHostTimer = nullptr;
  const clap_host_posix_fd_support_t* mHostPosixFd = nullptr;
  const void* mHostContextMenu = nullptr;

  int mSidechainChannels;
  bool mActive = false;
  // The thread inside process or flush, none otherwise: the host may not be asked to flush from
  // there, while an edit made meanwhile on the main thread still asks (that call may be the last).
  std::atomic<std::thread::id> mAudioCallThread{};
  clap_event_transport_t mTransport{};
  // Host-visible parameter ids in list order, and per framework parameter the last value a block
  // brought (NaN = none), both sized at construction.
  std::vector<clap_id> mParamIds;
  std::vector<double> mPendingValues;
  ParamEventQueue mToHost;

  // The host's buffers of this block, per channel; sized at construction.
  HostBlockFeeder mFeeder;

  bool mGuiCreated = false;
  bool mGuiOpen = false;
  std::unique_ptr<ClapRunLoopBridge> mRunLoop;
};
