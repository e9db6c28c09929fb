// Sample-accurate parameter changes the host delivers with each process call (and the plug-in
// may report back): one queue per changed parameter, points sorted by sample offset.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

class IParamValueQueue : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

  virtual ParamID VST3ABI_CALL getParameterId() = 0;
  virtual int32 VST3ABI_CALL getPointCount() = 0;
  // kResultFalse for an index out of range.
  virtual tresult VST3ABI_CALL getPoint(int32 index, int32* sampleOffset, ParamValue* value) = 0;
  virtual tresult VST3ABI_CALL addPoint(int32 sampleOffset, ParamValue value, int32* index) = 0;
};

class IParameterChanges : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

  virtual int32 VST3ABI_CALL getParameterCount() = 0;
  virtual IParamValueQueue* VST3ABI_CALL getParameterData(int32 index) = 0;  // borrowed, null if out of range
  // The id arrives by address; returns the existing queue when the id is already present.
  virtual IParamValueQueue* VST3ABI_CALL addParameterData(const ParamID* id, int32* index) = 0;
};

}  // namespace vst3abi
