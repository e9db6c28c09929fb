// The Linux window against a real X server (the test command runs under Xvfb; skipped without
// $DISPLAY): embedding under a parent, presenting the back buffer, synthetic input through
// XTest, the text entry and popup menu, the clipboard, and surviving hosts that misbehave.
// gtest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/IPopupMenu.h"
#include "graphics/platform/x11/IGraphicsLinux.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace {
long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A host UI loop in miniature: poll() on the watched descriptor plus one periodic timer.
class PollRunLoop : public IRunLoopBridge {
 public:
  bool WatchFD(int fd, Client* client) override {
    if (refuse) return false;
    mFD = fd;
    fdClient = client;
    return true;
  }
  bool StartTimer(int ms, Client* client) override {
    if (refuse) return false;
    interval = ms;
    timerClient = client;
    mNext = NowMs() + ms;
    return true;
  }
  void UnwatchFD(Client*) override { fdClient = nullptr; }
  void StopTimer(Client*) override { timerClient = nullptr; }

  bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    const long long deadline = NowMs() + timeoutMs;
    for (;;) {
      if (done()) return true;
      const long long now = NowMs();
      if (now >= deadline) return false;
      int wait = static_cast<int>(std::min<long long>(deadline - now, 10));
      if (fdClient) {
        pollfd p = {mFD, POLLIN, 0};
        if (poll(&p, 1, wait) > 0 && fdClient) fdClient->OnFDReady(mFD);
      } else {
        SleepMs(wait);
      }
      if (timerClient && NowMs() >= mNext) {
        mNext += interval;
        timerClient->OnTimer();
      }
    }
  }
  void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
  }

  bool refuse = false;
  int interval = 0;
  Client* fdClient = nullptr;
  Client* timerClient = nullptr;

 private:
  int mFD = -1;
  long long mNext = 0;
};

int OpenFDs() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

class X11Window : public ::testing::Test {
 protected:
  // Away from the top-left corner, where other test programs' windows tend to sit.
  static constexpr int kParentX = 800, kParentY = 700;

  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    // Pointer, keyboard and grabs belong to the whole server: test programs running side by side
    // (ctest -j) take turns on it.
    const std::string lockPath = std::string("/tmp/quorvane-x11-test") + std::getenv("DISPLAY") + ".lock";
    lockFD = open(lockPath.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0666);
    if (lockFD >= 0) flock(lockFD, LOCK_EX);
    // The server resets when its last client leaves, and refuses connections meanwhile.
    for (int i = 0; i < 100 && !(dpy = XOpenDisplay(nullptr)); ++i) SleepMs(20);
    ASSERT_NE(dpy, nullptr) << "cannot connect to " << std::getenv("DISPLAY");
    parent = MakeParent();
    plug.GetParam(0)->InitDouble("Gain", 1.0, -10.0, 10.0, 0.01);
    plug.GetParam(1)->InitEnum("Mode", 0, 3);
    for (int i = 0; i < 3; ++i) plug.GetParam(1)->SetDisplayText(i, std::string(1, char('A' + i)).c_str());
    gui = new IGraphicsLinux(&plug, 200, 100);
    gui->AttachPanelBackground(&COLOR_BLUE);
    probe = new WindowProbe(&plug, IRECT(20, 20, 80, 60), COLOR_RED);
    gui->AttachControl(probe);
    entry = new WindowProbe(&plug, IRECT(100, 20, 180, 40), COLOR_GREEN, 0);
    gui->AttachControl(entry);
    plug.AttachGraphics(gui);
    gui->SetHostRunLoop(&loop);
  }

  void TearDown() override {
    if (gui) gui->CloseWindow();
    if (dpy) {
      XDestroyWindow(dpy, parent);
      XCloseDisplay(dpy);
    }
    if (lockFD >= 0) close(lockFD);
  }

  Window MakeParent() {
    Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), kParentX, kParentY, 300, 200, 0, 0, 0);
    XMapRaised(dpy, w);
    XWindowAttributes a;
    do {
      XSync(dpy, False);
      XGetWindowAttributes(dpy, w, &a);
    } while (a.map_state != IsViewable);
    return w;
  }
  void* ParentId() const { return reinterpret_cast<void*>(parent); }

  unsigned long Pixel(int x, int y) {
    XSync(dpy, False);
    XImage* img = XGetImage(dpy, parent, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return 0xDEADBEEF;
    const unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
    XDestroyImage(img);
    return p;
  }

  // Editor coordinates: the editor sits at the parent's top-left.
  void MoveTo(int x, int y) { XTestFakeMotionEvent(dpy, -1, kParentX + x, kParentY + y, 0); }
  void Button(unsigned b, bool down) { XTestFakeButtonEvent(dpy, b, down, 0); }
  void Click(unsigned b) {
    Button(b, true);
    Button(b, false);
  }
  void Key(KeySym sym, bool down) { XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, sym), down, 0); }
  void Type(KeySym sym) {
    Key(sym, true);
    Key(sym, false);
  }
  bool WaitForEvents(size_t n) {
    XFlush(dpy);
    return loop.RunUntil([&] { return probe->events.size() >= n; }, 2000);
  }

  int lockFD = -1;
  Display* dpy = nullptr;
  Window parent = 0;
  PollRunLoop loop;  // outlives the plug-in, which closes the editor when it goes
  FakePlugin plug{EditorPlugOptions()};
  IGraphicsLinux* gui = nullptr;  // owned by the plug-in
  WindowProbe* probe = nullptr;
  WindowProbe* entry = nullptr;
};

TEST_F(X11Window, EmbedsPresentsTheBackBufferAndRepaintsDirtyControls) {
  EXPECT_STREQ(gui->GetGUIAPI(), "X11 GUI");
  void* w = gui->OpenWindow(ParentId());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(gui->GetWindow(), w);
  Window root = 0, up = 0, *children = nullptr;
  unsigned n = 0;
  XQueryTree(dpy, reinterpret_cast<Window>(w), &root, &up, &children, &n);
  if (children) XFree(children);
  EXPECT_EQ(up, parent);
  XWindowAttributes a;
  XGetWindowAttributes(dpy, reinterpret_cast<Window>(w), &a);
  EXPECT_EQ(a.width, 200);
  EXPECT_EQ(a.height, 100);
  EXPECT_TRUE(gui->WatchingFD());
  EXPECT_EQ(loop.interval, 40);

  EXPECT_TRUE(loop.RunUntil([&] { return Pixel(50, 40) == 0xFF0000 && Pixel(150, 80) == 0x0000FF; }, 2000));
  probe->colour = COLOR_GREEN;
  probe->SetDirty(false);
  EXPECT_TRUE(loop.RunUntil([&] { return Pixel(50, 40) == 0x00FF00; }, 2000));

  gui->CloseWindow();
  EXPECT_EQ(gui->GetWindow(), nullptr);
  EXPECT_EQ(loop.fdClient, nullptr);
  EXPECT_EQ(loop.timerClient, nullptr);
  IRECT all(0, 0, 200, 100);
  EXPECT_FALSE(gui->DrawScreen(&all));
}

TEST_F(X11Window, WithoutARunLoopPaintsOnceAndTakesUpALaterOne) {
  loop.refuse = true;
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  EXPECT_FALSE(gui->WatchingFD());
  EXPECT_FALSE(gui->TimerRunning());
  XSync(gui->GetDisplay(), False);
  EXPECT_EQ(Pixel(50, 40), 0xFF0000u);
  PollRunLoop later;
  gui->SetHostRunLoop(&later);
  EXPECT_TRUE(gui->WatchingFD() && gui->TimerRunning());
  gui->SetHostRunLoop(nullptr);
  EXPECT_EQ(later.fdClient, nullptr);
}

TEST_F(X11Window, PointerAndKeysReachTheEngine) {
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  loop.RunFor(100);
  MoveTo(30, 30);
  Button(1, true);
  MoveTo(40, 35);
  Button(1, false);
  ASSERT_TRUE(WaitForEvents(3));
  EXPECT_EQ(probe->events, (std::vector<std::string>{"down 30 30 L", "drag 40 35 L", "up 40 35 L"}));

  probe->events.clear();
  Click(1);
  Click(1);
  Click(3);
  Click(4);
  Click(5);
  Type(XK_q);
  Type(XK_5);
  Type(XK_minus);
  ASSERT_TRUE(WaitForEvents(10));
  loop.RunFor(100);
  EXPECT_EQ(probe->events, (std::vector<std::string>{"down 40 35 L", "up 40 35 L", "dbl 40 35 L",
                                                     "up 40 35 L", "down 40 35 R", "up 40 35 R", "wheel 1",
                                                     "wheel -1", "key 31", "key 10"}));

  probe->events.clear();
  SleepMs(450);  // no double click with the presses above
  Key(XK_Control_L, true);
  Click(1);
  Key(XK_Control_L, false);
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(probe->events[0], "down 40 35 L R");

  // A hidden cursor comes back where it was hidden.
  gui->HideMouseCursor();
  MoveTo(60, 50);
  XSync(dpy, False);
  gui->ShowMouseCursor();
  Window root = 0, child = 0;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned mask = 0;
  XSync(gui->GetDisplay(), False);
  XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
  EXPECT_EQ(rx, kParentX + 40);
  EXPECT_EQ(ry, kParentY + 35);
}

TEST_F(X11Window, TextEntryAppliesFilteredTypingAndCancelsOnEscapeOrClickOutside) {
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  IParam* gain = plug.GetParam(0);
  gui->PromptUserInput(entry, gain, entry->GetRECT());
  ASSERT_TRUE(gui->TextEntryOpen());
  // The field covers the control with the style's entry colours (white background).
  EXPECT_TRUE(loop.RunUntil([&] { return Pixel(175, 30) == 0xFFFFFF; }, 2000));
  gui->CreateTextEntry(probe, probe->GetText(), probe->GetRECT(), "x", nullptr);  // one at a time

  MoveTo(150, 30);
  for (KeySym k : {XK_a, XK_7, XK_period, XK_5, XK_Return}) Type(k);
  XFlush(dpy);
  ASSERT_TRUE(loop.RunUntil([&] { return !gui->TextEntryOpen(); }, 2000));
  EXPECT_DOUBLE_EQ(gain->GetValue(), 7.5);
  EXPECT_TRUE(probe->events.empty());

  gui->PromptUserInput(entry, gain, entry->GetRECT());
  Type(XK_3);
  Type(XK_Escape);
  XFlush(dpy);
  ASSERT_TRUE(loop.RunUntil([&] { return !gui->TextEntryOpen(); }, 2000));
  gui->PromptUserInput(entry, gain, entry->GetRECT());
  Type(XK_3);
  MoveTo(30, 30);
  Click(1);
  ASSERT_TRUE(WaitForEvents(2));
  EXPECT_FALSE(gui->TextEntryOpen());
  EXPECT_DOUBLE_EQ(gain->GetValue(), 7.5);

  gui->PromptUserInput(entry, gain, entry->GetRECT());
  gui->ForceEndUserEdit();
  EXPECT_FALSE(gui->TextEntryOpen());

  // Resizing deletes every control, the prompt's too: the prompt goes first.
  gui->PromptUserInput(entry, gain, entry->GetRECT());
  gui->Resize(240, 120);
  EXPECT_FALSE(gui->TextEntryOpen());
  XWindowAttributes a;
  XSync(gui->GetDisplay(), False);
  XGetWindowAttributes(dpy, reinterpret_cast<Window>(gui->GetWindow()), &a);
  EXPECT_EQ(a.width, 240);
  probe = entry = nullptr;
}

void TypeOn(Display* d, std::initializer_list<KeySym> keys) {
  for (KeySym k : keys) {
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), True, 0);
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), False, 0);
  }
  XFlush(d);
}

void ClickOn(Display* d, int rootX, int rootY) {
  XTestFakeMotionEvent(d, -1, rootX, rootY, 0);
  XTestFakeButtonEvent(d, 1, True, 0);
  XTestFakeButtonEvent(d, 1, False, 0);
  XFlush(d);
}

// Plays the user of a modal menu from a connection of its own: waits until the menu holds the
// keyboard, then acts. A menu still up 3 s later is clicked away, so a lost event fails the test
// instead of hanging it.
class MenuUser {
 public:
  explicit MenuUser(std::function<void(Display*)> act) : mThread([this, act] { Run(act); }) {}
  ~MenuUser() { Finish(); }
  void Finish() {
    mDone = true;
    if (mThread.joinable()) mThread.join();
  }

 private:
  static bool MenuHoldsKeyboard(Display* d) {
    const int r = XGrabKeyboard(d, DefaultRootWindow(d), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (r == GrabSuccess) XUngrabKeyboard(d, CurrentTime);
    XSync(d, False);
    return r == AlreadyGrabbed;
  }
  void Run(const std::function<void(Display*)>& act) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    for (long long end = NowMs() + 5000; !MenuHoldsKeyboard(d) && NowMs() < end;) SleepMs(10);
    act(d);
    for (long long end = NowMs() + 3000; !mDone && NowMs() < end;) SleepMs(10);
    if (!mDone) ClickOn(d, 1270, 1010);
    XCloseDisplay(d);
  }

  std::atomic<bool> mDone{false};
  std::thread mThread;
};

TEST_F(X11Window, PopupMenuIsModalChosenByKeysAndDismissedByAClickOutside) {
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  loop.RunFor(50);
  IPopupMenu menu;
  menu.AddItem("One");
  menu.AddItem("Two");
  menu.AddItem("Three");
  IRECT anchor(20, 20, 80, 40);

  std::atomic<unsigned long> menuPixel{0};
  MenuUser user([&](Display* d) {
    // The menu opens 4 pixels below the anchor; inside its frame the background shows.
    for (long long end = NowMs() + 2000; menuPixel != 0xF2F2F2 && NowMs() < end; SleepMs(10)) {
      if (XImage* img =
              XGetImage(d, DefaultRootWindow(d), kParentX + 25, kParentY + 45, 1, 1, AllPlanes, ZPixmap)) {
        menuPixel = XGetPixel(img, 0, 0) & 0xFFFFFF;
        XDestroyImage(img);
      }
    }
    TypeOn(d, {XK_Down, XK_Down, XK_Return});
  });
  IPopupMenu* chosen = gui->CreateIPopupMenu(&menu, &anchor);
  user.Finish();
  EXPECT_EQ(chosen, &menu);
  EXPECT_EQ(menu.GetChosenItemIdx(), 1);
  EXPECT_EQ(menuPixel.load(), 0xF2F2F2u);

  MenuUser clicker([](Display* d) { ClickOn(d, 1200, 1000); });
  EXPECT_EQ(gui->CreateIPopupMenu(&menu, &anchor), nullptr);
  clicker.Finish();
  // The grabs are gone: this client can take the pointer.
  EXPECT_EQ(XGrabPointer(dpy, parent, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
            GrabSuccess);
  XUngrabPointer(dpy, CurrentTime);
}

TEST_F(X11Window, EnumPromptChoosesThroughTheMenu) {
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  MenuUser user([](Display* d) { TypeOn(d, {XK_Up, XK_Return}); });
  gui->PromptUserInput(entry, plug.GetParam(1), entry->GetRECT());
  user.Finish();
  // Up from no highlight wraps to the last item.
  EXPECT_DOUBLE_EQ(entry->GetValue(), plug.GetParam(1)->GetNormalized(2));
}

TEST_F(X11Window, ClipboardTextWithABoundedWait) {
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  std::atomic<bool> owned{false};
  std::thread owner([&] {
    Display* d = XOpenDisplay(nullptr);
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    XSetSelectionOwner(d, clipboard, w, CurrentTime);
    XSync(d, False);
    owned = true;
    const long long deadline = NowMs() + 2000;
    bool served = false;
    while (!served && NowMs() < deadline) {
      if (!XPending(d)) {
        SleepMs(5);
        continue;
      }
      XEvent e;
      XNextEvent(d, &e);
      if (e.type != SelectionRequest) continue;
      const XSelectionRequestEvent& rq = e.xselectionrequest;
      const char text[] = "gain 7,5 \xC3\xA9";
      XChangeProperty(d, rq.requestor, rq.property, rq.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(text), static_cast<int>(std::strlen(text)));
      XEvent reply = {};
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = rq.requestor;
      reply.xselection.selection = rq.selection;
      reply.xselection.target = rq.target;
      reply.xselection.property = rq.property;
      reply.xselection.time = rq.time;
      XSendEvent(d, rq.requestor, False, 0, &reply);
      XFlush(d);
      served = true;
    }
    XCloseDisplay(d);
  });
  while (!owned) SleepMs(5);
  StrBuf text;
  EXPECT_TRUE(gui->GetTextFromClipboard(&text));
  EXPECT_STREQ(text.Get(), "gain 7,5 \xC3\xA9");
  owner.join();

  // An owner that never answers costs at most the bounded wait.
  Window silent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(dpy, XInternAtom(dpy, "CLIPBOARD", False), silent, CurrentTime);
  XSync(dpy, False);
  const long long start = NowMs();
  EXPECT_FALSE(gui->GetTextFromClipboard(&text));
  EXPECT_LT(NowMs() - start, 1000);
  EXPECT_STREQ(text.Get(), "");
  XDestroyWindow(dpy, silent);
}

TEST_F(X11Window, ReopensManyTimesWithoutLeakingAndSurvivesItsParentsDestruction) {
  const int fds = OpenFDs();
  for (int i = 0; i < 20; ++i) {
    ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
    if (i % 2) {
      ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);  // open while open replaces
    }
    gui->CloseWindow();
    gui->CloseWindow();
  }
  EXPECT_EQ(OpenFDs(), fds);
  EXPECT_EQ(loop.fdClient, nullptr);

  // The host destroys its window first: once with our event seen, once drawn to and closed
  // straight away (X errors that would end the process under the default handler).
  IRECT all(0, 0, 200, 100);
  for (bool drain : {true, false}) {
    ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
    gui->PromptUserInput(entry, plug.GetParam(0), entry->GetRECT());
    XDestroyWindow(dpy, parent);
    XSync(dpy, False);
    probe->SetDirty(false);
    if (drain)
      loop.RunFor(100);
    else
      gui->DrawScreen(&all);
    gui->CloseWindow();
    parent = MakeParent();
  }
  EXPECT_EQ(gui->OpenWindow(reinterpret_cast<void*>(0x7FFFFFFFul)), nullptr);
  ASSERT_NE(gui->OpenWindow(ParentId()), nullptr);
  loop.RunFor(50);
  // A new editor replaces this one, which is destroyed while open.
  plug.AttachGraphics(new IGraphicsLinux(&plug, 10, 10));
  gui = nullptr;
  EXPECT_EQ(loop.fdClient, nullptr);
  EXPECT_EQ(OpenFDs(), fds);
}

TEST_F(X11Window, NoDisplayMeansNoWindowAndNoCrash) {
  const std::string saved = std::getenv("DISPLAY");
  setenv("DISPLAY", ":4242", 1);
  EXPECT_EQ(gui->OpenWindow(ParentId()), nullptr);
  EXPECT_EQ(gui->GetWindow(), nullptr);
  IPopupMenu menu;
  menu.AddItem("x");
  IRECT r(0, 0, 10, 10);
  EXPECT_EQ(gui->CreateIPopupMenu(&menu, &r), nullptr);
  setenv("DISPLAY", saved.c_str(), 1);
}
}  // namespace
