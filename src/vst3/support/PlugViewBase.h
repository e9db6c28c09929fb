// The base of an editor view a controller hands to the host: it keeps the view rectangle, the
// host's parent window and frame, and answers the optional view calls (keys, wheel, focus,
// resizing) with "not handled". A concrete view adds the platform window.
#pragma once

#include "vst3/abi/PlugView.h"
#include "vst3/abi/ResultCodes.h"

#include <atomic>

namespace vstsupport {

class PlugViewBase : public vst3abi::IPlugView {
 public:
  using tresult = vst3abi::tresult;
  using uint32 = vst3abi::uint32;

  explicit PlugViewBase(const vst3abi::ViewRect* rect = nullptr);
  virtual ~PlugViewBase();
  PlugViewBase(const PlugViewBase&) = delete;
  PlugViewBase& operator=(const PlugViewBase&) = delete;

  tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  uint32 VST3ABI_CALL addRef() override;
  uint32 VST3ABI_CALL release() override;

  tresult VST3ABI_CALL isPlatformTypeSupported(vst3abi::FIDString type) override;
  tresult VST3ABI_CALL attached(void* parent, vst3abi::FIDString type) override;
  tresult VST3ABI_CALL removed() override;
  tresult VST3ABI_CALL onWheel(float distance) override;
  tresult VST3ABI_CALL onKeyDown(vst3abi::char16 key, vst3abi::int16 keyCode,
                                 vst3abi::int16 modifiers) override;
  tresult VST3ABI_CALL onKeyUp(vst3abi::char16 key, vst3abi::int16 keyCode,
                               vst3abi::int16 modifiers) override;
  tresult VST3ABI_CALL getSize(vst3abi::ViewRect* size) override;
  tresult VST3ABI_CALL onSize(vst3abi::ViewRect* newSize) override;
  tresult VST3ABI_CALL onFocus(vst3abi::TBool state) override;
  // The frame is held with a reference of its own until it is replaced or the view goes.
  tresult VST3ABI_CALL setFrame(vst3abi::IPlugFrame* frame) override;
  tresult VST3ABI_CALL canResize() override;
  tresult VST3ABI_CALL checkSizeConstraint(vst3abi::ViewRect* rect) override;

  // Asks the host frame to resize this view; false without a frame.
  bool RequestResize(int width, int height);

  const vst3abi::ViewRect& GetRect() const { return mRect; }
  void* GetParent() const { return mParent; }
  vst3abi::IPlugFrame* GetFrame() const { return mFrame; }

 protected:
  vst3abi::ViewRect mRect{};
  void* mParent = nullptr;
  vst3abi::IPlugFrame* mFrame = nullptr;

 private:
  std::atomic<uint32> mRefCount{1};
};

}  // namespace vstsupport
