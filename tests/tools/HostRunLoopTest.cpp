// The host's run loop: handlers that change the registrations from inside their callbacks, the
// references the loop holds, descriptors closed behind its back, and a stalled loop catching up.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "host/vst3/HostRunLoop.h"
#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;
using qvhost::HostRunLoop;
using qvhost::Ref;

namespace {

struct Handler : IEventHandler, ITimerHandler {
  tresult VST3ABI_CALL queryInterface(const TUID, void**) override { return kNoInterface; }
  uint32 VST3ABI_CALL addRef() override { return ++refs; }
  uint32 VST3ABI_CALL release() override { return --refs; }
  void VST3ABI_CALL onFDIsSet(FileDescriptor) override {
    ++fdCalls;
    if (onCall) onCall();
  }
  void VST3ABI_CALL onTimer() override {
    ++timerCalls;
    if (onCall) onCall();
  }
  uint32 refs = 1;
  int fdCalls = 0, timerCalls = 0;
  std::function<void()> onCall;
};

TEST(HostRunLoop, HandlersMayUnregisterThemselvesAndOthersMidDispatch) {
  auto loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  Handler a, b;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  EXPECT_EQ(loop->registerEventHandler(&a, fds[0]), kResultTrue);
  EXPECT_EQ(loop->registerTimer(&b, 1), kResultTrue);
  EXPECT_EQ(loop->registerTimer(&b, 0), kInvalidArgument);
  EXPECT_EQ(a.refs, 2u);
  // The descriptor's handler removes both itself and the timer before the timer's turn.
  a.onCall = [&] {
    loop->unregisterEventHandler(&a);
    loop->unregisterTimer(&b);
  };
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  loop->runOnce(0);
  EXPECT_EQ(a.fdCalls, 1);
  EXPECT_EQ(b.timerCalls, 0);
  EXPECT_EQ(loop->registrationCount(), 0u);
  EXPECT_EQ(a.refs, 1u);
  EXPECT_EQ(b.refs, 1u);
  EXPECT_EQ(loop->unregisterTimer(&b), kInvalidArgument);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(HostRunLoop, ClosedDescriptorsAreDroppedAndLateTimersFireOnce) {
  auto loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  Handler watcher, ticker;
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  loop->registerEventHandler(&watcher, fds[0]);
  ::close(fds[0]);
  ::close(fds[1]);
  loop->registerTimer(&ticker, 10);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  loop->runOnce(0);
  EXPECT_EQ(loop->registrationCount(), 1u);
  EXPECT_EQ(watcher.refs, 1u);
  EXPECT_EQ(ticker.timerCalls, 1);
  loop->unregisterTimer(&ticker);
}

}  // namespace
