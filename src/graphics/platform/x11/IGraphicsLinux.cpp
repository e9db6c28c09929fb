// The Linux editor window: Xlib window, event dispatch, presenting and prompts.
#include "graphics/platform/x11/IGraphicsLinux.h"

#include "graphics/IControl.h"
#include "graphics/platform/x11/DesktopScale.h"
#include "graphics/platform/x11/LinuxPaths.h"
#include "graphics/platform/x11/UrlOpener.h"
#include "graphics/platform/x11/X11Clipboard.h"
#include "graphics/platform/x11/X11ErrorTrap.h"
#include "graphics/platform/x11/X11Input.h"
#include "graphics/platform/x11/X11PopupMenu.h"
#include "graphics/platform/x11/X11Presenter.h"
#include "graphics/platform/x11/X11TextEntry.h"
#include "graphics/platform/x11/X11WorkArea.h"
#include "pix/PIX_PNG.h"
#include "pix/PIX_SysBitmap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
constexpr int kClipboardTimeoutMs = 500;
constexpr int kMenuFontSize = 12;

Window ToWindow(void* id) { return static_cast<Window>(reinterpret_cast<uintptr_t>(id)); }
void* FromWindow(Window w) { return reinterpret_cast<void*>(static_cast<uintptr_t>(w)); }
}  // namespace

struct IGraphicsLinux::XState {
  Display* mDisplay = nullptr;
  int mScreen = 0;
  Window mWindow = 0;
  GC mGC = nullptr;
  Cursor mBlankCursor = 0;
  X11Presenter mPresenter;
  X11TextEntry mTextEntry;
  IControl* mEntryControl = nullptr;
  IParam* mEntryParam = nullptr;
  ClickCounter mClicks;
  IRECT mExposed;
  bool mWindowGone = false;  // destroyed along with the host's parent window
  bool mConnectionLost = false;
  IRunLoopBridge* mRegisteredWith = nullptr;
  bool mWatchingFD = false, mTimerRunning = false;

  bool CanDraw() const { return !mConnectionLost && !mWindowGone; }
};

// Keeps the editor painting, and its expose bookkeeping straight, while a menu runs.
class IGraphicsLinux::MenuHost : public X11PopupMenu::Host {
 public:
  explicit MenuHost(IGraphicsLinux& gui) : mGUI(gui) {}

  void OnOtherEvent(XEvent& event) override {
    if (mGUI.mX && (event.type == Expose || event.type == DestroyNotify)) mGUI.HandleEvent(event);
  }
  void OnTick() override { mGUI.RepaintPending(); }
  bool ConnectionAlive() override { return mGUI.mX && !mGUI.mX->mConnectionLost; }

 private:
  IGraphicsLinux& mGUI;
};

IGraphicsLinux::IGraphicsLinux(IPlugin* plug, int w, int h, int fps) : IGraphics(plug, w, h, fps) {}

IGraphicsLinux::~IGraphicsLinux() {
  CloseWindow();
  ReapFinishedOpeners();
}

// ---- Window lifecycle ----------------------------------------------------------------------------

void* IGraphicsLinux::OpenWindow(void* parent) {
  CloseWindow();
  auto x = std::make_unique<XState>();
  x->mDisplay = XOpenDisplay(nullptr);
  if (!x->mDisplay) return nullptr;
  // Losing the server must not end the host: the default exit handler would.
  XSetIOErrorExitHandler(
      x->mDisplay, [](Display*, void* state) { static_cast<XState*>(state)->mConnectionLost = true; },
      x.get());

  Display* dpy = x->mDisplay;
  bool ok = false;
  {
    X11ErrorTrap trap(dpy);
    x->mScreen = DefaultScreen(dpy);
    const Window parentWindow = parent ? ToWindow(parent) : RootWindow(dpy, x->mScreen);
    XWindowAttributes parentAttrs;
    if (XGetWindowAttributes(dpy, parentWindow, &parentAttrs) && trap.Errors() == 0) {
      x->mPresenter.Init(dpy, x->mScreen);
      XSetWindowAttributes attrs;
      unsigned long mask = x->mPresenter.FillWindowAttributes(&attrs);
      attrs.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                         KeyPressMask | LeaveWindowMask | StructureNotifyMask;
      mask |= CWEventMask;
      x->mWindow = XCreateWindow(dpy, parentWindow, 0, 0, static_cast<unsigned>(WindowWidth()),
                                 static_cast<unsigned>(WindowHeight()), 0, x->mPresenter.Depth(), InputOutput,
                                 x->mPresenter.GetVisual(), mask, &attrs);
      x->mGC = XCreateGC(dpy, x->mWindow, 0, nullptr);
      XMapWindow(dpy, x->mWindow);
      ok = trap.SyncOK();
    }
    if (!ok) {
      if (x->mGC) XFreeGC(dpy, x->mGC);
      if (x->mWindow) XDestroyWindow(dpy, x->mWindow);
      x->mPresenter.Release();
      XSync(dpy, False);
    }
  }
  if (!ok) {
    XCloseDisplay(dpy);
    return nullptr;
  }

  mX = std::move(x);
  Register();
  // The first picture, whether or not a run loop will bring more.
  if (GetBits()) {
    X11ErrorTrap trap(dpy);
    IRECT all(0, 0, Width(), Height());
    Draw(&all);
  }
  return mX ? FromWindow(mX->mWindow) : nullptr;
}

void IGraphicsLinux::CloseWindow() {
  if (!mX) return;
  Unregister();
  std::unique_ptr<XState> x = std::move(mX);
  mCursorHidden = false;
  if (x->mConnectionLost) {
    // Xlib cannot be trusted with a dead connection: its little memory is left behind.
    x->mTextEntry.Abandon();
    return;
  }
  {
    X11ErrorTrap trap(x->mDisplay);
    x->mTextEntry.Close();
    if (x->mBlankCursor) XFreeCursor(x->mDisplay, x->mBlankCursor);
    if (x->mGC) XFreeGC(x->mDisplay, x->mGC);
    if (!x->mWindowGone) XDestroyWindow(x->mDisplay, x->mWindow);
    x->mPresenter.Release();
    XSync(x->mDisplay, False);
    XCloseDisplay(x->mDisplay);
  }
}

void* IGraphicsLinux::GetWindow() { return mX ? FromWindow(mX->mWindow) : nullptr; }

Display* IGraphicsLinux::GetDisplay() const { return mX ? mX->mDisplay : nullptr; }
bool IGraphicsLinux::TextEntryOpen() const { return mX && mX->mTextEntry.IsOpen(); }
bool IGraphicsLinux::WatchingFD() const { return mX && mX->mWatchingFD; }
bool IGraphicsLinux::TimerRunning() const { return mX && mX->mTimerRunning; }

void IGraphicsLinux::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  // The engine deletes its controls, the open prompt's among them.
  CloseTextEntry();
  IGraphics::Resize(w, h);
  if (!mX || !mX->CanDraw()) return;
  X11ErrorTrap trap(mX->mDisplay);
  XResizeWindow(mX->mDisplay, mX->mWindow, static_cast<unsigned>(WindowWidth()),
                static_cast<unsigned>(WindowHeight()));
  XFlush(mX->mDisplay);
}

void IGraphicsLinux::OnScaleChanged() {
  // An open prompt sits at the old size and place.
  CloseTextEntry();
  if (!mX || !mX->CanDraw()) return;
  X11ErrorTrap trap(mX->mDisplay);
  XResizeWindow(mX->mDisplay, mX->mWindow, static_cast<unsigned>(WindowWidth()),
                static_cast<unsigned>(WindowHeight()));
  XFlush(mX->mDisplay);
  mX->mExposed.Clear();
  if (GetBits() && !mPumping) {
    IRECT all(0, 0, Width(), Height());
    Draw(&all);
  }
}

double IGraphicsLinux::DesktopScale() {
  for (const char* name : {"GDK_SCALE", "QT_SCALE_FACTOR"}) {
    const char* v = std::getenv(name);
    const double f = v && *v ? std::strtod(v, nullptr) : 0.0;
    if (std::isfinite(f) && f > 0.0) return f;
  }
  Display* dpy = mX ? mX->mDisplay : XOpenDisplay(nullptr);
  if (!dpy) return 1.0;
  double scale = 1.0;
  if (const char* resources = XResourceManagerString(dpy)) scale = XftDpiScale(resources);
  if (!mX) XCloseDisplay(dpy);
  return scale;
}

bool IGraphicsLinux::ScreenWorkArea(int* width, int* height) const {
  if (mX && !mX->CanDraw()) return false;
  Display* dpy = mX ? mX->mDisplay : XOpenDisplay(nullptr);
  if (!dpy) return false;
  bool known = false;
  {
    X11ErrorTrap trap(dpy);
    known = X11ScreenWorkArea(dpy, mX ? mX->mWindow : 0, width, height);
  }
  if (!mX) XCloseDisplay(dpy);
  return known;
}

// ---- Run loop -----------------------------------------------------------------------------------

void IGraphicsLinux::SetHostRunLoop(IRunLoopBridge* runLoop) {
  if (runLoop == mRunLoop) return;
  Unregister();
  mRunLoop = runLoop;
  Register();
}

void IGraphicsLinux::Register() {
  if (!mX || !mRunLoop) return;
  mX->mRegisteredWith = mRunLoop;
  mX->mWatchingFD = mRunLoop->WatchFD(ConnectionNumber(mX->mDisplay), this);
  mX->mTimerRunning = mRunLoop->StartTimer(std::max(1, 1000 / std::max(1, FPS())), this);
}

void IGraphicsLinux::Unregister() {
  if (!mX || !mX->mRegisteredWith) return;
  if (mX->mWatchingFD) mX->mRegisteredWith->UnwatchFD(this);
  if (mX->mTimerRunning) mX->mRegisteredWith->StopTimer(this);
  mX->mWatchingFD = mX->mTimerRunning = false;
  mX->mRegisteredWith = nullptr;
}

void IGraphicsLinux::OnFDReady(int) { Pump(); }
void IGraphicsLinux::OnTimer() { Pump(); }

void IGraphicsLinux::Pump() {
  // A menu runs its own loop; a bridge calling back into a running pump must not nest.
  if (!mX || mPumping || mInMenu) return;
  mPumping = true;
  {
    X11ErrorTrap trap(mX->mDisplay);
    // Every engine call may close the window (the host reacting to an edit): re-check each time.
    while (mX && !mX->mConnectionLost && XPending(mX->mDisplay) > 0) {
      XEvent event;
      XNextEvent(mX->mDisplay, &event);
      HandleEvent(event);
    }
    RepaintPending();
  }
  mPumping = false;
  ReapFinishedOpeners();
}

void IGraphicsLinux::RepaintPending() {
  if (!mX || !mX->CanDraw() || !GetBits()) return;
  IRECT r = WindowToLayout(mX->mExposed);
  mX->mExposed.Clear();
  IRECT dirty;
  if (IsDirty(&dirty)) r = r.Union(dirty);
  if (!r.Empty()) Draw(&r);
}

bool IGraphicsLinux::DrawScreen(IRECT* r) {
  PIX_IBitmap* back = GetBackBuffer();
  if (!mX || !mX->CanDraw() || !r || !back) return false;
  X11ErrorTrap trap(mX->mDisplay);
  const IRECT px = ToPixels(*r);
  mX->mPresenter.Put(mX->mWindow, mX->mGC, back, px.L, px.T, px.W(), px.H());
  XFlush(mX->mDisplay);
  return true;
}

// ---- Events -------------------------------------------------------------------------------------

void IGraphicsLinux::HandleEvent(XEvent& event) {
  XState& x = *mX;
  const Window target = event.xany.window;
  if (x.mTextEntry.IsOpen() && target == x.mTextEntry.GetWindow()) {
    // Presses inside the field only keep it open.
    if (event.type == Expose && event.xexpose.count == 0) x.mTextEntry.Paint();
    return;
  }
  if (target != x.mWindow) return;
  switch (event.type) {
    case Expose: {
      const XExposeEvent& e = event.xexpose;
      x.mExposed = x.mExposed.Union(IRECT(e.x, e.y, e.x + e.width, e.y + e.height));
      break;
    }
    case DestroyNotify:
      x.mWindowGone = true;
      break;
    case ButtonPress:
      OnButtonPress(event.xbutton.button, event.xbutton.state, ToLayout(event.xbutton.x),
                    ToLayout(event.xbutton.y), event.xbutton.time);
      break;
    case ButtonRelease:
      OnButtonRelease(event.xbutton.button, event.xbutton.state, ToLayout(event.xbutton.x),
                      ToLayout(event.xbutton.y));
      break;
    case MotionNotify: {
      // Only the latest of a run of motions matters; anything else queued keeps its order.
      XMotionEvent m = event.xmotion;
      XEvent next;
      while (XEventsQueued(x.mDisplay, QueuedAlready) > 0) {
        XPeekEvent(x.mDisplay, &next);
        if (next.type != MotionNotify || next.xany.window != x.mWindow) break;
        XNextEvent(x.mDisplay, &next);
        m = next.xmotion;
      }
      OnMotion(m.state, ToLayout(m.x), ToLayout(m.y));
      break;
    }
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal && event.xcrossing.detail != NotifyInferior) OnMouseOut();
      break;
    case KeyPress:
      OnKey(TranslateKey(event.xkey), ToLayout(event.xkey.x), ToLayout(event.xkey.y));
      break;
    default:
      break;
  }
}

// After any engine call below the window may be gone: nothing of it is touched afterwards.

void IGraphicsLinux::OnButtonPress(unsigned button, unsigned state, int x, int y, unsigned long time) {
  XState& xs = *mX;
  if (button > Button5) return;
  if (button <= Button3) XSetInputFocus(xs.mDisplay, xs.mWindow, RevertToParent, time);
  // The field's own window takes presses inside it, so this one is outside.
  if (xs.mTextEntry.IsOpen()) CloseTextEntry();
  const ModifierKeys keys = ModifiersFromState(state);
  if (button == Button4 || button == Button5) {
    IMouseMod mod = MakeMouseMod(state & Button1Mask, state & Button3Mask, keys);
    OnMouseWheel(x, y, &mod, button == Button4 ? 1 : -1);
  } else if (button == Button1) {
    IMouseMod mod = MakeMouseMod(true, false, keys);
    if (xs.mClicks.Press(EPointerButton::kLeft, x, y, time) >= 2)
      OnMouseDblClick(x, y, &mod);
    else
      OnMouseDown(x, y, &mod);
  } else if (button == Button3) {
    // A double right click is two presses.
    xs.mClicks.Press(EPointerButton::kRight, x, y, time);
    IMouseMod mod = MakeMouseMod(false, true, keys);
    OnMouseDown(x, y, &mod);
  }
}

void IGraphicsLinux::OnButtonRelease(unsigned button, unsigned state, int x, int y) {
  if (button != Button1 && button != Button3) return;
  IMouseMod mod = MakeMouseMod(button == Button1, button == Button3, ModifiersFromState(state));
  OnMouseUp(x, y, &mod);
}

void IGraphicsLinux::OnMotion(unsigned state, int x, int y) {
  const bool left = state & Button1Mask, right = state & Button3Mask;
  IMouseMod mod = MakeMouseMod(left, right, ModifiersFromState(state));
  if (left || right) {
    if (!mX->mTextEntry.IsOpen()) OnMouseDrag(x, y, &mod);
  } else if (CanHandleMouseOver()) {
    OnMouseOver(x, y, &mod);
  }
}

void IGraphicsLinux::OnKey(const EditorKey& key, int x, int y) {
  XState& xs = *mX;
  if (!xs.mTextEntry.IsOpen()) {
    const int code = EditorKeyCode(key);
    if (code >= 0) OnKeyDown(x, y, code);
    return;
  }
  using EOutcome = TextEntryModel::EOutcome;
  EOutcome outcome;
  if (key.mControl && (key.mChar == 'v' || key.mChar == 'V')) {
    std::string pasted;
    outcome = ReadClipboardText(xs.mDisplay, xs.mWindow, &pasted, kClipboardTimeoutMs)
                  ? xs.mTextEntry.Model().InsertText(pasted.c_str())
                  : EOutcome::kIgnored;
  } else {
    outcome = xs.mTextEntry.Model().HandleKey(key);
  }
  if (outcome == EOutcome::kCommit)
    CommitTextEntry();
  else if (outcome == EOutcome::kCancel)
    CloseTextEntry();
  else if (outcome == EOutcome::kEdited)
    xs.mTextEntry.Paint();
}

// ---- Text entry ---------------------------------------------------------------------------------

void IGraphicsLinux::CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                                     IParam* param) {
  if (!control || !text || !textRect || !mX || !mX->CanDraw() || mX->mTextEntry.IsOpen()) return;
  const IRECT r = LayoutToWindow(textRect->Intersect(IRECT(0, 0, Width(), Height())));
  if (r.W() <= 0 || r.H() <= 0) return;
  PIX_IFont* font = nullptr;
  const IText style = PromptStyle(*text, &font);
  // Only a parameter's value is constrained; a control's own text is free.
  const char* filter = TextEntryModel::FilterFor(param);
  const int maxLength = param ? control->GetTextEntryLength() : 0;

  XState& x = *mX;
  X11ErrorTrap trap(x.mDisplay);
  if (!x.mTextEntry.Open(x.mDisplay, x.mWindow, &x.mPresenter, r, font, style, str, filter, maxLength))
    return;
  x.mEntryControl = control;
  x.mEntryParam = param;
  XSetInputFocus(x.mDisplay, x.mWindow, RevertToParent, CurrentTime);
  XFlush(x.mDisplay);
}

void IGraphicsLinux::ForceEndUserEdit() { CloseTextEntry(); }

void IGraphicsLinux::CloseTextEntry() {
  if (!mX || !mX->mTextEntry.IsOpen()) return;
  if (mX->mConnectionLost) {
    mX->mTextEntry.Abandon();
  } else {
    X11ErrorTrap trap(mX->mDisplay);
    mX->mTextEntry.Close();
    XFlush(mX->mDisplay);
  }
  mX->mEntryControl = nullptr;
  mX->mEntryParam = nullptr;
}

void IGraphicsLinux::CommitTextEntry() {
  const std::string text = mX->mTextEntry.Model().Text();
  IControl* control = mX->mEntryControl;
  IParam* param = mX->mEntryParam;
  // Closed first, so applying the value may open a new prompt.
  CloseTextEntry();
  ApplyPromptText(control, param, text.c_str());
}

// ---- Popup menu ---------------------------------------------------------------------------------

IPopupMenu* IGraphicsLinux::CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) {
  if (!menu || !areaRect || !mX || !mX->CanDraw() || mInMenu) return nullptr;
  ReleaseMouseCapture();
  XState& x = *mX;
  X11ErrorTrap trap(x.mDisplay);
  Window child = 0;
  int rootX = 0, rootY = 0;
  const IRECT area = LayoutToWindow(*areaRect);
  if (!XTranslateCoordinates(x.mDisplay, x.mWindow, RootWindow(x.mDisplay, x.mScreen), area.L, area.T, &rootX,
                             &rootY, &child))
    return nullptr;
  const IRECT anchor(rootX, rootY, rootX + area.W(), rootY + area.H());
  IText style(ScaledLength(kMenuFontSize, GetScale()), &COLOR_BLACK, "Arial", IText::kStyleNormal,
              IText::kAlignNear);
  PIX_IFont* font = CacheFont(&style);

  MenuHost host(*this);
  mInMenu = true;
  IPopupMenu* chosen = X11PopupMenu::Run(x.mDisplay, x.mScreen, x.mPresenter, menu, anchor, font,
                                         1000 / std::max(1, FPS()), host, GetScale());
  mInMenu = false;
  return chosen;
}

// ---- Cursor, clipboard ----------------------------------------------------------------------------

void IGraphicsLinux::HideMouseCursor() {
  if (mCursorHidden || !mX || !mX->CanDraw()) return;
  XState& x = *mX;
  X11ErrorTrap trap(x.mDisplay);
  if (!x.mBlankCursor) {
    static const char kNoBits[1] = {0};
    Pixmap blank = XCreateBitmapFromData(x.mDisplay, x.mWindow, kNoBits, 1, 1);
    XColor black = {};
    x.mBlankCursor = XCreatePixmapCursor(x.mDisplay, blank, blank, &black, &black, 0, 0);
    XFreePixmap(x.mDisplay, blank);
  }
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned mask = 0;
  if (XQueryPointer(x.mDisplay, x.mWindow, &root, &child, &rootX, &rootY, &winX, &winY, &mask)) {
    mHiddenMousePointX = rootX;
    mHiddenMousePointY = rootY;
  }
  XDefineCursor(x.mDisplay, x.mWindow, x.mBlankCursor);
  XFlush(x.mDisplay);
  mCursorHidden = true;
}

void IGraphicsLinux::ShowMouseCursor() {
  if (!mCursorHidden) return;
  mCursorHidden = false;
  if (!mX || !mX->CanDraw()) return;
  XState& x = *mX;
  X11ErrorTrap trap(x.mDisplay);
  XWarpPointer(x.mDisplay, None, RootWindow(x.mDisplay, x.mScreen), 0, 0, 0, 0, mHiddenMousePointX,
               mHiddenMousePointY);
  XUndefineCursor(x.mDisplay, x.mWindow);
  XFlush(x.mDisplay);
}

bool IGraphicsLinux::GetTextFromClipboard(StrBuf* str) {
  if (!str) return false;
  str->Set("");
  if (!mX || !mX->CanDraw()) return false;
  X11ErrorTrap trap(mX->mDisplay);
  std::string text;
  if (!ReadClipboardText(mX->mDisplay, mX->mWindow, &text, kClipboardTimeoutMs)) return false;
  str->Set(text.c_str());
  return true;
}

// ---- URLs, paths, resources ------------------------------------------------------------

bool IGraphicsLinux::OpenURL(const char* url, const char*, const char*, const char*) {
  return OpenWithDesktop(url);
}

void IGraphicsLinux::HostPath(StrBuf* path) {
  const std::string exe = HostExecutablePath();
  if (path && !exe.empty()) path->Set(exe.c_str());
}

void IGraphicsLinux::PluginPath(StrBuf* path) {
  const std::string bundle = ModuleBundlePath();
  if (!path || bundle.empty()) return;
  const size_t slash = bundle.rfind('/');
  path->Set(slash == std::string::npos ? "./" : bundle.substr(0, slash + 1).c_str());
}

void IGraphicsLinux::DesktopPath(StrBuf* path) {
  if (path) path->Set(XdgDirectory("XDG_DESKTOP_DIR", "Desktop").c_str());
}

void IGraphicsLinux::AppSupportPath(StrBuf* path, bool isSystem) {
  if (path) path->Set(isSystem ? "/etc/xdg" : XdgDirectory("XDG_CONFIG_HOME", ".config").c_str());
}

void IGraphicsLinux::SandboxSafeAppSupportPath(StrBuf* path) {
  if (path) path->Set((HomeDirectory() + "/Music").c_str());
}

std::string IGraphicsLinux::OSBitmapFile(int, const char* name) {
  const std::string resource = PNGResourceName(name);
  const std::string bundle = ModuleBundlePath();
  return resource.empty() || bundle.empty() ? std::string() : bundle + "/Contents/Resources/" + resource;
}

PIX_IBitmap* IGraphicsLinux::OSLoadBitmap(int, const char* name) {
  const std::string resource = PNGResourceName(name);
  return resource.empty() ? nullptr : PIX_LoadPNGFromNamedResource(resource.c_str());
}
