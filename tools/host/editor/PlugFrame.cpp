// The frame around an embedded editor view.
#include "host/editor/PlugFrame.h"

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult PlugFrame::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IPlugFrame::iid)) {
    *obj = static_cast<IPlugFrame*>(this);
  } else if (uidEquals(iid, IRunLoop::iid)) {
    *obj = static_cast<IRunLoop*>(this);
  } else {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 PlugFrame::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

tresult PlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize) return kInvalidArgument;
  if (!mWindow || view != mView) return kResultFalse;
  ++mResizeRequests;
  const int width = newSize->right - newSize->left;
  const int height = newSize->bottom - newSize->top;
  if (width == mWindow->width() && height == mWindow->height()) return kResultTrue;
  if (!mWindow->resize(width, height)) return kResultFalse;
  // The view learns its new size before the request returns, as the protocol promises.
  ViewRect rect = *newSize;
  view->onSize(&rect);
  return kResultTrue;
}

}  // namespace qvhost
