// The host's UI event loop as Linux plug-in editors need it (IRunLoop): file descriptors watched
// with poll() and periodic timers, all dispatched on the thread that runs the loop. A handler is
// held with a reference from registration to unregistration, and may unregister itself or any
// other handler from inside its callback.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "host/vst3/Ref.h"
#include "host/vst3/RefCount.h"
#include "vst3/abi/RunLoop.h"

namespace qvhost {

class HostRunLoop final : public vst3abi::IRunLoop {
 public:
  HostRunLoop() = default;

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  // One handler may watch several descriptors; unregistering it drops them all.
  vst3abi::tresult VST3ABI_CALL registerEventHandler(vst3abi::IEventHandler* handler,
                                                     vst3abi::FileDescriptor fd) override;
  vst3abi::tresult VST3ABI_CALL unregisterEventHandler(vst3abi::IEventHandler* handler) override;
  vst3abi::tresult VST3ABI_CALL registerTimer(vst3abi::ITimerHandler* handler,
                                              vst3abi::TimerInterval milliseconds) override;
  vst3abi::tresult VST3ABI_CALL unregisterTimer(vst3abi::ITimerHandler* handler) override;

  // Waits until a watched descriptor is readable, a timer is due or maxWaitMs have passed, then
  // calls every handler that is ready. A negative wait only dispatches what is ready now.
  void runOnce(int maxWaitMs);

  size_t registrationCount() const { return mWatches.size() + mTimers.size(); }

 private:
  using Clock = std::chrono::steady_clock;
  struct Watch {
    uint64_t serial;
    Ref<vst3abi::IEventHandler> handler;
    int fd;
  };
  struct Timer {
    uint64_t serial;
    Ref<vst3abi::ITimerHandler> handler;
    Clock::duration interval;
    Clock::time_point due;
  };

  ~HostRunLoop() = default;
  bool watching(uint64_t serial) const;
  Timer* timer(uint64_t serial);

  RefCount mRefs;
  uint64_t mNextSerial = 1;
  std::vector<Watch> mWatches;
  std::vector<Timer> mTimers;
};

}  // namespace qvhost
