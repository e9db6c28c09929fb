// The per-block parameter change list the host passes to process.
#include "host/vst3/ParameterChanges.h"

#include <cmath>
#include <new>

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult ParamValueQueue::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IParamValueQueue::iid)) {
    *obj = static_cast<IParamValueQueue*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult ParamValueQueue::getPoint(int32 index, int32* sampleOffset, ParamValue* value) {
  if (index < 0 || static_cast<size_t>(index) >= mPoints.size()) return kResultFalse;
  if (sampleOffset) *sampleOffset = mPoints[static_cast<size_t>(index)].first;
  if (value) *value = mPoints[static_cast<size_t>(index)].second;
  return kResultTrue;
}

tresult ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32* index) {
  if (sampleOffset < 0 || !std::isfinite(value)) return kInvalidArgument;
  size_t pos = mPoints.size();
  while (pos > 0 && mPoints[pos - 1].first > sampleOffset) --pos;
  try {
    if (pos > 0 && mPoints[pos - 1].first == sampleOffset) {
      --pos;
      mPoints[pos].second = value;
    } else {
      mPoints.insert(mPoints.begin() + static_cast<std::ptrdiff_t>(pos), {sampleOffset, value});
    }
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  if (index) *index = static_cast<int32>(pos);
  return kResultTrue;
}

ParamValueQueue* ParameterChangeList::queueFor(ParamID id, int32* index) {
  for (size_t i = 0; i < mUsed; ++i) {
    if (mQueues[i]->getParameterId() == id) {
      if (index) *index = static_cast<int32>(i);
      return mQueues[i].get();
    }
  }
  try {
    if (mUsed == mQueues.size()) mQueues.push_back(std::make_unique<ParamValueQueue>());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  ParamValueQueue* q = mQueues[mUsed].get();
  q->reset(id);
  if (index) *index = static_cast<int32>(mUsed);
  ++mUsed;
  return q;
}

tresult ParameterChangeList::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IParameterChanges::iid)) {
    *obj = static_cast<IParameterChanges*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

IParamValueQueue* ParameterChangeList::getParameterData(int32 index) {
  if (index < 0 || static_cast<size_t>(index) >= mUsed) return nullptr;
  return mQueues[static_cast<size_t>(index)].get();
}

IParamValueQueue* ParameterChangeList::addParameterData(const ParamID* id, int32* index) {
  if (!id) return nullptr;
  return queueFor(*id, index);
}

}  // namespace qvhost
