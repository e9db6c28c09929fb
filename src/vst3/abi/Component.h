// The audio component: its busses, routing, activation and processor state.
#pragma once

#include "vst3/abi/Factory.h"

namespace vst3abi {

class IBStream;

enum MediaTypes : int32 { kAudio = 0, kEvent = 1, kNumMediaTypes = 2 };
enum BusDirections : int32 { kInput = 0, kOutput = 1 };
// Main busses come before aux (side-chain) busses in the bus list.
enum BusTypes : int32 { kMain = 0, kAux = 1 };
enum IoModes : int32 { kSimple = 0, kAdvanced = 1, kOfflineProcessing = 2 };

#pragma pack(push, 16)

struct BusInfo {
  enum BusFlags : uint32 {
    kDefaultActive = 1 << 0,
    kIsControlVoltage = 1 << 1,
  };

  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};

struct RoutingInfo {
  MediaType mediaType;
  int32 busIndex;
  int32 channel;  // -1: all channels
};

#pragma pack(pop)

static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4, "BusInfo");
static_assert(offsetof(BusInfo, channelCount) == 8 && offsetof(BusInfo, name) == 12, "BusInfo");
static_assert(offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272, "BusInfo");
static_assert(sizeof(RoutingInfo) == 12 && alignof(RoutingInfo) == 4, "RoutingInfo");

class IComponent : public IPluginBase {
 public:
  static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

  virtual tresult VST3ABI_CALL getControllerClassId(TUID classId) = 0;
  virtual tresult VST3ABI_CALL setIoMode(IoMode mode) = 0;
  virtual int32 VST3ABI_CALL getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult VST3ABI_CALL getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo* bus) = 0;
  virtual tresult VST3ABI_CALL getRoutingInfo(RoutingInfo* inInfo, RoutingInfo* outInfo) = 0;
  virtual tresult VST3ABI_CALL activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
  virtual tresult VST3ABI_CALL setActive(TBool state) = 0;
  // Processor state; may arrive while processing.
  virtual tresult VST3ABI_CALL setState(IBStream* state) = 0;
  virtual tresult VST3ABI_CALL getState(IBStream* state) = 0;
};

}  // namespace vst3abi
