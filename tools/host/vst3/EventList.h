// The event list passed with each process call; this host sends no notes, but plug-ins with
// event busses get a valid (empty) list and may add output events to theirs.
#pragma once

#include <vector>

#include "host/vst3/RefCount.h"
#include "vst3/abi/Events.h"

namespace qvhost {

class EventList final : public vst3abi::IEventList {
 public:
  EventList() { mEvents.reserve(128); }
  EventList(const EventList&) = delete;
  EventList& operator=(const EventList&) = delete;

  void clear() { mEvents.clear(); }

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  // Lives as long as its owner; counting is informational.
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override { return mRefs.sub(); }

  vst3abi::int32 VST3ABI_CALL getEventCount() override { return static_cast<vst3abi::int32>(mEvents.size()); }
  vst3abi::tresult VST3ABI_CALL getEvent(vst3abi::int32 index, vst3abi::Event* e) override;
  vst3abi::tresult VST3ABI_CALL addEvent(vst3abi::Event* e) override;

  // A plug-in filling its output list may not flood the host's memory.
  static constexpr size_t kMaxEvents = 1 << 16;

 private:
  RefCount mRefs;
  std::vector<vst3abi::Event> mEvents;
};

}  // namespace qvhost
