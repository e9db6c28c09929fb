// The context object the host hands to the factory and to initialize.
#include "host/vst3/HostContext.h"

#include <algorithm>

#include "host/vst3/HostMessages.h"
#include "vst3/abi/AudioProcessor.h"
#include "vst3/abi/Component.h"
#include "vst3/abi/EditController.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/support/Utf16.h"

using namespace vst3abi;

namespace qvhost {

tresult HostContext::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IHostApplication::iid)) {
    *obj = static_cast<IHostApplication*>(this);
  } else if (uidEquals(iid, IPlugInterfaceSupport::iid)) {
    *obj = static_cast<IPlugInterfaceSupport*>(this);
  } else if (uidEquals(iid, IRunLoop::iid)) {
    *obj = static_cast<IRunLoop*>(this);
  } else {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 HostContext::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

tresult HostContext::getName(String128 name) {
  if (!name) return kInvalidArgument;
  vstsupport::Utf8ToUtf16(mName.c_str(), name, 128);
  return kResultOk;
}

tresult HostContext::createInstance(TUID cid, TUID interfaceId, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (uidEquals(cid, IMessage::iid) && uidEquals(interfaceId, IMessage::iid)) {
    *obj = static_cast<IMessage*>(new Message);
    return kResultOk;
  }
  if (uidEquals(cid, IAttributeList::iid) && uidEquals(interfaceId, IAttributeList::iid)) {
    *obj = static_cast<IAttributeList*>(new AttributeList);
    return kResultOk;
  }
  return kResultFalse;
}

tresult HostContext::isPlugInterfaceSupported(const TUID interfaceId) {
  const Uid* used[] = {&IComponent::iid, &IAudioProcessor::iid, &IEditController::iid, &IConnectionPoint::iid,
                       &IProcessContextRequirements::iid};
  for (const Uid* u : used) {
    if (uidEquals(interfaceId, *u)) return kResultTrue;
  }
  return kResultFalse;
}

HostContext::~HostContext() {
  if (mRunLoop) mRunLoop->release();
}

void HostContext::setRunLoop(IRunLoop* loop) {
  std::lock_guard<std::mutex> lock(mMutex);
  if (loop) loop->addRef();
  if (mRunLoop) mRunLoop->release();
  mRunLoop = loop;
}

tresult HostContext::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
  if (!handler || fd < 0) return kInvalidArgument;
  std::lock_guard<std::mutex> lock(mMutex);
  if (mRunLoop) return mRunLoop->registerEventHandler(handler, fd);
  mEventHandlers.push_back(handler);
  return kResultTrue;
}

tresult HostContext::unregisterEventHandler(IEventHandler* handler) {
  std::lock_guard<std::mutex> lock(mMutex);
  if (mRunLoop && mRunLoop->unregisterEventHandler(handler) == kResultTrue) return kResultTrue;
  const auto it = std::find(mEventHandlers.begin(), mEventHandlers.end(), handler);
  if (it == mEventHandlers.end()) return kInvalidArgument;
  mEventHandlers.erase(it);
  return kResultTrue;
}

tresult HostContext::registerTimer(ITimerHandler* handler, TimerInterval milliseconds) {
  if (!handler || milliseconds == 0) return kInvalidArgument;
  std::lock_guard<std::mutex> lock(mMutex);
  if (mRunLoop) return mRunLoop->registerTimer(handler, milliseconds);
  mTimers.push_back(handler);
  return kResultTrue;
}

tresult HostContext::unregisterTimer(ITimerHandler* handler) {
  std::lock_guard<std::mutex> lock(mMutex);
  if (mRunLoop && mRunLoop->unregisterTimer(handler) == kResultTrue) return kResultTrue;
  const auto it = std::find(mTimers.begin(), mTimers.end(), handler);
  if (it == mTimers.end()) return kInvalidArgument;
  mTimers.erase(it);
  return kResultTrue;
}

size_t HostContext::registrationCount() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mEventHandlers.size() + mTimers.size();
}

}  // namespace qvhost
