// One plug-in editor embedded the way a DAW embeds it on Linux.
#include "host/editor/EditorHost.h"

#include <algorithm>
#include <chrono>

#include "host/vst3/RefCount.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/RunLoop.h"

using namespace vst3abi;

namespace qvhost {

namespace {
// The parent the host's window is handed over as.
#if defined(_WIN32)
constexpr const char* kParentType = kPlatformTypeHWND;
void* parentOf(const EditorWindow& window) { return window.hwnd(); }
#else
constexpr const char* kParentType = kPlatformTypeX11EmbedWindowID;
void* parentOf(const EditorWindow& window) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window.xid()));
}
#endif
}  // namespace

// The host window's own X events, dispatched by the same run loop as the plug-in's.
class EditorHost::WindowEvents final : public IEventHandler {
 public:
  explicit WindowEvents(EditorWindow* window) : mWindow(window) {}

  tresult VST3ABI_CALL queryInterface(const TUID iid, void** obj) override {
    if (!obj) return kInvalidArgument;
    if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IEventHandler::iid)) {
      *obj = static_cast<IEventHandler*>(this);
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  uint32 VST3ABI_CALL release() override {
    const uint32 n = mRefs.sub();
    if (n == 0) delete this;
    return n;
  }
  void VST3ABI_CALL onFDIsSet(FileDescriptor) override {
    if (mWindow) mWindow->processEvents();
  }
  void detach() { mWindow = nullptr; }

 private:
  ~WindowEvents() = default;
  RefCount mRefs;
  EditorWindow* mWindow;
};

std::unique_ptr<EditorHost> EditorHost::open(PluginInstance& plugin, HostRunLoop& loop, std::string* error,
                                             double scale) {
  const auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return nullptr;
  };
  IEditController* controller = plugin.controller();
  if (!controller) return fail("'" + plugin.classInfo().name + "' has no edit controller, so no editor");

  std::unique_ptr<EditorHost> e(new EditorHost);
  e->mLoop = &loop;
  e->mView = Ref<IPlugView>::adopt(controller->createView(kEditorViewName));
  if (!e->mView) return fail("'" + plugin.classInfo().name + "' has no editor");
  if (e->mView->isPlatformTypeSupported(kParentType) != kResultTrue) {
    return fail("the editor of '" + plugin.classInfo().name + "' cannot be embedded in a " + kParentType +
                " window");
  }
  e->mFrame = Ref<PlugFrame>::adopt(new PlugFrame(&loop));
  e->mView->setFrame(e->mFrame.get());
  if (scale > 0 && !e->setContentScale(scale)) return fail("the editor does not take a content scale factor");

  ViewRect rect{};
  if (e->mView->getSize(&rect) != kResultTrue) return fail("the editor does not report its size");
  e->mWindow =
      EditorWindow::open(rect.right - rect.left, rect.bottom - rect.top, plugin.classInfo().name, error);
  if (!e->mWindow) return nullptr;
  e->mFrame->attach(e->mWindow.get(), e->mView.get());

  if (e->mView->attached(parentOf(*e->mWindow), kParentType) != kResultTrue) {
    return fail("the editor refused to attach to the window");
  }
  e->mAttached = true;
  e->mHandler = Ref<ComponentHandler>::share(&plugin.handler());
#if !defined(_WIN32)
  // On Windows the window's messages are the thread's, dispatched by processEvents, and the
  // plug-in shows its own menus.
  e->mEvents = Ref<WindowEvents>::adopt(new WindowEvents(e->mWindow.get()));
  loop.registerEventHandler(e->mEvents.get(), e->mWindow->fd());
  // The plug-in calls it only while it holds the handler, which the instance takes back first.
  e->mHandler->setMenuFactory([host = e.get(), p = &plugin](IPlugView* view, const ParamID* id) {
    return host->createMenu(*p, view, id);
  });
#endif
  return e;
}

#if !defined(_WIN32)
IContextMenu* EditorHost::createMenu(PluginInstance& plugin, IPlugView* view, const ParamID* id) {
  if (!mView || view != mView.get()) return nullptr;
  if (mMenu) mMenu->dismiss();
  mMenu = Ref<ContextMenu>::adopt(new ContextMenu(mLoop, mWindow->xid()));
  IEditController* controller = plugin.controller();
  if (id && controller) {
    for (const ParameterDescription& p : plugin.parameters()) {
      if (p.id != *id) continue;
      const std::string value = plugin.displayString(p.id, controller->getParamNormalized(p.id));
      mMenu->addHostItem(
          p.title + (value.empty() ? "" : ": " + value + (p.units.empty() ? "" : " " + p.units)),
          IContextMenuItem::kIsDisabled, nullptr);
      mMenu->addHostItem("", IContextMenuItem::kIsSeparator, nullptr);
      // As automation would: the controller shows the value and the next block carries it.
      Ref<IEditController> ctrl = Ref<IEditController>::share(controller);
      Ref<ComponentHandler> handler = mHandler;
      const ParamID pid = p.id;
      const double value0 = p.defaultNormalized;
      mMenu->addHostItem("Reset to Default", 0, [ctrl, handler, pid, value0] {
        ctrl->setParamNormalized(pid, value0);
        handler->hostEdit(pid, value0);
      });
      break;
    }
  }
  mMenu->addRef();
  return mMenu.get();
}
#endif

EditorHost::~EditorHost() { close(); }

bool EditorHost::setContentScale(double scale) {
  const Ref<IPlugViewContentScaleSupport> support = mView.query<IPlugViewContentScaleSupport>();
  return support && support->setContentScaleFactor(static_cast<float>(scale)) == kResultTrue;
}

void EditorHost::close() {
  if (mHandler) {
    mHandler->setMenuFactory(nullptr);
    mHandler.reset();
  }
#if !defined(_WIN32)
  if (mMenu) {
    mMenu->dismiss();
    mMenu.reset();
  }
#endif
  if (mEvents) {
    mLoop->unregisterEventHandler(mEvents.get());
    mEvents->detach();
    mEvents.reset();
  }
  if (mView) {
    mView->setFrame(nullptr);
    if (mAttached) mView->removed();
    mAttached = false;
    mView.reset();
  }
  if (mFrame) {
    mFrame->detach();
    mFrame.reset();
  }
  // The plug-in's child window is gone by now, so destroying its parent cannot pull it away
  // from under the plug-in.
  mWindow.reset();
}

namespace {

bool oneColour(const std::vector<uint32_t>& pixels) {
  return pixels.empty() ||
         std::all_of(pixels.begin(), pixels.end(), [&pixels](uint32_t p) { return p == pixels.front(); });
}

}  // namespace

bool waitForPicture(EditorHost& editor, HostRunLoop& loop, int timeoutMs, bool stable,
                    std::vector<uint32_t>* pixels) {
  return editor.isOpen() && waitForPicture(editor.window(), loop, timeoutMs, stable, pixels);
}

bool waitForPicture(EditorWindow& window, HostRunLoop& loop, int timeoutMs, bool stable,
                    std::vector<uint32_t>* pixels) {
  using Clock = std::chrono::steady_clock;
  // Three of an editor's usual 25 frames per second: longer than a falling meter rests on one frame.
  constexpr auto kFrameGap = std::chrono::milliseconds(120);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<uint32_t> previous;
  auto nextCapture = Clock::now();
  while (Clock::now() < deadline) {
    loop.runOnce(10);
    if (!window.processEvents()) return false;
    if (Clock::now() < nextCapture) continue;
    nextCapture = Clock::now() + kFrameGap;
    if (!window.capture(pixels) || oneColour(*pixels)) {
      previous.clear();
      continue;
    }
    if (!stable || *pixels == previous) return true;
    previous = *pixels;
  }
  return false;
}

}  // namespace qvhost
