// Messages between processor and controller: the connection point both sides implement, and the
// host-allocated message with its attribute list.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

// String sizes are in bytes, not characters.
class IAttributeList : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);

  virtual tresult VST3ABI_CALL setInt(AttrID id, int64 value) = 0;
  virtual tresult VST3ABI_CALL getInt(AttrID id, int64* value) = 0;
  virtual tresult VST3ABI_CALL setFloat(AttrID id, double value) = 0;
  virtual tresult VST3ABI_CALL getFloat(AttrID id, double* value) = 0;
  virtual tresult VST3ABI_CALL setString(AttrID id, const TChar* string) = 0;
  virtual tresult VST3ABI_CALL getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
  virtual tresult VST3ABI_CALL setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
  virtual tresult VST3ABI_CALL getBinary(AttrID id, const void** data, uint32* sizeInBytes) = 0;
};

class IMessage : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);

  virtual FIDString VST3ABI_CALL getMessageID() = 0;  // borrowed
  virtual void VST3ABI_CALL setMessageID(FIDString id) = 0;
  virtual IAttributeList* VST3ABI_CALL getAttributes() = 0;  // borrowed
};

// The peer passed to connect may be a host proxy, not the other object itself.
class IConnectionPoint : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

  virtual tresult VST3ABI_CALL connect(IConnectionPoint* other) = 0;
  virtual tresult VST3ABI_CALL disconnect(IConnectionPoint* other) = 0;
  virtual tresult VST3ABI_CALL notify(IMessage* message) = 0;
};

}  // namespace vst3abi
