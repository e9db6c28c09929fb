// The edit controller: parameter descriptions, value/string conversions, controller state and
// the editor view, plus its optional knob-mode/help and MIDI-mapping extensions.
#pragma once

#include "vst3/abi/Factory.h"

namespace vst3abi {

class IBStream;
class IComponentHandler;
class IPlugView;

#pragma pack(push, 16)

struct ParameterInfo {
  enum ParameterFlags : int32 {
    kNoFlags = 0,
    kCanAutomate = 1 << 0,
    kIsReadOnly = 1 << 1,
    kIsWrapAround = 1 << 2,
    kIsList = 1 << 3,
    kIsHidden = 1 << 4,
    kIsProgramChange = 1 << 15,
    kIsBypass = 1 << 16,
  };

  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount;  // 0 continuous, 1 toggle, n: n + 1 discrete values
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;
};

#pragma pack(pop)

static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8, "ParameterInfo");
static_assert(offsetof(ParameterInfo, title) == 4 && offsetof(ParameterInfo, shortTitle) == 260,
              "ParameterInfo");
static_assert(offsetof(ParameterInfo, units) == 516 && offsetof(ParameterInfo, stepCount) == 772,
              "ParameterInfo");
static_assert(offsetof(ParameterInfo, defaultNormalizedValue) == 776 &&
                  offsetof(ParameterInfo, unitId) == 784,
              "ParameterInfo");
static_assert(offsetof(ParameterInfo, flags) == 788, "ParameterInfo");

// View name for createView and requestOpenEditor.
constexpr const char* kEditorViewName = "editor";

// setState/getState of this interface are renamed: an object that is both component and
// controller must be able to answer the two slots differently. Only the slot order is binary.
class IEditController : public IPluginBase {
 public:
  static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

  virtual tresult VST3ABI_CALL setComponentState(IBStream* state) = 0;
  virtual tresult VST3ABI_CALL setControllerState(IBStream* state) = 0;
  virtual tresult VST3ABI_CALL getControllerState(IBStream* state) = 0;
  virtual int32 VST3ABI_CALL getParameterCount() = 0;
  virtual tresult VST3ABI_CALL getParameterInfo(int32 paramIndex, ParameterInfo* info) = 0;
  virtual tresult VST3ABI_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                     String128 string) = 0;
  virtual tresult VST3ABI_CALL getParamValueByString(ParamID id, TChar* string,
                                                     ParamValue* valueNormalized) = 0;
  virtual ParamValue VST3ABI_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue VST3ABI_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue VST3ABI_CALL getParamNormalized(ParamID id) = 0;
  virtual tresult VST3ABI_CALL setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult VST3ABI_CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* VST3ABI_CALL createView(FIDString name) = 0;  // owned +1, may be null
};

enum KnobModes : int32 { kCircularMode = 0, kRelativeCircularMode = 1, kLinearMode = 2 };

class IEditController2 : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);

  virtual tresult VST3ABI_CALL setKnobMode(KnobMode mode) = 0;
  virtual tresult VST3ABI_CALL openHelp(TBool onlyCheck) = 0;
  virtual tresult VST3ABI_CALL openAboutBox(TBool onlyCheck) = 0;
};

class IMidiMapping : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);

  virtual tresult VST3ABI_CALL getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                           CtrlNumber midiControllerNumber, ParamID* id) = 0;
};

}  // namespace vst3abi
