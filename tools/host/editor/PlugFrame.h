// The frame a host puts around an embedded editor view (IPlugFrame): a plug-in's resize request
// resizes the host's window and is confirmed to the view with onSize inside the same call. On
// Linux the frame also offers the host's run loop, which the editor needs for its events.
#pragma once

#include "host/editor/EditorWindow.h"
#include "host/vst3/HostRunLoop.h"
#include "host/vst3/Ref.h"
#include "host/vst3/RefCount.h"
#include "vst3/abi/PlugView.h"
#include "vst3/abi/RunLoop.h"

namespace qvhost {

class PlugFrame final : public vst3abi::IPlugFrame, public vst3abi::IRunLoop {
 public:
  explicit PlugFrame(HostRunLoop* runLoop) : mRunLoop(Ref<HostRunLoop>::share(runLoop)) {}

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::tresult VST3ABI_CALL resizeView(vst3abi::IPlugView* view, vst3abi::ViewRect* newSize) override;

  vst3abi::tresult VST3ABI_CALL registerEventHandler(vst3abi::IEventHandler* handler,
                                                     vst3abi::FileDescriptor fd) override {
    return mRunLoop->registerEventHandler(handler, fd);
  }
  vst3abi::tresult VST3ABI_CALL unregisterEventHandler(vst3abi::IEventHandler* handler) override {
    return mRunLoop->unregisterEventHandler(handler);
  }
  vst3abi::tresult VST3ABI_CALL registerTimer(vst3abi::ITimerHandler* handler,
                                              vst3abi::TimerInterval milliseconds) override {
    return mRunLoop->registerTimer(handler, milliseconds);
  }
  vst3abi::tresult VST3ABI_CALL unregisterTimer(vst3abi::ITimerHandler* handler) override {
    return mRunLoop->unregisterTimer(handler);
  }

  // The window that resize requests of this view change; other views are refused.
  void attach(EditorWindow* window, vst3abi::IPlugView* view) {
    mWindow = window;
    mView = view;
  }
  // How often the view asked for a new size.
  int resizeRequests() const { return mResizeRequests; }

  // The window is going away; a plug-in that still holds the frame gets refusals from now on.
  void detach() {
    mWindow = nullptr;
    mView = nullptr;
  }

 private:
  ~PlugFrame() = default;

  RefCount mRefs;
  EditorWindow* mWindow = nullptr;
  int mResizeRequests = 0;
  vst3abi::IPlugView* mView = nullptr;
  Ref<HostRunLoop> mRunLoop;
};

}  // namespace qvhost
