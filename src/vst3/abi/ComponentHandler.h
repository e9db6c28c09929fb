// The host's component handler: how a controller reports edits, asks for restarts, marks the
// project dirty and requests bus activation. Called on the UI thread only.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

enum RestartFlags : int32 {
  kReloadComponent = 1 << 0,
  kIoChanged = 1 << 1,
  kParamValuesChanged = 1 << 2,
  kLatencyChanged = 1 << 3,
  kParamTitlesChanged = 1 << 4,
  kMidiCCAssignmentChanged = 1 << 5,
  kNoteExpressionChanged = 1 << 6,
  kIoTitlesChanged = 1 << 7,
  kPrefetchableSupportChanged = 1 << 8,
  kRoutingInfoChanged = 1 << 9,
  kKeyswitchChanged = 1 << 10,
  kParamIDMappingChanged = 1 << 11,
};

class IComponentHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

  virtual tresult VST3ABI_CALL beginEdit(ParamID id) = 0;
  virtual tresult VST3ABI_CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult VST3ABI_CALL endEdit(ParamID id) = 0;
  virtual tresult VST3ABI_CALL restartComponent(int32 flags) = 0;
};

class IComponentHandler2 : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);

  virtual tresult VST3ABI_CALL setDirty(TBool state) = 0;
  virtual tresult VST3ABI_CALL requestOpenEditor(FIDString name) = 0;
  virtual tresult VST3ABI_CALL startGroupEdit() = 0;
  virtual tresult VST3ABI_CALL finishGroupEdit() = 0;
};

class IComponentHandlerBusActivation : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x067D02C1, 0x5B4E274D, 0xA92D90FD, 0x6EAF7240);

  virtual tresult VST3ABI_CALL requestBusActivation(MediaType type, BusDirection dir, int32 index,
                                                    TBool state) = 0;
};

}  // namespace vst3abi
