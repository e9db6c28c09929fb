// The host context passed to initialize: host name, object creation for messages, and the
// optional query of which plug-in interfaces the host supports.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

class IHostApplication : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

  virtual tresult VST3ABI_CALL getName(String128 name) = 0;
  // cid and iid both name IMessage (or IAttributeList); the object is owned +1 by the caller.
  virtual tresult VST3ABI_CALL createInstance(TUID cid, TUID interfaceId, void** obj) = 0;
};

class IPlugInterfaceSupport : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x4FB58B9E, 0x9EAA4E0F, 0xAB361C1C, 0xCCB56FEA);

  virtual tresult VST3ABI_CALL isPlugInterfaceSupported(const TUID interfaceId) = 0;
};

}  // namespace vst3abi
