// A CLAP plug-in instance and the host services it is offered.
#include "host/clap/ClapPlugin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/vst3/RefCount.h"
#include "vst3/abi/ResultCodes.h"

namespace qvhost {

// Serves one timer or one descriptor of the plug-in from the host's run loop.
class ClapPlugin::LoopHandler final : public vst3abi::IEventHandler, public vst3abi::ITimerHandler {
 public:
  LoopHandler(ClapPlugin* owner, uint32_t key) : mOwner(owner), mKey(key) {}
  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID, void** obj) override {
    if (obj) *obj = nullptr;
    return vst3abi::kNoInterface;
  }
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override {
    const uint32_t n = mRefs.sub();
    if (n == 0) delete this;
    return n;
  }
  void VST3ABI_CALL onFDIsSet(vst3abi::FileDescriptor fd) override {
    if (mOwner && mOwner->mFdExt) mOwner->mFdExt->on_fd(mOwner->mPlugin, fd, CLAP_POSIX_FD_READ);
  }
  void VST3ABI_CALL onTimer() override {
    if (mOwner && mOwner->mTimerExt) mOwner->mTimerExt->on_timer(mOwner->mPlugin, mKey);
  }
  // The loop may still hold a reference after unregistering; it must not reach the plug-in then.
  void detach() { mOwner = nullptr; }

 private:
  ~LoopHandler() = default;
  ClapPlugin* mOwner;
  uint32_t mKey;
  RefCount mRefs;
};

namespace {

const clap_host_params_t kHostParams = {
    [](const clap_host_t*, uint32_t) {},
    [](const clap_host_t*, clap_id, uint32_t) {},
    [](const clap_host_t* h) { static_cast<ClapPlugin*>(h->host_data)->flushIfRequested(); },
};

const clap_host_state_t kHostState = {[](const clap_host_t*) {}};

const clap_host_latency_t kHostLatency = {[](const clap_host_t*) {}};

const clap_host_log_t kHostLog = {[](const clap_host_t*, int32_t severity, const char* msg) {
  static const char* const kNames[] = {
      "debug", "info", "warning", "error", "fatal", "host misbehaving", "plug-in misbehaving"};
  if (severity >= CLAP_LOG_WARNING && severity <= CLAP_LOG_PLUGIN_MISBEHAVING)
    std::fprintf(stderr, "plug-in %s: %s\n", kNames[severity], msg ? msg : "");
}};

struct StreamCursor {
  const std::vector<uint8_t>* in = nullptr;
  std::vector<uint8_t>* out = nullptr;
  size_t pos = 0;
};

// Short reads on purpose: a plug-in must loop until it has its state.
constexpr uint64_t kReadChunk = 7;

}  // namespace

ClapPlugin::ClapPlugin() : mMainThread(std::this_thread::get_id()) {
  mHost.clap_version = CLAP_VERSION_INIT;
  mHost.host_data = this;
  mHost.name = "quorvane-host";
  mHost.vendor = "Tallowmarkworks";
  mHost.url = "";
  mHost.version = "1";
  mHost.get_extension = [](const clap_host_t* h, const char* id) { return self(h)->hostExtension(id); };
  mHost.request_restart = [](const clap_host_t*) {};
  mHost.request_process = [](const clap_host_t*) {};
  mHost.request_callback = [](const clap_host_t*) {};
}

std::unique_ptr<ClapPlugin> ClapPlugin::create(ClapModule& module, const ClapDescriptorInfo& desc,
                                               std::string* error) {
  std::unique_ptr<ClapPlugin> p(new ClapPlugin);
  p->mDesc = desc;
  p->mPlugin = module.factory()->create_plugin(module.factory(), &p->mHost, desc.id.c_str());
  if (!p->mPlugin) {
    *error = "the factory made no instance of " + desc.id;
    return nullptr;
  }
  if (!p->mPlugin->init(p->mPlugin)) {
    *error = "the plug-in refused to initialise (clap_plugin.init)";
    return nullptr;
  }
  p->mInitialized = true;
  auto ext = [&](const char* id) { return p->mPlugin->get_extension(p->mPlugin, id); };
  p->mParams = static_cast<const clap_plugin_params_t*>(ext(CLAP_EXT_PARAMS));
  p->mState = static_cast<const clap_plugin_state_t*>(ext(CLAP_EXT_STATE));
  p->mPorts = static_cast<const clap_plugin_audio_ports_t*>(ext(CLAP_EXT_AUDIO_PORTS));
  p->mGui = static_cast<const clap_plugin_gui_t*>(ext(CLAP_EXT_GUI));
  p->mLatency = static_cast<const clap_plugin_latency_t*>(ext(CLAP_EXT_LATENCY));
  p->mTimerExt = static_cast<const clap_plugin_timer_support_t*>(ext(CLAP_EXT_TIMER_SUPPORT));
  p->mFdExt = static_cast<const clap_plugin_posix_fd_support_t*>(ext(CLAP_EXT_POSIX_FD_SUPPORT));
  return p;
}

ClapPlugin::~ClapPlugin() {
  if (mPlugin) {
    if (mProcessing) mPlugin->stop_processing(mPlugin);
    if (mActive) mPlugin->deactivate(mPlugin);
    mPlugin->destroy(mPlugin);
  }
  unregisterAll();
}

const void* ClapPlugin::hostExtension(const char* id) {
  if (!id) return nullptr;
  static const clap_host_thread_check_t kThreadCheck = {
      [](const clap_host_t* h) { return std::this_thread::get_id() == self(h)->mMainThread; },
      [](const clap_host_t* h) { return std::this_thread::get_id() == self(h)->mAudioThread; },
  };
  static const clap_host_gui_t kHostGui = {
      [](const clap_host_t*) {},
      [](const clap_host_t* h, uint32_t w, uint32_t hgt) {
        ClapPlugin* p = self(h);
        return p->onResizeRequest ? p->onResizeRequest(w, hgt) : false;
      },
      [](const clap_host_t*) { return false; },
      [](const clap_host_t*) { return false; },
      [](const clap_host_t*, bool) {},
  };
  static const clap_host_timer_support_t kTimers = {
      [](const clap_host_t* h, uint32_t periodMs, clap_id* timerId) {
        ClapPlugin* p = self(h);
        if (!timerId || !p->mLoop) return false;
        const clap_id id = p->mNextTimer++;
        auto* handler = new LoopHandler(p, id);
        if (p->mLoop->registerTimer(handler, std::max<uint32_t>(periodMs, 1)) != vst3abi::kResultOk) {
          handler->release();
          return false;
        }
        p->mTimers.push_back({id, handler});
        *timerId = id;
        return true;
      },
      [](const clap_host_t* h, clap_id timerId) {
        ClapPlugin* p = self(h);
        auto it = std::find_if(p->mTimers.begin(), p->mTimers.end(),
                               [&](const Registration& r) { return r.key == timerId; });
        if (it == p->mTimers.end()) return false;
        if (p->mLoop) p->mLoop->unregisterTimer(it->handler);
        it->handler->detach();
        it->handler->release();
        p->mTimers.erase(it);
        return true;
      },
  };
  static const clap_host_posix_fd_support_t kFds = {
      [](const clap_host_t* h, int fd, clap_posix_fd_flags_t) {
        ClapPlugin* p = self(h);
        if (!p->mLoop || fd < 0) return false;
        auto* handler = new LoopHandler(p, static_cast<uint32_t>(fd));
        if (p->mLoop->registerEventHandler(handler, fd) != vst3abi::kResultOk) {
          handler->release();
          return false;
        }
        p->mFds.push_back({static_cast<uint32_t>(fd), handler});
        return true;
      },
      [](const clap_host_t* h, int fd, clap_posix_fd_flags_t) {
        ClapPlugin* p = self(h);
        return std::any_of(p->mFds.begin(), p->mFds.end(),
                           [&](const Registration& r) { return r.key == static_cast<uint32_t>(fd); });
      },
      [](const clap_host_t* h, int fd) {
        ClapPlugin* p = self(h);
        auto it = std::find_if(p->mFds.begin(), p->mFds.end(),
                               [&](const Registration& r) { return r.key == static_cast<uint32_t>(fd); });
        if (it == p->mFds.end()) return false;
        if (p->mLoop) p->mLoop->unregisterEventHandler(it->handler);
        it->handler->detach();
        it->handler->release();
        p->mFds.erase(it);
        return true;
      },
  };
  if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &kHostParams;
  if (!std::strcmp(id, CLAP_EXT_STATE)) return &kHostState;
  if (!std::strcmp(id, CLAP_EXT_LATENCY)) return &kHostLatency;
  if (!std::strcmp(id, CLAP_EXT_LOG)) return &kHostLog;
  if (!std::strcmp(id, CLAP_EXT_THREAD_CHECK)) return &kThreadCheck;
  if (!std::strcmp(id, CLAP_EXT_GUI)) return &kHostGui;
  if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return &kTimers;
  if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT)) return &kFds;
  return nullptr;
}

void ClapPlugin::setRunLoop(HostRunLoop* loop) {
  if (loop == mLoop) return;
  unregisterAll();
  mLoop = loop;
}

void ClapPlugin::unregisterAll() {
  for (auto& r : mTimers) {
    if (mLoop) mLoop->unregisterTimer(r.handler);
    r.handler->detach();
    r.handler->release();
  }
  for (auto& r : mFds) {
    if (mLoop) mLoop->unregisterEventHandler(r.handler);
    r.handler->detach();
    r.handler->release();
  }
  mTimers.clear();
  mFds.clear();
}

std::vector<clap_audio_port_info_t> ClapPlugin::ports(bool input) const {
  std::vector<clap_audio_port_info_t> out;
  if (!mPorts) return out;
  const uint32_t n = mPorts->count(mPlugin, input);
  for (uint32_t i = 0; i < n; ++i) {
    clap_audio_port_info_t info{};
    if (mPorts->get(mPlugin, i, input, &info)) out.push_back(info);
  }
  return out;
}

std::vector<ClapParameter> ClapPlugin::parameters() const {
  std::vector<ClapParameter> out;
  if (!mParams) return out;
  const uint32_t n = mParams->count(mPlugin);
  for (uint32_t i = 0; i < n; ++i) {
    clap_param_info_t info{};
    if (!mParams->get_info(mPlugin, i, &info)) continue;
    info.name[sizeof info.name - 1] = '\0';
    info.module[sizeof info.module - 1] = '\0';
    out.push_back(
        {info.id, info.flags, info.name, info.module, info.min_value, info.max_value, info.default_value});
  }
  return out;
}

bool ClapPlugin::value(clap_id id, double* out) const {
  return mParams && mParams->get_value(mPlugin, id, out);
}

std::string ClapPlugin::text(clap_id id, double value) const {
  char buf[256] = "";
  if (!mParams || !mParams->value_to_text(mPlugin, id, value, buf, sizeof buf)) return std::string();
  buf[sizeof buf - 1] = '\0';
  return buf;
}

bool ClapPlugin::saveState(std::vector<uint8_t>* bytes, std::string* error) const {
  bytes->clear();
  if (!mState) return true;  // nothing to keep
  StreamCursor cursor;
  cursor.out = bytes;
  clap_ostream_t stream{&cursor, [](const clap_ostream_t* s, const void* buffer, uint64_t size) -> int64_t {
                          auto* c = static_cast<StreamCursor*>(s->ctx);
                          const auto* b = static_cast<const uint8_t*>(buffer);
                          c->out->insert(c->out->end(), b, b + size);
                          return static_cast<int64_t>(size);
                        }};
  if (!mState->save(mPlugin, &stream)) {
    *error = "the plug-in could not save its state";
    return false;
  }
  return true;
}

bool ClapPlugin::loadState(const std::vector<uint8_t>& bytes, std::string* error) {
  if (bytes.empty()) return true;
  if (!mState) {
    *error = "the plug-in keeps no state";
    return false;
  }
  StreamCursor cursor;
  cursor.in = &bytes;
  clap_istream_t stream{
      &cursor, [](const clap_istream_t* s, void* buffer, uint64_t size) -> int64_t {
        auto* c = static_cast<StreamCursor*>(s->ctx);
        const size_t n = static_cast<size_t>(std::min<uint64_t>({size, kReadChunk, c->in->size() - c->pos}));
        std::memcpy(buffer, c->in->data() + c->pos, n);
        c->pos += n;
        return static_cast<int64_t>(n);
      }};
  if (!mState->load(mPlugin, &stream)) {
    *error = "the plug-in refused the state";
    return false;
  }
  return true;
}

void ClapPlugin::flushIfRequested() {
  // Asked from the main thread while nothing processes: flush right away. Otherwise the next
  // process call carries the events.
  if (mProcessing || !mParams || std::this_thread::get_id() != mMainThread) return;
  clap_input_events_t in{
      nullptr, [](const clap_input_events_t*) -> uint32_t { return 0; },
      [](const clap_input_events_t*, uint32_t) -> const clap_event_header_t* { return nullptr; }};
  clap_output_events_t out{this, [](const clap_output_events_t* list, const clap_event_header_t* e) {
                             static_cast<ClapPlugin*>(list->ctx)->recordHeader(e);
                             return true;
                           }};
  mParams->flush(mPlugin, &in, &out);
}

void ClapPlugin::recordHeader(const clap_event_header_t* e) {
  if (!e || e->space_id != CLAP_CORE_EVENT_SPACE_ID) return;
  ClapHostEvent ev;
  ev.type = e->type;
  if (e->type == CLAP_EVENT_PARAM_VALUE && e->size >= sizeof(clap_event_param_value_t)) {
    const auto* v = reinterpret_cast<const clap_event_param_value_t*>(e);
    ev.id = v->param_id;
    ev.value = v->value;
  } else if ((e->type == CLAP_EVENT_PARAM_GESTURE_BEGIN || e->type == CLAP_EVENT_PARAM_GESTURE_END) &&
             e->size >= sizeof(clap_event_param_gesture_t)) {
    ev.id = reinterpret_cast<const clap_event_param_gesture_t*>(e)->param_id;
  } else {
    return;
  }
  std::lock_guard<std::mutex> lock(mEventsMutex);
  mHostEvents.push_back(ev);
}

std::vector<ClapHostEvent> ClapPlugin::takeHostEvents() {
  std::lock_guard<std::mutex> lock(mEventsMutex);
  std::vector<ClapHostEvent> out;
  out.swap(mHostEvents);
  return out;
}

}  // namespace qvhost
