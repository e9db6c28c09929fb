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
#elif defined(_WIN32)
  return SameType(type, kPlatformTypeHWND);
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

IPluginVST3View::IPluginVST3View(IPluginVST3* plug) : mPlug(plug) {
  mPlug->addRef();
  // A new editor opens at the size the user last chose, else the desktop's; the host asks for
  // the size before it attaches the view.
  IGraphics* graphics = AttachedGraphics(mPlug);
  if (graphics && !graphics->WindowIsOpen()) graphics->ChooseInitialScale();
}

tresult IPluginVST3View::queryInterface(const TUID iid, void** obj) {
  if (obj && iid && uidEquals(iid, IPlugViewContentScaleSupport::iid)) {
    addRef();
    *obj = static_cast<IPlugViewContentScaleSupport*>(this);
    return kResultOk;
  }
  return PlugViewBase::queryInterface(iid, obj);
}

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
  // Now that the window is on a screen: a size that does not fit it shrinks, and the host follows.
  graphics->FitToScreen();
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
  *size = ViewRect{0, 0, graphics->WindowWidth(), graphics->WindowHeight()};
  return kResultOk;
}

tresult IPluginVST3View::onSize(ViewRect* newSize) {
  if (!newSize) return kResultOk;
  PlugViewBase::onSize(newSize);
  IGraphics* graphics = AttachedGraphics(mPlug);
  const int w = newSize->right - newSize->left, h = newSize->bottom - newSize->top;
  const bool hostDriven = !mExpectingNewSize && w > 0 && h > 0;
  if (graphics && hostDriven && (w != graphics->WindowWidth() || h != graphics->WindowHeight())) {
    // The host resized the window (the user dragged it): the editor follows, aspect kept and
    // never larger than the window, and remembers the size. The host has the size already, so
    // nothing is asked back.
    graphics->SetUserScale(graphics->ScaleForWindow(w, h, true), false);
  }
  if (mExpectingNewSize) {
    mPlug->OnWindowResize();
    mExpectingNewSize = false;
  }
  return kResultOk;
}

tresult IPluginVST3View::canResize() { return AttachedGraphics(mPlug) ? kResultTrue : kResultFalse; }

tresult IPluginVST3View::checkSizeConstraint(ViewRect* rect) {
  IGraphics* graphics = AttachedGraphics(mPlug);
  if (!graphics) return kResultFalse;
  if (!rect) return kInvalidArgument;
  const double scale = graphics->ScaleForWindow(rect->right - rect->left, rect->bottom - rect->top);
  rect->right = rect->left + IGraphics::ScaledLength(graphics->Width(), scale);
  rect->bottom = rect->top + IGraphics::ScaledLength(graphics->Height(), scale);
  return kResultTrue;
}

tresult IPluginVST3View::setContentScaleFactor(ScaleFactor factor) {
  IGraphics* graphics = AttachedGraphics(mPlug);
#if defined(__APPLE__)
  // The Cocoa view takes the backing scale from its window; a host's factor would count it twice.
  (void)factor;
  (void)graphics;
  return kResultFalse;
#else
  if (!graphics) return kResultFalse;
  graphics->SetHostScale(factor);
  return kResultTrue;
#endif
}

void IPluginVST3View::resize(int width, int height) {
  mExpectingNewSize = true;
  RequestResize(width, height);
}
