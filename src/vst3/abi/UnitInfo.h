// Units (parameter groups) and program lists a controller may describe, and the host's
// optional unit-selection callback.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

class IBStream;

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;

#pragma pack(push, 16)

struct UnitInfo {
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};

struct ProgramListInfo {
  ProgramListID id;
  String128 name;
  int32 programCount;
};

#pragma pack(pop)

static_assert(sizeof(UnitInfo) == 268 && alignof(UnitInfo) == 4, "UnitInfo");
static_assert(offsetof(UnitInfo, name) == 8 && offsetof(UnitInfo, programListId) == 264, "UnitInfo");
static_assert(sizeof(ProgramListInfo) == 264 && alignof(ProgramListInfo) == 4, "ProgramListInfo");
static_assert(offsetof(ProgramListInfo, programCount) == 260, "ProgramListInfo");

class IUnitInfo : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

  virtual int32 VST3ABI_CALL getUnitCount() = 0;
  virtual tresult VST3ABI_CALL getUnitInfo(int32 unitIndex, UnitInfo* info) = 0;
  virtual int32 VST3ABI_CALL getProgramListCount() = 0;
  virtual tresult VST3ABI_CALL getProgramListInfo(int32 listIndex, ProgramListInfo* info) = 0;
  virtual tresult VST3ABI_CALL getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
  virtual tresult VST3ABI_CALL getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                              String128 attributeValue) = 0;
  virtual tresult VST3ABI_CALL hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
  virtual tresult VST3ABI_CALL getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                                   String128 name) = 0;
  virtual UnitID VST3ABI_CALL getSelectedUnit() = 0;
  virtual tresult VST3ABI_CALL selectUnit(UnitID unitId) = 0;
  virtual tresult VST3ABI_CALL getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                            UnitID* unitId) = 0;
  virtual tresult VST3ABI_CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;
};

class IUnitHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);

  virtual tresult VST3ABI_CALL notifyUnitSelection(UnitID unitId) = 0;
  virtual tresult VST3ABI_CALL notifyProgramListChange(ProgramListID listId, int32 programIndex) = 0;
};

}  // namespace vst3abi
