// Messages a plug-in allocates through the host context.
#include "host/vst3/HostMessages.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult AttributeList::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IAttributeList::iid)) {
    *obj = static_cast<IAttributeList*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 AttributeList::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

namespace {

// Replaces whatever id held with what fill writes; the map insertion and the string or blob copy
// may run out of memory, which the plug-in hears as a result code.
template <class Values, class Fill>
tresult replaceValue(Values& values, AttrID id, Fill fill) {
  try {
    auto& v = values[id];
    v = {};
    fill(v);
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return kResultOk;
}

}  // namespace

const AttributeList::Value* AttributeList::find(AttrID id, Value::Kind kind) const {
  if (!id) return nullptr;
  const auto it = mValues.find(id);
  return it != mValues.end() && it->second.kind == kind ? &it->second : nullptr;
}

tresult AttributeList::setInt(AttrID id, int64 value) {
  if (!id) return kInvalidArgument;
  return replaceValue(mValues, id, [&](Value& v) {
    v.kind = Value::kInt;
    v.i = value;
  });
}

tresult AttributeList::getInt(AttrID id, int64* value) {
  const Value* v = find(id, Value::kInt);
  if (!v || !value) return kResultFalse;
  *value = v->i;
  return kResultOk;
}

tresult AttributeList::setFloat(AttrID id, double value) {
  if (!id) return kInvalidArgument;
  return replaceValue(mValues, id, [&](Value& v) {
    v.kind = Value::kFloat;
    v.f = value;
  });
}

tresult AttributeList::getFloat(AttrID id, double* value) {
  const Value* v = find(id, Value::kFloat);
  if (!v || !value) return kResultFalse;
  *value = v->f;
  return kResultOk;
}

tresult AttributeList::setString(AttrID id, const TChar* string) {
  if (!id || !string) return kInvalidArgument;
  return replaceValue(mValues, id, [&](Value& v) {
    v.kind = Value::kString;
    v.s = string;
  });
}

tresult AttributeList::getString(AttrID id, TChar* string, uint32 sizeInBytes) {
  const Value* v = find(id, Value::kString);
  if (!v || !string || sizeInBytes < sizeof(TChar)) return kResultFalse;
  const size_t capacity = sizeInBytes / sizeof(TChar);
  const size_t n = std::min(v->s.size(), capacity - 1);
  std::memcpy(string, v->s.data(), n * sizeof(TChar));
  string[n] = 0;
  return kResultOk;
}

tresult AttributeList::setBinary(AttrID id, const void* data, uint32 sizeInBytes) {
  if (!id || (!data && sizeInBytes > 0)) return kInvalidArgument;
  return replaceValue(mValues, id, [&](Value& v) {
    v.kind = Value::kBinary;
    const auto* p = static_cast<const uint8_t*>(data);
    v.bytes.assign(p, p + sizeInBytes);
  });
}

tresult AttributeList::getBinary(AttrID id, const void** data, uint32* sizeInBytes) {
  const Value* v = find(id, Value::kBinary);
  if (!v || !data || !sizeInBytes) return kResultFalse;
  *data = v->bytes.data();
  *sizeInBytes = static_cast<uint32>(v->bytes.size());
  return kResultOk;
}

Message::Message() : mAttributes(Ref<AttributeList>::adopt(new AttributeList)) {}

tresult Message::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IMessage::iid)) {
    *obj = static_cast<IMessage*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 Message::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

}  // namespace qvhost
