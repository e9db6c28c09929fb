// Linux editors have no global event loop: the host's run loop delivers X11 connection events and
// timers to the plug-in on the UI thread.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

using FileDescriptor = int;
using TimerInterval = uint64;  // milliseconds

class IEventHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

  virtual void VST3ABI_CALL onFDIsSet(FileDescriptor fd) = 0;
};

class ITimerHandler : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

  virtual void VST3ABI_CALL onTimer() = 0;
};

class IRunLoop : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

  virtual tresult VST3ABI_CALL registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
  virtual tresult VST3ABI_CALL unregisterEventHandler(IEventHandler* handler) = 0;
  virtual tresult VST3ABI_CALL registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
  virtual tresult VST3ABI_CALL unregisterTimer(ITimerHandler* handler) = 0;
};

}  // namespace vst3abi
