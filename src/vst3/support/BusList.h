// The busses a component declares: one ordered list per media type and direction. Audio busses
// carry a speaker arrangement; event busses a channel count. A bus flagged default-active starts
// active, so a host that never calls activateBus still gets its main busses processed.
#pragma once

#include "vst3/abi/Component.h"
#include "vst3/abi/Speakers.h"

#include <vector>

namespace vstsupport {

struct Bus {
  vst3abi::String128 name{};
  vst3abi::BusType busType = vst3abi::kMain;
  vst3abi::uint32 flags = 0;
  bool active = false;
  vst3abi::SpeakerArrangement arrangement = 0;  // audio busses
  vst3abi::int32 eventChannels = 0;             // event busses

  vst3abi::int32 ChannelCount(vst3abi::MediaType type) const {
    return type == vst3abi::kAudio ? vst3abi::channelCount(arrangement) : eventChannels;
  }
};

class BusList {
 public:
  // Allocates; call only from the host's set-up calls.
  Bus& Add(const char* name, vst3abi::BusType type, vst3abi::uint32 flags);
  void Clear() { mBusses.clear(); }
  int Count() const { return static_cast<int>(mBusses.size()); }
  Bus* Get(int idx) { return idx >= 0 && idx < Count() ? &mBusses[idx] : nullptr; }
  const Bus* Get(int idx) const { return idx >= 0 && idx < Count() ? &mBusses[idx] : nullptr; }

 private:
  std::vector<Bus> mBusses;
};

}  // namespace vstsupport
