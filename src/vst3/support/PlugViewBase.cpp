// Editor view base.
#include "vst3/support/PlugViewBase.h"

using namespace vst3abi;

namespace vstsupport {

PlugViewBase::PlugViewBase(const ViewRect* rect) {
  if (rect) mRect = *rect;
}

PlugViewBase::~PlugViewBase() {
  if (mFrame) mFrame->release();
}

tresult PlugViewBase::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (iid && (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IPlugView::iid))) {
    addRef();
    *obj = static_cast<IPlugView*>(this);
    return kResultOk;
  }
  return kNoInterface;
}

uint32 PlugViewBase::addRef() { return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32 PlugViewBase::release() {
  const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

tresult PlugViewBase::isPlatformTypeSupported(FIDString) { return kResultFalse; }

tresult PlugViewBase::attached(void* parent, FIDString) {
  mParent = parent;
  return kResultOk;
}

tresult PlugViewBase::removed() {
  mParent = nullptr;
  return kResultOk;
}

tresult PlugViewBase::onWheel(float) { return kResultFalse; }

tresult PlugViewBase::onKeyDown(char16, int16, int16) { return kResultFalse; }

tresult PlugViewBase::onKeyUp(char16, int16, int16) { return kResultFalse; }

tresult PlugViewBase::getSize(ViewRect* size) {
  if (!size) return kInvalidArgument;
  *size = mRect;
  return kResultOk;
}

tresult PlugViewBase::onSize(ViewRect* newSize) {
  if (newSize) mRect = *newSize;
  return kResultOk;
}

tresult PlugViewBase::onFocus(TBool) { return kResultFalse; }

tresult PlugViewBase::setFrame(IPlugFrame* frame) {
  if (frame) frame->addRef();
  if (mFrame) mFrame->release();
  mFrame = frame;
  return kResultOk;
}

tresult PlugViewBase::canResize() { return kResultFalse; }

tresult PlugViewBase::checkSizeConstraint(ViewRect*) { return kResultFalse; }

bool PlugViewBase::RequestResize(int width, int height) {
  if (!mFrame) return false;
  ViewRect r{0, 0, width, height};
  return mFrame->resizeView(this, &r) == kResultOk;
}

}  // namespace vstsupport
