// Messages a plug-in allocates through the host context to talk between its processor and
// controller: an attribute list of ints, floats, strings and binary blobs under a message id.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/vst3/Ref.h"
#include "host/vst3/RefCount.h"
#include "vst3/abi/Messages.h"

namespace qvhost {

class AttributeList final : public vst3abi::IAttributeList {
 public:
  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::tresult VST3ABI_CALL setInt(vst3abi::AttrID id, vst3abi::int64 value) override;
  vst3abi::tresult VST3ABI_CALL getInt(vst3abi::AttrID id, vst3abi::int64* value) override;
  vst3abi::tresult VST3ABI_CALL setFloat(vst3abi::AttrID id, double value) override;
  vst3abi::tresult VST3ABI_CALL getFloat(vst3abi::AttrID id, double* value) override;
  vst3abi::tresult VST3ABI_CALL setString(vst3abi::AttrID id, const vst3abi::TChar* string) override;
  vst3abi::tresult VST3ABI_CALL getString(vst3abi::AttrID id, vst3abi::TChar* string,
                                          vst3abi::uint32 sizeInBytes) override;
  vst3abi::tresult VST3ABI_CALL setBinary(vst3abi::AttrID id, const void* data,
                                          vst3abi::uint32 sizeInBytes) override;
  vst3abi::tresult VST3ABI_CALL getBinary(vst3abi::AttrID id, const void** data,
                                          vst3abi::uint32* sizeInBytes) override;

 private:
  ~AttributeList() = default;

  struct Value {
    enum Kind { kInt, kFloat, kString, kBinary } kind = kInt;
    int64_t i = 0;
    double f = 0;
    std::u16string s;
    std::vector<uint8_t> bytes;
  };
  const Value* find(vst3abi::AttrID id, Value::Kind kind) const;

  RefCount mRefs;
  std::map<std::string, Value> mValues;
};

class Message final : public vst3abi::IMessage {
 public:
  Message();

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::FIDString VST3ABI_CALL getMessageID() override { return mId.c_str(); }
  void VST3ABI_CALL setMessageID(vst3abi::FIDString id) override { mId = id ? id : ""; }
  vst3abi::IAttributeList* VST3ABI_CALL getAttributes() override { return mAttributes.get(); }

 private:
  ~Message() = default;

  RefCount mRefs;
  std::string mId;
  Ref<AttributeList> mAttributes;
};

}  // namespace qvhost
