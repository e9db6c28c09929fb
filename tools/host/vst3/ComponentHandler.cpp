// The host's component handler.
#include "host/vst3/ComponentHandler.h"

#include <cmath>
#include <new>

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult ComponentHandler::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IComponentHandler::iid)) {
    *obj = static_cast<IComponentHandler*>(this);
  } else if (uidEquals(iid, IComponentHandler2::iid)) {
    *obj = static_cast<IComponentHandler2*>(this);
  } else if (uidEquals(iid, IComponentHandler3::iid)) {
    *obj = static_cast<IComponentHandler3*>(this);
  } else if (uidEquals(iid, IComponentHandlerBusActivation::iid)) {
    *obj = static_cast<IComponentHandlerBusActivation*>(this);
  } else if (uidEquals(iid, IUnitHandler::iid)) {
    *obj = static_cast<IUnitHandler*>(this);
  } else {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 ComponentHandler::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

tresult ComponentHandler::beginEdit(ParamID id) {
  mGestures.fetch_add(1, std::memory_order_relaxed);
  log(Gesture::kBegin, id, 0);
  return kResultOk;
}

tresult ComponentHandler::performEdit(ParamID id, ParamValue valueNormalized) {
  if (!std::isfinite(valueNormalized)) return kInvalidArgument;
  log(Gesture::kPerform, id, valueNormalized);
  return hostEdit(id, valueNormalized);
}

tresult ComponentHandler::hostEdit(ParamID id, ParamValue valueNormalized) {
  if (!std::isfinite(valueNormalized)) return kInvalidArgument;
  std::lock_guard<std::mutex> lock(mMutex);
  if (mEdits.size() >= kMaxPendingEdits) return kOutOfMemory;
  try {
    mEdits.push_back({id, valueNormalized});
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return kResultOk;
}

tresult ComponentHandler::endEdit(ParamID id) {
  mGestures.fetch_sub(1, std::memory_order_relaxed);
  log(Gesture::kEnd, id, 0);
  return kResultOk;
}

tresult ComponentHandler::restartComponent(int32 flags) {
  mRestartFlags.fetch_or(flags);
  return kResultOk;
}

tresult ComponentHandler::setDirty(TBool state) {
  mDirty.store(state != 0, std::memory_order_relaxed);
  return kResultOk;
}

tresult ComponentHandler::requestOpenEditor(FIDString) { return kResultFalse; }

tresult ComponentHandler::requestBusActivation(MediaType, BusDirection, int32, TBool) {
  // The command line decides which busses carry audio; refuse rather than pretend.
  return kResultFalse;
}

std::vector<ComponentHandler::Edit> ComponentHandler::takeEdits() {
  std::lock_guard<std::mutex> lock(mMutex);
  std::vector<Edit> out;
  out.swap(mEdits);
  return out;
}

void ComponentHandler::logGestures(bool on) {
  std::lock_guard<std::mutex> lock(mMutex);
  mLogGestures = on;
  if (!on) mGestureLog.clear();
}

std::vector<ComponentHandler::Gesture> ComponentHandler::takeGestures() {
  std::lock_guard<std::mutex> lock(mMutex);
  std::vector<Gesture> out;
  out.swap(mGestureLog);
  return out;
}

void ComponentHandler::log(Gesture::Kind kind, ParamID id, ParamValue value) {
  std::lock_guard<std::mutex> lock(mMutex);
  if (!mLogGestures || mGestureLog.size() >= kMaxPendingEdits) return;
  try {
    mGestureLog.push_back({kind, id, value});
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace qvhost
