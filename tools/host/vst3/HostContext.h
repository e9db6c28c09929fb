// The context object the host hands to the factory and to initialize: names the host, creates
// messages for the plug-in, tells which plug-in interfaces this host uses, and offers the Linux
// run loop. Registrations go to the run loop set with setRunLoop (an editor's); before that they
// are kept but never fire.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "host/vst3/RefCount.h"
#include "vst3/abi/HostApplication.h"
#include "vst3/abi/RunLoop.h"

namespace qvhost {

class HostContext final : public vst3abi::IHostApplication,
                          public vst3abi::IPlugInterfaceSupport,
                          public vst3abi::IRunLoop {
 public:
  explicit HostContext(std::string name = "quorvane-host") : mName(std::move(name)) {}

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::tresult VST3ABI_CALL getName(vst3abi::String128 name) override;
  vst3abi::tresult VST3ABI_CALL createInstance(vst3abi::TUID cid, vst3abi::TUID interfaceId,
                                               void** obj) override;

  vst3abi::tresult VST3ABI_CALL isPlugInterfaceSupported(const vst3abi::TUID interfaceId) override;

  vst3abi::tresult VST3ABI_CALL registerEventHandler(vst3abi::IEventHandler* handler,
                                                     vst3abi::FileDescriptor fd) override;
  vst3abi::tresult VST3ABI_CALL unregisterEventHandler(vst3abi::IEventHandler* handler) override;
  vst3abi::tresult VST3ABI_CALL registerTimer(vst3abi::ITimerHandler* handler,
                                              vst3abi::TimerInterval milliseconds) override;
  vst3abi::tresult VST3ABI_CALL unregisterTimer(vst3abi::ITimerHandler* handler) override;

  size_t registrationCount() const;
  // Registrations made from now on go to this loop; null goes back to keeping them.
  void setRunLoop(vst3abi::IRunLoop* loop);

 private:
  ~HostContext();

  RefCount mRefs;
  std::string mName;
  mutable std::mutex mMutex;
  std::vector<vst3abi::IEventHandler*> mEventHandlers;
  std::vector<vst3abi::ITimerHandler*> mTimers;
  vst3abi::IRunLoop* mRunLoop = nullptr;
};

}  // namespace qvhost
