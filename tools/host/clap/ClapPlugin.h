// One CLAP plug-in instance brought up the way a DAW does: a host record with the extensions a
// plug-in asks for (params, state, gui, timer and fd support through the host's run loop, thread
// check, log, latency), created through the factory and initialised. Parameters, texts and state
// are read through here; ClapProcessor drives activation and processing. Destruction deactivates
// and destroys. Main thread only, except where marked.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clap/abi/AudioPorts.h"
#include "clap/abi/Gui.h"
#include "clap/abi/HostServices.h"
#include "clap/abi/Latency.h"
#include "clap/abi/Params.h"
#include "clap/abi/State.h"
#include "host/clap/ClapModule.h"
#include "host/vst3/HostRunLoop.h"

namespace qvhost {

struct ClapParameter {
  clap_id id = CLAP_INVALID_ID;
  uint32_t flags = 0;
  std::string name;
  std::string module;
  double min = 0, max = 0, defaultValue = 0;
};

// A parameter event the plug-in sent to the host.
struct ClapHostEvent {
  uint16_t type = 0;  // CLAP_EVENT_PARAM_VALUE or a gesture
  clap_id id = CLAP_INVALID_ID;
  double value = 0;
};

class ClapPlugin {
 public:
  static std::unique_ptr<ClapPlugin> create(ClapModule& module, const ClapDescriptorInfo& desc,
                                            std::string* error);
  ~ClapPlugin();
  ClapPlugin(const ClapPlugin&) = delete;
  ClapPlugin& operator=(const ClapPlugin&) = delete;

  const clap_plugin_t* plugin() const { return mPlugin; }
  const ClapDescriptorInfo& descriptor() const { return mDesc; }
  const clap_plugin_params_t* params() const { return mParams; }
  const clap_plugin_audio_ports_t* audioPorts() const { return mPorts; }
  const clap_plugin_gui_t* gui() const { return mGui; }
  const clap_plugin_latency_t* latencyExtension() const { return mLatency; }

  std::vector<clap_audio_port_info_t> ports(bool input) const;
  std::vector<ClapParameter> parameters() const;
  bool value(clap_id id, double* out) const;
  // The plug-in's text for a value; empty when it has none.
  std::string text(clap_id id, double value) const;

  bool saveState(std::vector<uint8_t>* bytes, std::string* error) const;
  bool loadState(const std::vector<uint8_t>& bytes, std::string* error);

  // Hands the plug-in's queued editor events over through params.flush; only while it is not
  // processing, as the host promises when it answers request_flush.
  void flushIfRequested();
  // Parameter events the plug-in sent (through process or flush); any thread.
  std::vector<ClapHostEvent> takeHostEvents();
  // Keeps a parameter or gesture event the plug-in pushed; others are ignored. Any thread.
  void recordHeader(const clap_event_header_t* e);

  // The loop that serves timer-support and posix-fd-support; null refuses registrations.
  void setRunLoop(HostRunLoop* loop);
  size_t registrations() const { return mTimers.size() + mFds.size(); }
  // Called when the plug-in asks for its editor to be resized; false refuses.
  std::function<bool(uint32_t, uint32_t)> onResizeRequest;

  // Lifecycle flags maintained by ClapProcessor so teardown knows how far to unwind.
  void markActive(bool active) { mActive = active; }
  void markProcessing(bool processing) { mProcessing = processing; }
  bool active() const { return mActive; }
  // The audio thread: calls tagged audio come from it while it is set.
  void setAudioThread(std::thread::id id) { mAudioThread = id; }

 private:
  class LoopHandler;
  ClapPlugin();
  const void* hostExtension(const char* id);
  static ClapPlugin* self(const clap_host_t* host) { return static_cast<ClapPlugin*>(host->host_data); }

  clap_host_t mHost{};
  ClapDescriptorInfo mDesc;
  const clap_plugin_t* mPlugin = nullptr;
  bool mInitialized = false;
  const clap_plugin_params_t* mParams = nullptr;
  const clap_plugin_state_t* mState = nullptr;
  const clap_plugin_audio_ports_t* mPorts = nullptr;
  const clap_plugin_gui_t* mGui = nullptr;
  const clap_plugin_latency_t* mLatency = nullptr;
  const clap_plugin_timer_support_t* mTimerExt = nullptr;
  const clap_plugin_posix_fd_support_t* mFdExt = nullptr;
  bool mActive = false;
  bool mProcessing = false;
  std::thread::id mMainThread;
  std::thread::id mAudioThread;

  HostRunLoop* mLoop = nullptr;
  struct Registration {
    uint32_t key;  // timer id or fd
    LoopHandler* handler;
  };
  std::vector<Registration> mTimers;
  std::vector<Registration> mFds;
  clap_id mNextTimer = 1;
  void unregisterAll();

  std::mutex mEventsMutex;
  std::vector<ClapHostEvent> mHostEvents;
};

}  // namespace qvhost
