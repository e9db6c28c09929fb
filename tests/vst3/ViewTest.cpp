// The editor view through the host's view protocol, with an engine whose window registers a
// descriptor and a timer on the host's run loop the way the X11 window does: platform types,
// size reports, the open/close/reopen orders hosts use, resize requests and who outlives whom.
#include "TestPlug.h"

#include "HostRunLoop.h"
#include "Ref.h"
#include "graphics/platform/IRunLoopBridge.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "vst3/IPluginVST3View.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/RunLoop.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace vst3abi;
using qvhost::HostRunLoop;
using qvhost::Ref;

namespace {

// A window that needs the host's loop: a readable pipe and a 10 ms timer while it is open.
class LoopEngine : public IGraphicsHeadless, public IRunLoopBridge::Client {
 public:
  LoopEngine(IPlugin* plug, int w, int h) : IGraphicsHeadless(plug, w, h) {
    EXPECT_EQ(::pipe(mPipe), 0);
  }
  void Poke() { EXPECT_EQ(::write(mPipe[1], "x", 1), 1); }
  ~LoopEngine() override {
    ::close(mPipe[0]);
    ::close(mPipe[1]);
  }
  void SetHostRunLoop(IRunLoopBridge* loop) override { bridge = loop; }
  void* OpenWindow(void* parent) override {
    if (failOpen) return nullptr;
    void* window = IGraphicsHeadless::OpenWindow(parent);
    if (bridge) {
      bridge->WatchFD(mPipe[0], this);
      bridge->StartTimer(10, this);
    }
    return window;
  }
  void CloseWindow() override {
    if (bridge) {
      bridge->UnwatchFD(this);
      bridge->StopTimer(this);
    }
    IGraphicsHeadless::CloseWindow();
  }
  void OnFDReady(int fd) override {
    char c;
    if (::read(fd, &c, 1) == 1) ++fdCalls;
  }
  void OnTimer() override { ++timerCalls; }

  IRunLoopBridge* bridge = nullptr;
  bool failOpen = false;
  int fdCalls = 0, timerCalls = 0;

 private:
  int mPipe[2] = {-1, -1};
};

struct EditorPlug : TestPlug {
  explicit EditorPlug(bool* destroyed, bool withEngine = true) : mDestroyed(destroyed) {
    if (withEngine) {
      engine = new LoopEngine(this, 320, 240);
      AttachGraphics(engine);
    }
  }
  ~EditorPlug() override { *mDestroyed = true; }
  void OnGUIOpen() override { ++opened; }
  void OnGUIClose() override { ++closed; }
  void OnWindowResize() override { ++resized; }

  LoopEngine* engine = nullptr;
  int opened = 0, closed = 0, resized = 0;
  bool* mDestroyed;
};

// A host frame that offers the run loop (when given one) and answers resize requests with onSize
// inside the call.
class Frame : public IPlugFrame {
 public:
  explicit Frame(HostRunLoop* loop) : mLoop(loop) {}
  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (uidEquals(iid, IRunLoop::iid) && mLoop) return mLoop->queryInterface(iid, obj);
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return ++refs; }
  uint32 VST3ABI_CALL release() override { return --refs; }
  tresult VST3ABI_CALL resizeView(IPlugView* view, ViewRect* r) override {
    requests.push_back(*r);
    return view->onSize(r);
  }
  std::vector<ViewRect> requests;
  uint32 refs = 1;

 private:
  HostRunLoop* mLoop;
};

const ViewRect kSize{0, 0, 320, 240};

bool Equal(const ViewRect& a, const ViewRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct Host {
  bool destroyed = false;
  EditorPlug* plug;
  Ref<HostRunLoop> loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  Frame frame{loop.get()};
  explicit Host(bool withEngine = true) : plug(new EditorPlug(&destroyed, withEngine)) {}
  ~Host() {
    if (!destroyed) plug->release();
  }
  IPlugView* Open() {
    IPlugView* view = plug->createView("editor");
    view->setFrame(&frame);
    EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x1234), kPlatformTypeX11EmbedWindowID), kResultTrue);
    return view;
  }
  // The order the protocol asks of hosts: frame cleared, removed, released.
  void Close(IPlugView* view) {
    view->setFrame(nullptr);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(view->release(), 0u);
  }
};

TEST(EditorView, CreatedOnlyForTheExactName) {
  Host h;
  for (const char* name : {"Editor", "EDITOR", "editor ", "", "view"}) EXPECT_EQ(h.plug->createView(name), nullptr);
  EXPECT_EQ(h.plug->createView(nullptr), nullptr);
  IPlugView* view = h.plug->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->canResize(), kResultFalse);
  EXPECT_EQ(view->release(), 0u);
}

TEST(EditorView, PlatformTypesAndSizeFollowTheEngine) {
  Host with;
  IPlugView* view = with.plug->createView("editor");
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  for (const char* type : {"x11embedwindowid", "NSView", "HIView", "HWND", ""})
    EXPECT_EQ(view->isPlatformTypeSupported(type), kResultFalse) << type;
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  ViewRect r{};
  ASSERT_EQ(view->getSize(&r), kResultOk);
  EXPECT_TRUE(Equal(r, kSize));
  view->release();

  Host without(false);
  view = without.plug->createView("editor");
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->getSize(&r), kResultFalse);
  EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x1234), kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(without.plug->opened, 0);
  view->release();
}

TEST(EditorView, WindowRunsOnTheHostLoopUntilRemovedAndReopens) {
  Host h;
  for (int round = 0; round < 2; ++round) {
    IPlugView* view = h.Open();
    EXPECT_EQ(h.plug->engine->WindowParent(), reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(h.plug->opened, round + 1);
    EXPECT_EQ(h.loop->registrationCount(), 2u);
    h.plug->engine->Poke();
    for (int i = 0; i < 100 && h.plug->engine->timerCalls < 2; ++i) h.loop->runOnce(20);
    EXPECT_GE(h.plug->engine->timerCalls, 2);
    EXPECT_EQ(h.plug->engine->fdCalls, 1);

    h.Close(view);
    EXPECT_EQ(h.plug->closed, round + 1);
    EXPECT_EQ(h.plug->engine->GetWindow(), nullptr);
    EXPECT_EQ(h.plug->engine->bridge, nullptr);
    EXPECT_EQ(h.loop->registrationCount(), 0u);
    h.plug->engine->timerCalls = h.plug->engine->fdCalls = 0;
  }
  // The view gave the frame back and kept no reference of its own.
  EXPECT_EQ(h.frame.refs, 1u);
}

TEST(EditorView, ReleasedWithoutRemovedStillClosesTheWindow) {
  Host h;
  IPlugView* view = h.Open();
  EXPECT_EQ(view->release(), 0u);
  EXPECT_EQ(h.plug->closed, 1);
  EXPECT_EQ(h.plug->engine->GetWindow(), nullptr);
  EXPECT_EQ(h.loop->registrationCount(), 0u);
  h.loop->runOnce(0);
}

TEST(EditorView, OneWindowAtATimeAndAFailedOpenLeavesNothingBehind) {
  Host h;
  IPlugView* first = h.Open();
  IPlugView* second = h.plug->createView("editor");
  second->setFrame(&h.frame);
  EXPECT_EQ(second->attached(reinterpret_cast<void*>(0x99), kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(h.plug->engine->WindowParent(), reinterpret_cast<void*>(0x1234));
  // Removing the view that never opened must not close the first one's window.
  second->removed();
  EXPECT_NE(h.plug->engine->GetWindow(), nullptr);
  second->release();
  h.Close(first);

  h.plug->engine->failOpen = true;
  IPlugView* view = h.plug->createView("editor");
  view->setFrame(&h.frame);
  EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x1234), kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(h.plug->engine->bridge, nullptr);
  EXPECT_EQ(h.plug->opened, 1);
  h.Close(view);
  EXPECT_EQ(h.plug->closed, 1);
}

TEST(EditorView, HostsWithoutARunLoopStillGetTheWindow) {
  Host h;
  Frame bare(nullptr);
  IPlugView* view = h.plug->createView("editor");
  view->setFrame(&bare);
  EXPECT_EQ(view->attached(reinterpret_cast<void*>(0x1234), kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(h.plug->engine->bridge, nullptr);
  EXPECT_NE(h.plug->engine->GetWindow(), nullptr);
  view->setFrame(nullptr);
  view->removed();
  view->release();
}

TEST(EditorView, OnlyRequestedSizesReachThePlugIn) {
  Host h;
  IPlugView* view = h.Open();
  ViewRect hostSize{0, 0, 400, 300};
  EXPECT_EQ(view->onSize(&hostSize), kResultOk);
  EXPECT_EQ(view->onSize(nullptr), kResultOk);
  EXPECT_EQ(h.plug->resized, 0);
  EXPECT_TRUE(Equal(static_cast<IPluginVST3View*>(view)->GetRect(), hostSize));

  h.plug->ResizeGraphics(500, 350);
  ASSERT_EQ(h.frame.requests.size(), 1u);
  EXPECT_TRUE(Equal(h.frame.requests[0], ViewRect{0, 0, 500, 350}));
  EXPECT_EQ(h.plug->resized, 1);
  EXPECT_EQ(view->onSize(&hostSize), kResultOk);
  EXPECT_EQ(h.plug->resized, 1);
  h.Close(view);
}

TEST(EditorView, ListedViewsNeverDangle) {
  Host h;
  IPlugView* older = h.plug->createView("editor");
  IPlugView* newer = h.Open();
  // Destroying the older view empties the list, so the newer one is no longer asked to resize.
  older->release();
  h.plug->ResizeGraphics(500, 350);
  h.plug->PopupHostContextMenuForParam(TestPlug::kGain, 1, 1);
  EXPECT_TRUE(h.frame.requests.empty());
  h.Close(newer);
  h.plug->ResizeGraphics(500, 350);
  EXPECT_TRUE(h.frame.requests.empty());
}

TEST(EditorView, ThePlugInOutlivesItsOpenView) {
  Host h;
  IPlugView* view = h.Open();
  h.plug->terminate();
  h.plug->release();  // the host lets go of the plug-in with the editor still open
  EXPECT_FALSE(h.destroyed);
  h.loop->runOnce(15);
  h.Close(view);
  EXPECT_TRUE(h.destroyed);
}

}  // namespace
