// Bus lists of a component.
#include "vst3/support/BusList.h"

#include "vst3/support/Utf16.h"

namespace vstsupport {

Bus& BusList::Add(const char* name, vst3abi::BusType type, vst3abi::uint32 flags) {
  Bus bus;
  Utf8ToUtf16(name, bus.name, 128);
  bus.busType = type;
  bus.flags = flags;
  bus.active = (flags & vst3abi::BusInfo::kDefaultActive) != 0;
  mBusses.push_back(bus);
  return mBusses.back();
}

}  // namespace vstsupport
