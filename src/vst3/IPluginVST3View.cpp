// The editor view a host embeds.
#include "vst3/IPluginVST3View.h"

#include "graphics/IGraphics.h"
#include "vst3/HostRunLoopBridge.h"
#include "vst3/IPluginVST3.h"
#include "vst3/abi/ResultCodes.h"

#include <cstring>

using namespace vst3abi;

namespace {

bool SameType(FIDString a, const char* b) { return a && std::strcmp(a, b) == 0; }

// The parent type whose windows this platform's engine opens itself.
bool IsWindowType(FIDString type) {
#if defined(__APPLE__)
  return SameType(type, kPlatformTypeNSView);
#else
  return SameType(type, kPlatformTypeX11EmbedWindowID);
#endif
}

bool IsSupportedType(FIDString type) {
#if defined(__APPLE__)
  return SameType(type, kPlatformTypeNSView) || SameType(type, kPlatformTypeHIView);
#else
  return IsWindowType(type);
#endif
}

}  // namespace

IPluginVST3View::IPluginVST3View(IPluginVST3* plug) : mPlug(plug) { mPlug->addRef(); }

IPluginVST3View::~IPluginVST3View() {
  // A host may release the view without removing it first; the window must not outlive it.
  CloseEditor();
  mPlug->removeDependentView(this);
  mPlug->release();
}

tresult IPluginVST3View::isPlatformTypeSupported(FIDString type) {
  return AttachedGraphics(mPlug) && IsSupportedType(type) ? kResultTrue : kResultFalse;
}

tresult IPluginVST3View::attached(void* parent, FIDString type) {
  IGraphics* graphics = AttachedGraphics(mPlug);
  if (!graphics) return kResultFalse;
  // The engine has one window. Opening it for a second view would close the first view's window
  // behind its back, leaving its run-loop registrations with the host; refuse instead.
  if (mOpen || graphics->WindowIsOpen()) return kResultFalse;

  if (IsWindowType(type)) {
    // The run loop comes with the frame; hosts that set no frame may offer it on their context.
    mRunLoop.reset(HostRunLoopBridge::Create(mFrame));
    if (!mRunLoop) mRunLoop.reset(HostRunLoopBridge::Create(mPlug->GetHostContext()));
    graphics->SetHostRunLoop(mRunLoop.get());
    if (!graphics->OpenWindow(parent)) {
      graphics->SetHostRunLoop(nullptr);
      mRunLoop.reset();
      return kResultFalse;
    }
  } else {
    graphics->OpenWindow(parent, nullptr, 0, 0);
  }
  mOpen = true;
  PlugViewBase::attached(parent, type);
  mPlug->OnGUIOpen();
  return kResultOk;
}

tresult IPluginVST3View::removed() {
  CloseEditor();
  return PlugViewBase::removed();
}

void IPluginVST3View::CloseEditor() {
  if (!mOpen) return;
  mOpen = false;
  if (IGraphics* graphics = AttachedGraphics(mPlug)) {
    mPlug->OnGUIClose();
    graphics->CloseWindow();
    graphics->SetHostRunLoop(nullptr);
  }
  // Anything the window left registered is unregistered here.
  mRunLoop.reset();
}

tresult IPluginVST3View::getSize(ViewRect* size) {
  IGraphics* graphics = AttachedGraphics(mPlug);
  if (!graphics) return kResultFalse;
  if (!size) return kInvalidArgument;
  *size = ViewRect{0, 0, graphics->Width(), graphics->Height()};
  return kResultOk;
}

tresult IPluginVST3View::onSize(ViewRect* newSize) {
  if (!newSize) return kResultOk;
  PlugViewBase::onSize(newSize);
  if (mExpectingNewSize) {
    mPlug->OnWindowResize();
    mExpectingNewSize = false;
  }
  return kResultOk;
}

void IPluginVST3View::resize(int width, int height) {
  mExpectingNewSize = true;
  RequestResize(width, height);
}
