// The editor view through the host's view protocol, with an engine whose window runs a timer on
// the host's run loop the way the X11 window does: names and platform types, the open, close and
// reopen orders hosts use, resize requests, and who outlives whom.
#include "TestPlug.h"

#include "graphics/IControl.h"
#include "graphics/platform/IRunLoopBridge.h"
#include "graphics/platform/headless/IGraphicsHeadless.h"
#include "host/vst3/HostRunLoop.h"
#include "host/vst3/Ref.h"
#include "vst3/IPluginVST3View.h"
#include "vst3/abi/ComponentHandler.h"
#include "vst3/abi/ContextMenu.h"
#include "vst3/abi/ResultCodes.h"

#include <gtest/gtest.h>

#include <utility>

using namespace vst3abi;
using qvhost::HostRunLoop;
using qvhost::Ref;

namespace {

// The parent type this system's editor windows take, and one it does not.
#if defined(_WIN32)
const char* const kOwnType = kPlatformTypeHWND;
const char* const kOtherSystemsType = kPlatformTypeX11EmbedWindowID;
#else
const char* const kOwnType = kPlatformTypeX11EmbedWindowID;
const char* const kOtherSystemsType = kPlatformTypeHWND;
#endif

void* const kParent = reinterpret_cast<void*>(0x1234);

class LoopEngine : public IGraphicsHeadless, public IRunLoopBridge::Client {
 public:
  explicit LoopEngine(IPlugin* plug) : IGraphicsHeadless(plug, 320, 240) {}
  void SetHostRunLoop(IRunLoopBridge* loop) override { bridge = loop; }
  void* OpenWindow(void* parent) override {
    if (failOpen) return nullptr;
    void* window = IGraphicsHeadless::OpenWindow(parent);
    if (bridge) bridge->StartTimer(5, this);
    return window;
  }
  void CloseWindow() override {
    if (bridge) bridge->StopTimer(this);
    IGraphicsHeadless::CloseWindow();
  }
  void OnFDReady(int) override {}
  void OnTimer() override { ++ticks; }

  IRunLoopBridge* bridge = nullptr;
  bool failOpen = false;
  int ticks = 0;
};

struct EditorPlug : TestPlug {
  EditorPlug(bool* destroyed, bool withEngine) : mDestroyed(destroyed) {
    if (withEngine) AttachGraphics(engine = new LoopEngine(this));
  }
  ~EditorPlug() override { *mDestroyed = true; }
  void OnGUIOpen() override { ++opened; }
  void OnGUIClose() override { ++closed; }
  void OnWindowResize() override { ++resized; }

  LoopEngine* engine = nullptr;
  int opened = 0, closed = 0, resized = 0;
  bool* mDestroyed;
};

// A frame that offers the run loop (when given one) and calls onSize inside resizeView.
struct Frame : IPlugFrame {
  explicit Frame(HostRunLoop* loop) : loop(loop) {}
  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (loop && uidEquals(iid, IRunLoop::iid)) return loop->queryInterface(iid, obj);
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return ++refs; }
  uint32 VST3ABI_CALL release() override { return --refs; }
  tresult VST3ABI_CALL resizeView(IPlugView* view, ViewRect* r) override {
    requests.push_back(*r);
    return view->onSize(r);
  }
  HostRunLoop* loop;
  uint32 refs = 1;
  std::vector<ViewRect> requests;
};

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
  IPlugView* Open(tresult expected = kResultTrue) {
    IPlugView* view = plug->createView("editor");
    view->setFrame(&frame);
    EXPECT_EQ(view->attached(kParent, kOwnType), expected);
    return view;
  }
  // The order the protocol asks of hosts: frame cleared, removed, released.
  void Close(IPlugView* view) {
    view->setFrame(nullptr);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(view->release(), 0u);
  }
};

TEST(EditorView, ExactNameAndOwnPlatformTypeWhileAnEngineExists) {
  Host with;
  for (const char* name : {"Editor", "EDITOR", "editor ", ""})
    EXPECT_EQ(with.plug->createView(name), nullptr);
  EXPECT_EQ(with.plug->createView(nullptr), nullptr);
  IPlugView* view = with.plug->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kOwnType), kResultTrue);
  for (const char* type : {"x11embedwindowid", "hwnd", "NSView", "HIView", kOtherSystemsType, ""})
    EXPECT_EQ(view->isPlatformTypeSupported(type), kResultFalse) << type;
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  ViewRect r{};
  ASSERT_EQ(view->getSize(&r), kResultOk);
  EXPECT_TRUE(Equal(r, ViewRect{0, 0, 320, 240}));
  EXPECT_EQ(view->canResize(), kResultTrue);
  // A dragged size keeps the aspect ratio within 1x to 2x.
  for (auto [asked, kept] : {std::pair<ViewRect, ViewRect>{{0, 0, 480, 250}, {0, 0, 480, 360}},
                             {{10, 10, 2000, 20}, {10, 10, 650, 490}},
                             {{0, 0, 1, 1}, {0, 0, 320, 240}}}) {
    ASSERT_EQ(view->checkSizeConstraint(&asked), kResultTrue);
    EXPECT_TRUE(Equal(asked, kept)) << asked.right << " x " << asked.bottom;
  }
  EXPECT_EQ(view->release(), 0u);

  Host without(false);
  view = without.plug->createView("editor");
  EXPECT_EQ(view->isPlatformTypeSupported(kOwnType), kResultFalse);
  EXPECT_EQ(view->getSize(&r), kResultFalse);
  EXPECT_EQ(view->attached(kParent, kOwnType), kResultFalse);
  EXPECT_EQ(without.plug->opened, 0);
  view->release();
}

TEST(EditorView, WindowTicksOnTheHostLoopUntilRemovedAndReopens) {
  Host h;
  for (int round = 1; round <= 2; ++round) {
    IPlugView* view = h.Open();
    EXPECT_EQ(h.plug->engine->WindowParent(), kParent);
    EXPECT_EQ(h.plug->opened, round);
    for (int i = 0; i < 100 && h.plug->engine->ticks < 2; ++i) h.loop->runOnce(10);
    EXPECT_GE(h.plug->engine->ticks, 2);
    h.Close(view);
    EXPECT_EQ(h.plug->closed, round);
    EXPECT_EQ(h.plug->engine->GetWindow(), nullptr);
    EXPECT_EQ(h.plug->engine->bridge, nullptr);
    EXPECT_EQ(h.loop->registrationCount(), 0u);
  }
  EXPECT_EQ(h.frame.refs, 1u);

  // A host that releases the view without removing it first.
  h.Open()->release();
  EXPECT_EQ(h.plug->closed, 3);
  EXPECT_EQ(h.plug->engine->GetWindow(), nullptr);
  EXPECT_EQ(h.loop->registrationCount(), 0u);
}

TEST(EditorView, OneWindowAtATimeAndFailedOpensLeaveNothingBehind) {
  Host h;
  IPlugView* first = h.Open();
  IPlugView* second = h.Open(kResultFalse);
  EXPECT_EQ(h.loop->registrationCount(), 1u);
  // Removing the view that never opened must not close the first one's window.
  second->removed();
  second->release();
  EXPECT_NE(h.plug->engine->GetWindow(), nullptr);
  h.Close(first);

  h.plug->engine->failOpen = true;
  h.Close(h.Open(kResultFalse));
  EXPECT_EQ(h.plug->engine->bridge, nullptr);
  EXPECT_EQ(h.plug->opened, 1);
  EXPECT_EQ(h.plug->closed, 1);

  // Without a run loop from frame or context the window still opens, unticked.
  h.plug->engine->failOpen = false;
  h.frame.loop = nullptr;
  IPlugView* view = h.Open();
  EXPECT_EQ(h.plug->engine->bridge, nullptr);
  h.Close(view);
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

TEST(EditorView, ContentScaleAndHostResizingSizeTheEditor) {
  Host h;
  IPlugView* view = h.Open();
  IPlugViewContentScaleSupport* scale = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid.bytes, reinterpret_cast<void**>(&scale)),
            kResultOk);
  // The view asks the frame for its new size; the host confirms it inside that call.
  EXPECT_EQ(scale->setContentScaleFactor(1.5f), kResultTrue);
  ASSERT_EQ(h.frame.requests.size(), 1u);
  EXPECT_TRUE(Equal(h.frame.requests[0], ViewRect{0, 0, 480, 360}));
  ViewRect r{};
  view->getSize(&r);
  EXPECT_TRUE(Equal(r, ViewRect{0, 0, 480, 360}));
  EXPECT_EQ(h.plug->engine->Width(), 320);  // the layout stays
  // The user drags the host window: the editor follows without asking back.
  ViewRect dragged{0, 0, 640, 420};  // a host that does not constrain: the editor fits inside
  EXPECT_EQ(view->onSize(&dragged), kResultOk);
  EXPECT_EQ(h.plug->engine->GetScale(), 1.75);
  EXPECT_EQ(h.frame.requests.size(), 1u);
  scale->release();
  h.Close(view);
}

TEST(EditorView, ListedViewsNeverDangleAndThePlugInOutlivesThem) {
  Host h;
  IPlugView* older = h.plug->createView("editor");
  IPlugView* newer = h.Open();
  // Destroying the older view empties the list: the newer one is no longer asked anything.
  older->release();
  h.plug->ResizeGraphics(500, 350);
  EXPECT_TRUE(
      h.plug->OfferContextClickToHost(TestPlug::kGain, 1, 1));  // the click is the host's, menu or not
  EXPECT_TRUE(h.frame.requests.empty());

  h.plug->terminate();
  h.plug->release();  // the host lets go of the plug-in with the editor still open
  EXPECT_FALSE(h.destroyed);
  h.loop->runOnce(10);
  h.Close(newer);
  EXPECT_TRUE(h.destroyed);
}

// A host's component handler and context menu that record what the plug-in asks of them.
struct MenuRecorder : IContextMenu {
  tresult VST3ABI_CALL queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return ++refs; }
  uint32 VST3ABI_CALL release() override { return --refs; }
  int32 VST3ABI_CALL getItemCount() override { return 0; }
  tresult VST3ABI_CALL getItem(int32, IContextMenuItem*, IContextMenuTarget**) override {
    return kResultFalse;
  }
  tresult VST3ABI_CALL addItem(const IContextMenuItem*, IContextMenuTarget*) override { return kResultOk; }
  tresult VST3ABI_CALL removeItem(const IContextMenuItem*, IContextMenuTarget*) override { return kResultOk; }
  tresult VST3ABI_CALL popup(UCoord x, UCoord y) override {
    popups.push_back({x, y});
    return kResultOk;
  }
  uint32 refs = 0;
  std::vector<std::pair<UCoord, UCoord>> popups;
};

struct HandlerRecorder : IComponentHandler, IComponentHandler3 {
  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (uidEquals(iid, IComponentHandler3::iid)) {
      *obj = static_cast<IComponentHandler3*>(this);
    } else if (uidEquals(iid, IComponentHandler::iid) || uidEquals(iid, FUnknown::iid)) {
      *obj = static_cast<IComponentHandler*>(this);
    } else {
      *obj = nullptr;
      return kNoInterface;
    }
    addRef();
    return kResultOk;
  }
  uint32 VST3ABI_CALL addRef() override { return ++refs; }
  uint32 VST3ABI_CALL release() override { return --refs; }
  tresult VST3ABI_CALL beginEdit(ParamID) override { return ++gestureCalls, kResultOk; }
  tresult VST3ABI_CALL performEdit(ParamID, ParamValue) override { return kResultOk; }
  tresult VST3ABI_CALL endEdit(ParamID) override { return ++gestureCalls, kResultOk; }
  tresult VST3ABI_CALL restartComponent(int32) override { return kResultOk; }
  IContextMenu* VST3ABI_CALL createContextMenu(IPlugView* view, const ParamID* id) override {
    views.push_back(view);
    ids.push_back(id ? *id : kNoParamId);
    menu.addRef();
    return &menu;
  }
  uint32 refs = 1;
  int gestureCalls = 0;
  std::vector<IPlugView*> views;
  std::vector<ParamID> ids;
  MenuRecorder menu;
};

struct Knob : IControl {
  Knob(IPlugin* plug, int param) : IControl(plug, IRECT(100, 50, 140, 90), param) {}
  bool Draw(IGraphics*) override { return true; }
};

TEST(EditorView, RightClickOnAParameterOpensTheHostMenuAtTheClick) {
  HandlerRecorder handler;  // outlives the plug-in that holds it
  Host h;
  ASSERT_EQ(h.plug->setComponentHandler(static_cast<IComponentHandler*>(&handler)), kResultOk);
  const uint32 handlerRefs = handler.refs;
  h.plug->engine->AttachControl(new Knob(h.plug, TestPlug::kGain));
  IPlugView* view = h.Open();
  IMouseMod right(false, true);
  h.plug->engine->OnMouseDown(117, 63, &right);
  h.plug->engine->OnMouseUp(117, 63, &right);
  ASSERT_EQ(handler.views.size(), 1u);
  EXPECT_EQ(handler.views[0], view);
  EXPECT_EQ(handler.ids[0], static_cast<ParamID>(TestPlug::kGain));
  EXPECT_EQ(handler.menu.popups, (std::vector<std::pair<UCoord, UCoord>>{{117, 63}}));
  EXPECT_EQ(handler.menu.refs, 0u);
  EXPECT_EQ(handler.refs, handlerRefs);
  EXPECT_EQ(handler.gestureCalls, 0);

  // Once the editor is closed nothing asks the host for a menu.
  h.Close(view);
  h.plug->engine->OnMouseDown(117, 63, &right);
  EXPECT_EQ(handler.views.size(), 1u);
}

}  // namespace
