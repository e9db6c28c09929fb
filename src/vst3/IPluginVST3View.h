// IPluginVST3View: the editor view a host embeds. It gives the plug-in's graphics engine a window
// inside the parent the host supplies (an X11 window id on Linux, an HWND on Windows, an NSView on
// macOS), hands the engine the host's run loop where the platform needs one, and reports the
// engine's size. The size follows the scale: a host's content scale factor, the user's size menu,
// or the host's own resizing (the aspect ratio is kept, from 1x to 2x). The view holds a reference
// on its plug-in, so the plug-in outlives every view of it. A size that does not fit the screen is
// limited to the largest step that does (IGraphics::LimitToScreen), also once the window is open.
//
// Threads: every call comes on the host's UI thread; none takes the plug-in's mutex.
#pragma once

#include "vst3/support/PlugViewBase.h"

#include <memory>

class HostRunLoopBridge;
class IPluginVST3;

class IPluginVST3View : public vstsupport::PlugViewBase, public vst3abi::IPlugViewContentScaleSupport {
 public:
  explicit IPluginVST3View(IPluginVST3* plug);
  ~IPluginVST3View() override;

  tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  uint32 VST3ABI_CALL addRef() override { return PlugViewBase::addRef(); }
  uint32 VST3ABI_CALL release() override { return PlugViewBase::release(); }

  tresult VST3ABI_CALL isPlatformTypeSupported(vst3abi::FIDString type) override;
  tresult VST3ABI_CALL attached(void* parent, vst3abi::FIDString type) override;
  tresult VST3ABI_CALL removed() override;
  tresult VST3ABI_CALL getSize(vst3abi::ViewRect* size) override;
  tresult VST3ABI_CALL onSize(vst3abi::ViewRect* newSize) override;
  tresult VST3ABI_CALL canResize() override;
  tresult VST3ABI_CALL checkSizeConstraint(vst3abi::ViewRect* rect) override;
  // IPlugViewContentScaleSupport: the host's screen scale (UI thread).
  tresult VST3ABI_CALL setContentScaleFactor(ScaleFactor factor) override;

  // Asks the host to give the view this size; the host's onSize completes it.
  void resize(int width, int height);

 private:
  void CloseEditor();

  IPluginVST3* mPlug;
  bool mExpectingNewSize = false;
  // Whether this view opened the engine's window and has not closed it yet.
  bool mOpen = false;
  std::unique_ptr<HostRunLoopBridge> mRunLoop;
};
