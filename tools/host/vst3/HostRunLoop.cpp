// The host's UI event loop.
#include "host/vst3/HostRunLoop.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <poll.h>
#endif

#include <algorithm>

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult HostRunLoop::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IRunLoop::iid)) {
    *obj = static_cast<IRunLoop*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 HostRunLoop::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

tresult HostRunLoop::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
  if (!handler || fd < 0) return kInvalidArgument;
  mWatches.push_back(Watch{mNextSerial++, Ref<IEventHandler>::share(handler), fd});
  return kResultTrue;
}

tresult HostRunLoop::unregisterEventHandler(IEventHandler* handler) {
  const auto before = mWatches.size();
  mWatches.erase(std::remove_if(mWatches.begin(), mWatches.end(),
                                [handler](const Watch& w) { return w.handler.get() == handler; }),
                 mWatches.end());
  return mWatches.size() < before ? kResultTrue : kInvalidArgument;
}

tresult HostRunLoop::registerTimer(ITimerHandler* handler, TimerInterval milliseconds) {
  if (!handler || milliseconds == 0) return kInvalidArgument;
  const auto interval = std::chrono::milliseconds(std::min<TimerInterval>(milliseconds, 24u * 3600u * 1000u));
  mTimers.push_back(
      Timer{mNextSerial++, Ref<ITimerHandler>::share(handler), interval, Clock::now() + interval});
  return kResultTrue;
}

tresult HostRunLoop::unregisterTimer(ITimerHandler* handler) {
  const auto before = mTimers.size();
  mTimers.erase(std::remove_if(mTimers.begin(), mTimers.end(),
                               [handler](const Timer& t) { return t.handler.get() == handler; }),
                mTimers.end());
  return mTimers.size() < before ? kResultTrue : kInvalidArgument;
}

bool HostRunLoop::watching(uint64_t serial) const {
  return std::any_of(mWatches.begin(), mWatches.end(),
                     [serial](const Watch& w) { return w.serial == serial; });
}

HostRunLoop::Timer* HostRunLoop::timer(uint64_t serial) {
  for (Timer& t : mTimers) {
    if (t.serial == serial) return &t;
  }
  return nullptr;
}

void HostRunLoop::runOnce(int maxWaitMs) {
  auto now = Clock::now();
  int wait = std::max(maxWaitMs, 0);
  for (const Timer& t : mTimers) {
    // Rounded up: waking just before a timer is due would only spin until it is.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(t.due - now).count();
    wait = std::min<int>(wait, static_cast<int>(std::max<decltype(left)>(left, 0)));
  }

#if defined(_WIN32)
  // No descriptors here: the wait ends early when a message arrives for the thread's windows,
  // which the caller dispatches.
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
#else
  // Callbacks may change the registrations: work from a copy and recheck each entry before use.
  const std::vector<Watch> watches = mWatches;
  std::vector<pollfd> fds;
  for (const Watch& w : watches) fds.push_back(pollfd{w.fd, POLLIN, 0});
  const int ready = ::poll(fds.empty() ? nullptr : fds.data(), fds.size(), wait);
  for (size_t i = 0; ready > 0 && i < fds.size(); ++i) {
    if (!watching(watches[i].serial)) continue;
    if (fds[i].revents & POLLNVAL) {
      // Closed by its owner without unregistering: it would wake every poll for ever.
      const uint64_t serial = watches[i].serial;
      mWatches.erase(std::remove_if(mWatches.begin(), mWatches.end(),
                                    [serial](const Watch& w) { return w.serial == serial; }),
                     mWatches.end());
    } else if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
      watches[i].handler->onFDIsSet(watches[i].fd);
    }
  }
#endif

  now = Clock::now();
  std::vector<uint64_t> due;
  for (const Timer& t : mTimers) {
    if (t.due <= now) due.push_back(t.serial);
  }
  for (uint64_t serial : due) {
    Timer* t = timer(serial);
    if (!t) continue;
    // A late loop fires once, not once per missed period.
    t->due += t->interval;
    if (t->due <= now) t->due = now + t->interval;
    const Ref<ITimerHandler> handler = t->handler;
    handler->onTimer();
  }
}

}  // namespace qvhost
