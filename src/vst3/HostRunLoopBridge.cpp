// The host's run loop offered to the editor engine.
#include "vst3/HostRunLoopBridge.h"

#include "vst3/abi/ResultCodes.h"

#include <atomic>

using namespace vst3abi;

// What the host calls back. It forwards to its client until detached; the host may hold it longer.
class HostRunLoopBridge::Handler : public IEventHandler, public ITimerHandler {
 public:
  explicit Handler(Client* client) : mClient(client) {}

  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IEventHandler::iid))
      *obj = static_cast<IEventHandler*>(this);
    else if (uidEquals(iid, ITimerHandler::iid))
      *obj = static_cast<ITimerHandler*>(this);
    else
      return kNoInterface;
    addRef();
    return kResultOk;
  }
  uint32 VST3ABI_CALL addRef() override { return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32 VST3ABI_CALL release() override {
    const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

  // The client may unregister (and so release) this handler from inside the callback.
  void VST3ABI_CALL onFDIsSet(FileDescriptor fd) override {
    addRef();
    if (mClient) mClient->OnFDReady(fd);
    release();
  }
  void VST3ABI_CALL onTimer() override {
    addRef();
    if (mClient) mClient->OnTimer();
    release();
  }

  void Detach() { mClient = nullptr; }

 private:
  virtual ~Handler() = default;

  Client* mClient;
  std::atomic<uint32> mRefCount{1};
};

HostRunLoopBridge* HostRunLoopBridge::Create(FUnknown* source) {
  if (!source) return nullptr;
  void* obj = nullptr;
  if (source->queryInterface(IRunLoop::iid.bytes, &obj) != kResultOk || !obj) return nullptr;
  auto* runLoop = static_cast<IRunLoop*>(obj);
  HostRunLoopBridge* bridge = nullptr;
  try {
    bridge = new HostRunLoopBridge(runLoop);
  } catch (...) {
  }
  runLoop->release();
  return bridge;
}

HostRunLoopBridge::HostRunLoopBridge(IRunLoop* runLoop) : mRunLoop(runLoop) {
  if (mRunLoop) mRunLoop->addRef();
}

HostRunLoopBridge::~HostRunLoopBridge() {
  while (!mEntries.empty()) Remove(mEntries.back().client, mEntries.back().timer);
  if (mRunLoop) mRunLoop->release();
}

bool HostRunLoopBridge::WatchFD(int fd, Client* client) {
  if (!mRunLoop || !client || fd < 0) return false;
  return Register(client, false, [this, fd](Handler* h) { return mRunLoop->registerEventHandler(h, fd); });
}

bool HostRunLoopBridge::StartTimer(int milliseconds, Client* client) {
  if (!mRunLoop || !client || milliseconds <= 0) return false;
  const auto interval = static_cast<TimerInterval>(milliseconds);
  return Register(client, true,
                  [this, interval](Handler* h) { return mRunLoop->registerTimer(h, interval); });
}

template <class RegisterWithHost>
bool HostRunLoopBridge::Register(Client* client, bool timer, RegisterWithHost registerWithHost) {
  Remove(client, timer);
  Handler* handler = nullptr;
  try {
    mEntries.reserve(mEntries.size() + 1);  // so the push below cannot throw after the host has it
    handler = new Handler(client);
  } catch (...) {
    return false;
  }
  if (registerWithHost(handler) != kResultOk) {
    handler->release();
    return false;
  }
  mEntries.push_back(Entry{client, timer, handler});
  return true;
}

void HostRunLoopBridge::UnwatchFD(Client* client) { Remove(client, false); }

void HostRunLoopBridge::StopTimer(Client* client) { Remove(client, true); }

void HostRunLoopBridge::Remove(Client* client, bool timer) {
  for (auto it = mEntries.begin(); it != mEntries.end(); ++it) {
    if (it->client != client || it->timer != timer) continue;
    Handler* handler = it->handler;
    mEntries.erase(it);
    if (timer)
      mRunLoop->unregisterTimer(handler);
    else
      mRunLoop->unregisterEventHandler(handler);
    handler->Detach();
    handler->release();
    return;
  }
}
