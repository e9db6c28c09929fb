// The popup menu's windows, grabs and nested event loop.
#include "graphics/platform/x11/X11PopupMenu.h"

#include "graphics/platform/shared/PromptText.h"
#include "graphics/platform/x11/PopupMenuPainter.h"
#include "graphics/platform/x11/X11Input.h"
#include "pix/PIX_MemBitmap.h"

#include <X11/Xatom.h>

#include <poll.h>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {
constexpr int kGrabAttempts = 50;
constexpr int kGrabRetryMs = 10;

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct LevelWindow {
  Window mWindow = 0;
  GC mGC = nullptr;
  IPopupMenu* mMenu = nullptr;
  int mX = 0, mY = 0;
  PIX_MemBitmap mBitmap;
};

class Session {
 public:
  Session(Display* display, int screen, const X11Presenter& presenter, PIX_IFont* font, double scale,
          X11PopupMenu::Host& host)
      : mDisplay(display), mScreen(screen), mPresenter(presenter), mFont(font), mHost(host) {
    // The menu grows with the editor; its text comes at that size already.
    const auto px = [scale](int v) { return static_cast<int>(v * scale + 0.5); };
    mMetrics.mSeparatorHeight = px(mMetrics.mSeparatorHeight);
    mMetrics.mPadding = px(mMetrics.mPadding);
    mMetrics.mCheckWidth = px(mMetrics.mCheckWidth);
    mMetrics.mTitleIndent = px(mMetrics.mTitleIndent);
    mMetrics.mArrowWidth = px(mMetrics.mArrowWidth);
    mMetrics.mMinWidth = px(mMetrics.mMinWidth);
    mMetrics.mRowHeight = std::max(px(18), (font ? font->GetLineHeight() : 0) + px(6));
    mMetrics.mTextWidth = [font](const char* s) { return PromptTextWidth(font, s); };
  }

  ~Session() {
    if (!mHost.ConnectionAlive()) return;
    if (mKeyboardGrabbed) XUngrabKeyboard(mDisplay, CurrentTime);
    if (mPointerGrabbed) XUngrabPointer(mDisplay, CurrentTime);
    while (!mWindows.empty()) DestroyLast();
    XFlush(mDisplay);
  }

  IPopupMenu* Run(IPopupMenu* menu, const IRECT& anchor, int tickMs) {
    if (!mNavigator.Start(menu, anchor, DisplayWidth(mDisplay, mScreen), DisplayHeight(mDisplay, mScreen),
                          mMetrics))
      return nullptr;
    SyncWindows();
    XSync(mDisplay, False);
    if (mWindows.empty() || !Grab()) return nullptr;
    // Mapped by now: paint without waiting for the exposure.
    Paint(0);

    long long nextTick = NowMs() + tickMs;
    while (!mDone && mHost.ConnectionAlive()) {
      while (!mDone && mHost.ConnectionAlive() && XPending(mDisplay)) {
        XEvent event;
        XNextEvent(mDisplay, &event);
        Handle(event);
      }
      if (mDone) break;
      const long long now = NowMs();
      if (now >= nextTick) {
        mHost.OnTick();
        nextTick = now + tickMs;
        continue;
      }
      pollfd p = {ConnectionNumber(mDisplay), POLLIN, 0};
      poll(&p, 1, static_cast<int>(nextTick - now));
    }
    IPopupMenu* chosen = mNavigator.ChosenMenu();
    if (chosen) chosen->SetChosenItemIdx(mNavigator.ChosenIndex());
    return chosen;
  }

 private:
  bool Grab() {
    const Window w = mWindows.front()->mWindow;
    for (int i = 0; i < kGrabAttempts && !mPointerGrabbed; ++i) {
      mPointerGrabbed =
          XGrabPointer(mDisplay, w, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                       GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
      if (!mPointerGrabbed) std::this_thread::sleep_for(std::chrono::milliseconds(kGrabRetryMs));
    }
    // Without the pointer a click outside could not end the menu.
    if (!mPointerGrabbed) return false;
    for (int i = 0; i < kGrabAttempts && !mKeyboardGrabbed; ++i) {
      mKeyboardGrabbed =
          XGrabKeyboard(mDisplay, w, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
      if (!mKeyboardGrabbed) std::this_thread::sleep_for(std::chrono::milliseconds(kGrabRetryMs));
    }
    return true;
  }

  void Handle(XEvent& event) {
    // While the menu is up all input on this display is the menu's.
    switch (event.type) {
      case MotionNotify:
        Apply(mNavigator.Motion(event.xmotion.x_root, event.xmotion.y_root));
        return;
      case ButtonPress:
        if (event.xbutton.button <= Button3)
          Apply(mNavigator.Press(event.xbutton.x_root, event.xbutton.y_root));
        return;
      case ButtonRelease:
        if (event.xbutton.button <= Button3)
          Apply(mNavigator.Release(event.xbutton.x_root, event.xbutton.y_root));
        return;
      case KeyPress:
        Apply(mNavigator.Key(TranslateKey(event.xkey)));
        return;
      case KeyRelease:
        return;
      case Expose: {
        const int i = FindWindow(event.xexpose.window);
        if (i < 0) break;
        if (event.xexpose.count == 0) Paint(static_cast<size_t>(i));
        return;
      }
      default:
        if (FindWindow(event.xany.window) >= 0) return;
        break;
    }
    mHost.OnOtherEvent(event);
  }

  void Apply(PopupMenuNavigator::EOutcome outcome) {
    switch (outcome) {
      case PopupMenuNavigator::EOutcome::kChanged:
        SyncWindows();
        for (size_t i = 0; i < mWindows.size(); ++i) Paint(i);
        break;
      case PopupMenuNavigator::EOutcome::kChosen:
      case PopupMenuNavigator::EOutcome::kDismissed:
        mDone = true;
        break;
      default:
        break;
    }
  }

  int FindWindow(Window w) const {
    for (size_t i = 0; i < mWindows.size(); ++i)
      if (mWindows[i]->mWindow == w) return static_cast<int>(i);
    return -1;
  }

  void SyncWindows() {
    const auto& levels = mNavigator.Levels();
    size_t keep = 0;
    while (keep < mWindows.size() && keep < levels.size() && mWindows[keep]->mMenu == levels[keep].mMenu &&
           mWindows[keep]->mX == levels[keep].mX && mWindows[keep]->mY == levels[keep].mY)
      ++keep;
    while (mWindows.size() > keep) DestroyLast();
    for (size_t i = keep; i < levels.size(); ++i) Create(levels[i]);
  }

  void Create(const PopupMenuNavigator::Level& level) {
    auto lw = std::make_unique<LevelWindow>();
    const int w = level.mLayout.Width(), h = level.mLayout.Height();
    if (!lw->mBitmap.resize(w, h)) return;
    XSetWindowAttributes attrs;
    unsigned long mask = mPresenter.FillWindowAttributes(&attrs);
    attrs.override_redirect = True;
    attrs.save_under = True;
    attrs.event_mask = ExposureMask;
    mask |= CWOverrideRedirect | CWSaveUnder | CWEventMask;
    lw->mWindow = XCreateWindow(mDisplay, RootWindow(mDisplay, mScreen), level.mX, level.mY,
                                static_cast<unsigned>(w), static_cast<unsigned>(h), 0, mPresenter.Depth(),
                                InputOutput, mPresenter.GetVisual(), mask, &attrs);
    lw->mGC = XCreateGC(mDisplay, lw->mWindow, 0, nullptr);
    lw->mMenu = level.mMenu;
    lw->mX = level.mX;
    lw->mY = level.mY;
    const Atom type = XInternAtom(mDisplay, "_NET_WM_WINDOW_TYPE", False);
    const Atom popup = XInternAtom(mDisplay, "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
    XChangeProperty(mDisplay, lw->mWindow, type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&popup), 1);
    XMapRaised(mDisplay, lw->mWindow);
    mWindows.push_back(std::move(lw));
  }

  void DestroyLast() {
    LevelWindow& lw = *mWindows.back();
    if (lw.mGC) XFreeGC(mDisplay, lw.mGC);
    if (lw.mWindow) XDestroyWindow(mDisplay, lw.mWindow);
    mWindows.pop_back();
  }

  void Paint(size_t i) {
    const auto& levels = mNavigator.Levels();
    if (i >= mWindows.size() || i >= levels.size()) return;
    LevelWindow& lw = *mWindows[i];
    PaintPopupMenu(&lw.mBitmap, mFont, levels[i], mMetrics);
    mPresenter.Put(lw.mWindow, lw.mGC, &lw.mBitmap, 0, 0, lw.mBitmap.getWidth(), lw.mBitmap.getHeight());
    XFlush(mDisplay);
  }

  Display* mDisplay;
  int mScreen;
  const X11Presenter& mPresenter;
  PIX_IFont* mFont;
  X11PopupMenu::Host& mHost;
  PopupMenuMetrics mMetrics;
  PopupMenuNavigator mNavigator;
  std::vector<std::unique_ptr<LevelWindow>> mWindows;
  bool mPointerGrabbed = false, mKeyboardGrabbed = false, mDone = false;
};
}  // namespace

IPopupMenu* X11PopupMenu::Run(Display* display, int screen, const X11Presenter& presenter, IPopupMenu* menu,
                              const IRECT& anchor, PIX_IFont* font, int tickMs, Host& host, double scale) {
  if (!display || !menu) return nullptr;
  Session session(display, screen, presenter, font, scale > 0.0 ? scale : 1.0, host);
  return session.Run(menu, anchor, tickMs > 0 ? tickMs : 40);
}
