// The event list passed with each process call.
#include "host/vst3/EventList.h"

#include <new>

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult EventList::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IEventList::iid)) {
    *obj = static_cast<IEventList*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult EventList::getEvent(int32 index, Event* e) {
  if (!e || index < 0 || static_cast<size_t>(index) >= mEvents.size()) return kInvalidArgument;
  *e = mEvents[static_cast<size_t>(index)];
  return kResultOk;
}

tresult EventList::addEvent(Event* e) {
  if (!e) return kInvalidArgument;
  if (mEvents.size() >= kMaxEvents) return kOutOfMemory;
  try {
    mEvents.push_back(*e);
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return kResultOk;
}

}  // namespace qvhost
